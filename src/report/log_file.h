#pragma once

#include <cstddef>
#include <string>

#include "platform/clock_service.h"
#include "platform/file_service.h"
#include "probe/module1.h"

namespace volumetra {

/// The columns of the log line's zones: every field starts at column 1, 15, 29, 43 ...
inline constexpr std::size_t kLogZoneWidth = 14;

/// One log line: date, time, root path and free MB (in the general number form), each field
/// starting at the next 14-column zone with at least one space before it, ended by CR LF:
/// "2026-12-08    10:00:00      C:\            1234.5 \r\n".
std::string LogLine(const std::string& date, const std::string& time, const std::string& rootPath,
                    double freeMB, const std::string& decimalSeparator);

/// Appends the log line of drive position `position` (1 to 30) to the file ReportFileDir +
/// ReportFileName. The file is opened and closed for this one line, which lands whole or not at
/// all. A failure is kept in `logError` ("<path>: <reason>") and the program goes on; a success
/// clears it.
void AppendLogLine(const Module1& m, ClockService& clock, FileService& files, int position,
                   std::string& logError);

}  // namespace volumetra

#pragma once

#include <cstdint>
#include <string>

namespace volumetra {

/// The main window's status line: "Testloop No. ", the cycle count, 26 spaces, the date, 3 spaces
/// and the time. While the log file cannot be written (`logError` not empty) the 26 spaces give
/// way to the failure, so the user sees it next to the count: "Testloop No. 7   Log file not
/// written: <logError>   <date>   <time>".
std::string StatusLine(std::int32_t loopCount, const std::string& date, const std::string& time,
                       const std::string& logError);

}  // namespace volumetra

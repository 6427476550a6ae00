#pragma once

#include <cstdint>
#include <string>

namespace volumetra {

/// The main window's status line: "Testloop No. ", the cycle count, 26 spaces, the date, 3 spaces
/// and the time. Failures the user should see take the place of the 26 spaces, next to the count:
/// "Testloop No. 7   Settings not saved: <settingsError>   Log file not written: <logError>
/// <date>   <time>", each only while its text is not empty.
std::string StatusLine(std::int32_t loopCount, const std::string& date, const std::string& time,
                       const std::string& settingsError, const std::string& logError);

}  // namespace volumetra

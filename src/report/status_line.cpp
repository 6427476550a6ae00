#include "report/status_line.h"

#include "report/number_formats.h"

namespace volumetra {

std::string StatusLine(std::int32_t loopCount, const std::string& date, const std::string& time,
                       const std::string& settingsError, const std::string& logError) {
  std::string gap = "   ";
  if (!settingsError.empty()) gap += "Settings not saved: " + settingsError + "   ";
  if (!logError.empty()) gap += "Log file not written: " + logError + "   ";
  if (gap.size() == 3) gap = std::string(26, ' ');
  return "Testloop No. " + FormatDecimal(loopCount) + gap + date + "   " + time;
}

}  // namespace volumetra

#include "report/status_line.h"

#include "report/number_formats.h"

namespace volumetra {

std::string StatusLine(std::int32_t loopCount, const std::string& date, const std::string& time,
                       const std::string& logError) {
  const std::string gap =
      logError.empty() ? std::string(26, ' ') : "   Log file not written: " + logError + "   ";
  return "Testloop No. " + FormatDecimal(loopCount) + gap + date + "   " + time;
}

}  // namespace volumetra

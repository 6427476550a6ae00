#include "report/log_file.h"

#include "report/number_formats.h"

namespace volumetra {
namespace {

/// Pads `line` with spaces to the start of the next zone, leaving at least one space.
void PadToNextZone(std::string& line) {
  const std::size_t next = (line.size() / kLogZoneWidth + 1) * kLogZoneWidth;
  line.append(next - line.size(), ' ');
}

}  // namespace

std::string LogLine(const std::string& date, const std::string& time, const std::string& rootPath,
                    double freeMB, const std::string& decimalSeparator) {
  std::string line = date;
  for (const std::string* field : {&time, &rootPath}) {
    PadToNextZone(line);
    line += *field;
  }
  PadToNextZone(line);
  line += FormatGeneral(freeMB, decimalSeparator);
  line += "\r\n";
  return line;
}

void AppendLogLine(const Module1& m, ClockService& clock, FileService& files, int position,
                   std::string& logError) {
  const DriveRec& d = m.DriveRecs[static_cast<std::size_t>(position)];
  const std::string path = m.ReportFileDir + m.ReportFileName;
  const LocalDateTime now = clock.Now();
  const std::string line =
      LogLine(clock.ShortDate(now), clock.LongTime(now), d.RootPath, d.FreeMB, clock.DecimalSeparator());
  std::string error;
  if (files.AppendLine(path, line, error)) {
    logError.clear();
  } else {
    logError = path + ": " + error;
  }
}

}  // namespace volumetra

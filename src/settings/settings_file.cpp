// Stand-in until the settings file is built: the defaults of every key.
#include "settings/settings_file.h"

#include "app/program.h"

namespace volumetra {

void ReadIniValue(Program&, std::string&, std::string&, std::string&, std::string& result) { result.clear(); }
void WriteIniValue(Program&, std::string&, std::string&, std::string&, std::string&, std::int16_t& result) {
  result = 0;
}

void LoadSettings(Program& program) {
  Module1& m = program.m;
  m.Window2XPos = 6650;
  m.Window2YPos = 230;
  m.Window2Width = 5310;
  m.Language = "English";
  m.ReportFileDir = program.os.files.CurrentDirectory();
  m.ReportFileName = "LOG.TXT";
  m.ShowGraph = true;
  m.LinkGraph = true;
}

void SaveSettings(Program&) {}

}  // namespace volumetra

// The text boxes of the options dialog: log directory, alarm value and log file name.
#include "app/program.h"
#include "settings/setting_conversions.h"
#include "windows/form3.h"
#include "windows/form3_input.h"

namespace volumetra {

void Form3::Text1_Change() {
  FileService& files = program_.os.files;
  const char separator = files.PathSeparator();
  const std::string text = WithoutLineBreaks(Text1.text());
  // Two characters or fewer (a drive letter and a colon) stand for the current directory. The
  // separator is added only when missing, so the root directory does not get a doubled one.
  std::string directory = CharacterCount(text) <= 2 ? files.CurrentDirectory() : text;
  if (directory.empty() || directory.back() != separator) directory += separator;
  program_.m.ReportFileDir = directory;
}

void Form3::Text2_Change() {
  program_.m.AlarmLimit = ThousandfoldClamped(ReadLenientNumber(Text2.text()));
}

void Form3::Text3_Change() {
  Module1& m = program_.m;
  const std::string name = WithoutLineBreaks(Text3.text());
  // A name of 13 characters or more is refused: the box shows the last accepted name again.
  if (CharacterCount(name) >= 13) {
    Text3.setText(m.ReportFileName);
    return;
  }
  m.ReportFileName = name;
}

}  // namespace volumetra

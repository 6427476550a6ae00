// The text boxes of the options dialog: log directory, alarm value and log file name.
#include "app/program.h"
#include "settings/setting_conversions.h"
#include "windows/form3.h"
#include "windows/form3_input.h"

namespace volumetra {

namespace {

// The settings file gives back 254 characters of a value: the directory with its separator.
constexpr std::size_t kStorableDirectory = 254;

}  // namespace

void Form3::Text1_Change() {
  FileService& files = program_.os.files;
  const char separator = files.PathSeparator();
  const std::string text = WithoutLineBreaks(Text1.text());
  // A directory the settings file could not give back whole is refused, as the name box refuses a
  // 13th character: the box shows the last accepted text again.
  const bool endsInSeparator = !text.empty() && text.back() == separator;
  if (text.size() + (endsInSeparator ? 0 : 1) > kStorableDirectory) {
    Text1.setText(acceptedDirectoryText_);
    return;
  }
  acceptedDirectoryText_ = Text1.text();
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

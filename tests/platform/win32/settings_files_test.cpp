// The program on the Windows file service and its real files, with scripted drives and a virtual
// clock: a settings file saved as "Unicode" by Notepad, settings and log lines in a directory
// beyond the ANSI code page, and a settings file that cannot be saved.
#include <gtest/gtest.h>

#include <thread>

#include "app/form1.h"
#include "platform/ini_encoding.h"
#include "platform/win32/unsaved_settings.h"
#include "platform/win32/wide_files.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_machine.h"
#include "platform/win32/windows_api.h"
#include "windows/form3.h"

namespace volumetra {
namespace {

using ini_file::TextEncoding;

// `text` (UTF-8, "\n" line ends) as Notepad saves it as "Unicode": UTF-16 LE with a mark, CR LF.
std::string NotepadUnicode(std::string text) {
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
    text.insert(at, "\r");
  TextEncoding encoding = TextEncoding::Utf16Le;
  return ini_file::EncodeText(text, encoding);
}

class SettingsFilesTest : public ::testing::Test {
 protected:
  SettingsFilesTest() {
    EXPECT_TRUE(MakeDirectories(directory));
    machine.volumes.add('C', 40000, 10000, "SYSTEM");
    machine.volumes.add('D', 2000, 1500, "DATA");
  }
  // The program makes its directory current, which keeps it from being removed.
  ~SettingsFilesTest() override { SetCurrentDirectoryW(Wide(startDirectory).c_str()); }

  Program& program() { return *machine.program; }
  Form1& form1() { return program().form1(); }
  void click(const Form& form, const Control& control) {
    SendMessageA(machine.windowOf(form, control), BM_CLICK, 0, 0);
    machine.process();
  }
  void advance(std::int64_t milliseconds) {
    machine.advance(milliseconds);
    machine.process();
  }
  void end() {
    program().Unload(form1());
    ASSERT_TRUE(program().Ended());
  }

  const std::string startDirectory = Win32Files().CurrentDirectory();
  TempDir dir;
  const std::string directory = dir.str() + "\\" + kPhotosFolder;
  const std::string ini = directory + "\\volumetra.ini";
  Win32Files files{directory + "\\volumetra.exe", dir.str()};
  Win32Machine machine{96, &files};
};

TEST_F(SettingsFilesTest, AUnicodeSettingsFileIsUsedAndSavedBackAsUnicodeWithTheLogBesideIt) {
  ASSERT_TRUE(WriteBytes(ini, NotepadUnicode("; saved by Notepad as Unicode\n[System]\nLanguage=Deutsch\n"
                                             "ReportFileDir=" +
                                             directory + "\nEnableBarGraph=False\n")));
  machine.start();
  Module1& m = program().m;
  EXPECT_EQ(m.Language, "Deutsch");
  EXPECT_EQ(m.ReportFileDir, directory + "\\");  // the options dialog adds the "\"
  EXPECT_FALSE(m.ShowGraph);

  // Logging on, every second, as the user sets it in the options dialog.
  click(form1(), form1().Command4);
  Form3& options = program().form3();
  click(options, options.Check1);
  click(options, options.Check6);
  ASSERT_TRUE(m.LoggingOn);
  advance(2500);
  const std::string log = ReadBytes(directory + "\\LOG.TXT");
  EXPECT_NE(log.find("C:\\"), std::string::npos) << log;
  EXPECT_NE(log.find("D:\\"), std::string::npos) << log;
  EXPECT_TRUE(log.ends_with(" \r\n")) << log;

  form1().setLeft(1500);
  end();
  const std::string saved = ReadBytes(ini);
  const ini_file::DecodedText text = ini_file::DecodeText(saved);
  EXPECT_EQ(text.encoding, TextEncoding::Utf16Le);
  EXPECT_TRUE(text.utf8.starts_with("; saved by Notepad as Unicode\r\n[System]\r\nLanguage=Deutsch\r\n"))
      << text.utf8;
  EXPECT_EQ(text.utf8.find("\r\n\r\n"), std::string::npos) << text.utf8;
  std::size_t lines = 0;
  for (std::size_t at = text.utf8.find('\n'); at != std::string::npos; at = text.utf8.find('\n', at + 1)) {
    EXPECT_EQ(text.utf8[at - 1], '\r') << "a line without CR in\n" << text.utf8;
    ++lines;
  }
  EXPECT_EQ(lines, 15u);  // the comment, the section and thirteen keys
  // The system's own profile function reads what was saved.
  EXPECT_EQ(SystemProfileValue("System", "ReportFileDir", ini), directory + "\\");
  EXPECT_EQ(SystemProfileValue("System", "Window1XPos", ini), "1500");
  EXPECT_EQ(SystemProfileValue("System", "EnableBarGraph", ini), "False");
  EXPECT_EQ(SystemProfileValue("System", "LinkGraphToMainWindow", ini), "True");
}

TEST_F(SettingsFilesTest, ALogDirectoryTheCodePageCannotHoldSurvivesTheNextRun) {
  machine.start();
  program().m.ReportFileDir = directory + "\\";
  end();
  // The new file takes the path whole: as UTF-16, since code page 1252 lacks two of its characters.
  EXPECT_EQ(ini_file::DecodeText(ReadBytes(ini)).encoding, TextEncoding::Utf16Le);
  EXPECT_EQ(SystemProfileValue("System", "ReportFileDir", ini), directory + "\\");

  Win32Machine next{96, &files};
  next.volumes.add('C', 40000, 10000, "SYSTEM");
  next.start();
  EXPECT_EQ(next.program->m.ReportFileDir, directory + "\\");
  next.program->Unload(next.program->form1());
}

TEST_F(SettingsFilesTest, ASettingsFileThatCannotBeSavedIsSaidOnTheStatusLine) {
  const std::string before = "[System]\r\nWindow1XPos=120\r\n";
  ASSERT_TRUE(WriteBytes(ini, before));
  ASSERT_TRUE(SetFileAttributesW(Wide(ini).c_str(), FILE_ATTRIBUTE_READONLY));
  machine.start();
  EXPECT_EQ(form1().left(), 120);  // read all the same
  advance(1000);
  EXPECT_EQ(program().settingsState.SettingsError, ini + ": read-only file");
  const std::string status = TextOf(machine.windowOf(form1(), form1().StatusBar1));
  EXPECT_NE(status.find("Settings not saved: "), std::string::npos) << status;
  EXPECT_NE(status.find("volumetra.ini: read-only file"), std::string::npos) << status;
  form1().setLeft(1500);
  end();
  EXPECT_EQ(ReadBytes(ini), before);
  EXPECT_EQ(program().settingsState.SettingsSaveError, ini + ": read-only file");
  SetFileAttributesW(Wide(ini).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The box a user who closed the program meets when the save failed: found and read as a person
// reads it, then closed with its OK button. At the session's end there is no box.
TEST_F(SettingsFilesTest, ASaveThatFailedIsToldInABoxOnlyWhenTheUserClosedTheProgram) {
  ASSERT_TRUE(WriteBytes(ini, "[System]\r\nLanguage=Deutsch\r\n"));
  ASSERT_TRUE(SetFileAttributesW(Wide(ini).c_str(), FILE_ATTRIBUTE_READONLY));
  machine.start();
  end();
  SetFileAttributesW(Wide(ini).c_str(), FILE_ATTRIBUTE_NORMAL);

  std::wstring shown;
  std::thread reader([&shown] {
    for (int tries = 0; tries < 500 && shown.empty(); ++tries) {
      if (HWND box = FindWindowW(L"#32770", L"Volumetra")) {
        wchar_t text[1024] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 1024);  // the box's message static
        shown = text;
        SendMessageW(box, WM_COMMAND, IDOK, 0);
      }
      Sleep(10);
    }
  });
  TellUnsavedSettings(program().m.Language, program().settingsState.SettingsSaveError, true);
  reader.join();
  const std::string text = Utf8(shown);
  EXPECT_NE(text.find("Einstellungen nicht gespeichert: " + ini + ": read-only file"), std::string::npos)
      << text;

  // A box here would wait for a click that never comes: the call returns only without one.
  TellUnsavedSettings(program().m.Language, program().settingsState.SettingsSaveError, false);
  EXPECT_EQ(FindWindowW(L"#32770", L"Volumetra"), nullptr);
}

}  // namespace
}  // namespace volumetra

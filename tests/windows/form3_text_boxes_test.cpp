#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>

#include "app/form1.h"
#include "support/fake_machine.h"
#include "windows/form3.h"

namespace volumetra {
namespace {

struct Form3TextBoxesTest : ::testing::Test {
  FakeMachine machine;
  Program& p = *machine.program;
  Form3* options = nullptr;
  void SetUp() override {
    machine.start();
    options = &p.form3();
  }
};

TEST_F(Form3TextBoxesTest, StartUpGivesTheDirectoryATrailingSeparator) {
  EXPECT_EQ(options->Text1.text(), machine.dir.str());
  EXPECT_EQ(p.m.ReportFileDir, machine.dir.str() + "/");
  EXPECT_EQ(options->Text3.text(), "LOG.TXT");
}

TEST_F(Form3TextBoxesTest, TwoCharactersStandForTheCurrentDirectory) {
  const std::string current = machine.files.CurrentDirectory();
  options->Text1.Type("D:");
  EXPECT_EQ(p.m.ReportFileDir, current + "/");
  EXPECT_EQ(options->Text1.text(), "D:");  // the box is left as typed
  options->Text1.Type("");
  EXPECT_EQ(p.m.ReportFileDir, current + "/");
  options->Text1.Type("D:x");
  EXPECT_EQ(p.m.ReportFileDir, "D:x/");
  options->Text1.Type("/var/log/");
  EXPECT_EQ(p.m.ReportFileDir, "/var/log/");
}

TEST_F(Form3TextBoxesTest, ADirectoryTheSettingsFileCannotGiveBackIsRefused) {
  const std::string fits = "/" + std::string(252, 'd');  // 253 characters and the separator
  options->Text1.Type(fits);
  EXPECT_EQ(p.m.ReportFileDir, fits + "/");
  options->Text1.Type("/" + std::string(329, 'd'));
  EXPECT_EQ(options->Text1.text(), fits);  // the box shows the last accepted text again
  EXPECT_EQ(p.m.ReportFileDir, fits + "/");
  options->Text1.Type(fits + "d");  // 254 characters leave no room for the separator
  EXPECT_EQ(p.m.ReportFileDir, fits + "/");
  options->Text1.Type(fits + "/");  // ... unless they end in it
  EXPECT_EQ(p.m.ReportFileDir, fits + "/");
  EXPECT_EQ(options->Text1.text(), fits + "/");

  // What is accepted is saved and read back whole.
  p.Unload(p.form1());
  FakeMachine next;
  std::filesystem::copy_file(machine.iniPath(), next.iniPath());
  Program& again = next.start();
  EXPECT_EQ(again.m.ReportFileDir, fits + "/");
}

TEST_F(Form3TextBoxesTest, CurrentRootDirectoryGetsNoSecondSeparator) {
  ASSERT_TRUE(machine.files.SetCurrentDirectory("/"));
  options->Text1.Type("D:");
  EXPECT_EQ(p.m.ReportFileDir, "/");
}

TEST_F(Form3TextBoxesTest, LineBreaksNeverReachTheDirectoryOrTheName) {
  options->Text1.Type("/var/log\r\n");
  EXPECT_EQ(p.m.ReportFileDir, "/var/log/");
  options->Text1.Type("/var\nlog");
  EXPECT_EQ(p.m.ReportFileDir, "/varlog/");
  options->Text1.Type("\r\n\r\n");  // nothing left but line breaks: the current directory
  EXPECT_EQ(p.m.ReportFileDir, machine.files.CurrentDirectory() + "/");

  options->Text3.Type("DISK\r\n.LOG");
  EXPECT_EQ(p.m.ReportFileName, "DISK.LOG");
}

TEST_F(Form3TextBoxesTest, FileNameOfThirteenCharactersIsRefused) {
  options->Text3.Type("ABCDEFGH.TXT");
  EXPECT_EQ(p.m.ReportFileName, "ABCDEFGH.TXT");
  options->Text3.Type("ABCDEFGHI.TXT");
  EXPECT_EQ(options->Text3.text(), "ABCDEFGH.TXT");
  EXPECT_EQ(p.m.ReportFileName, "ABCDEFGH.TXT");
  // Characters, not bytes: twelve umlauts and letters fit.
  options->Text3.Type("ÄÖÜäöüßÄ.TXT");
  EXPECT_EQ(p.m.ReportFileName, "ÄÖÜäöüßÄ.TXT");
}

TEST_F(Form3TextBoxesTest, AlarmValueIsTheLeadingNumberInThousands) {
  const struct {
    const char* text;
    std::int32_t limit;
  } cases[] = {
      {"2.5", 2500},   {"abc", 0},  {"", 0},  {" 1 2.5 MB", 12500}, {"7.25.3", 7250}, {"-3", -3000},
      {"+4", 4000},    {".5", 500}, {"-", 0}, {"1,5", 1000},        {"0.0001", 0},    {"12abc3", 12000},
      {"100", 100000},
  };
  for (const auto& c : cases) {
    options->Text2.Type(c.text);
    EXPECT_EQ(p.m.AlarmLimit, c.limit) << '"' << c.text << '"';
  }
}

TEST_F(Form3TextBoxesTest, AlarmValueBeyondTheIntegerRangeIsClamped) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  const struct {
    std::string text;
    std::int32_t limit;
  } cases[] = {
      {"2147483.647", kMax},
      {"2147483.646", kMax - 1},
      {"2147483.648", kMax},
      {"99999999", kMax},
      {"-99999999", kMin},
      {std::string(400, '9'), kMax},
      {"-" + std::string(400, '9'), kMin},
      {"0." + std::string(400, '0') + "1", 0},
  };
  for (const auto& c : cases) {
    options->Text2.Type(c.text);
    EXPECT_EQ(p.m.AlarmLimit, c.limit) << c.text.substr(0, 20);
  }
}

}  // namespace
}  // namespace volumetra

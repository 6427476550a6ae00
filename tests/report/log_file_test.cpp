#include "report/log_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "report/report_fixture.h"

namespace volumetra {
namespace {

TEST(LogLine, FieldsStartAtFourteenColumnZones) {
  EXPECT_EQ(LogLine("2026-12-08", "10:00:00", "C:\\", 1234.5, "."),
            "2026-12-08    10:00:00      C:\\            1234.5 \r\n");
  EXPECT_EQ(LogLine("08.12.2026", "17:15:44", "D:\\", -3, ","),
            "08.12.2026    17:15:44      D:\\           -3 \r\n");
  // A field that fills its zone, or overruns it, still leaves a space before the next one.
  EXPECT_EQ(LogLine("12345678901234", "5:15:44 PM", "E:\\", 0.25, ","),
            "12345678901234              5:15:44 PM    E:\\            0,25 \r\n");
  EXPECT_EQ(LogLine("1234567890123", "t", "F:\\", 1, ".").substr(0, 16), "1234567890123 t ");
}

class LogFile : public ReportCycleTest {
 protected:
  void SetUp() override {
    m.DriveLetters.clear();
    addDrive('C', 10, 1234.5);
    addDrive('D', 20, 0);
    addDrive('E', 30, 0.25);
    m.LoggingOn = true;
  }
  std::string logText() const { return FakeMachine::read(logPath()); }
  static std::string normalStatus(int count) {
    return "Testloop No. " + std::to_string(count) + std::string(26, ' ') + "2026-12-08   10:00:00";
  }
};

const char* const kBlock =
    "2026-12-08    10:00:00      C:\\            1234.5 \r\n"
    "2026-12-08    10:00:00      D:\\            0 \r\n"
    "2026-12-08    10:00:00      E:\\            0.25 \r\n";

TEST_F(LogFile, OneDueTickWritesOneLinePerDriveInOrder) {
  m.LogDue = true;
  cycle();
  EXPECT_EQ(logText(), kBlock);
  EXPECT_FALSE(m.LogDue);
  cycle();
  EXPECT_EQ(logText(), kBlock);
  EXPECT_EQ(machine.files.appendCalls, 3);
}

TEST_F(LogFile, NotDueLeavesTheFileAlone) {
  cycle();
  EXPECT_EQ(machine.files.appendCalls, 0);
  EXPECT_FALSE(std::filesystem::exists(logPath()));
}

TEST_F(LogFile, ExistingContentIsKept) {
  std::ofstream(logPath(), std::ios::binary) << "earlier line\r\n";
  m.LogDue = true;
  cycle();
  EXPECT_EQ(logText(), std::string("earlier line\r\n") + kBlock);
}

TEST_F(LogFile, FailedWriteShowsInTheStatusLineUntilAWriteSucceeds) {
  std::ofstream(logPath(), std::ios::binary) << "earlier line\r\n";
  machine.files.failingPaths.insert(logPath());
  m.LogDue = true;
  cycle();
  const std::string failure = logPath() + ": No space left on device";
  EXPECT_EQ(program.reportState.LogError, failure);
  EXPECT_EQ(status(), "Testloop No. 1   Log file not written: " + failure + "   2026-12-08   10:00:00");
  EXPECT_EQ(f1.Label6[2]->caption(), "  250 000");  // the survey goes on
  EXPECT_EQ(logText(), "earlier line\r\n");

  cycle();  // no write due: the failure stays in view
  EXPECT_EQ(status(), "Testloop No. 2   Log file not written: " + failure + "   2026-12-08   10:00:00");

  machine.files.failingPaths.clear();
  m.LogDue = true;
  cycle();  // each due write tries again
  EXPECT_EQ(program.reportState.LogError, "");
  EXPECT_EQ(status(), normalStatus(3));
  EXPECT_EQ(logText(), std::string("earlier line\r\n") + kBlock);
}

TEST_F(LogFile, MissingDirectoryIsReportedAndRecovers) {
  m.ReportFileDir = machine.dir.str() + "/missing/";
  m.LogDue = true;
  cycle();
  EXPECT_NE(program.reportState.LogError.find(logPath()), std::string::npos);
  EXPECT_NE(status().find("Log file not written: " + logPath()), std::string::npos);
  EXPECT_EQ(machine.files.appendCalls, 3);  // every line was tried

  std::filesystem::create_directory(machine.dir.path() / "missing");
  m.LogDue = true;
  cycle();
  EXPECT_EQ(status(), normalStatus(2));
  EXPECT_EQ(logText(), kBlock);
}

TEST_F(LogFile, SwitchingLoggingOffDismissesTheFailure) {
  machine.files.failingPaths.insert(logPath());
  m.LogDue = true;
  cycle();
  ASSERT_NE(status().find("Log file not written"), std::string::npos);
  m.LoggingOn = false;
  cycle();
  EXPECT_EQ(status(), normalStatus(2));
}

}  // namespace
}  // namespace volumetra

#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/form1.h"
#include "app/report_on_forms.h"
#include "support/fake_machine.h"
#include "windows/form2.h"

namespace volumetra {

/// A started program whose drive records a test fills by hand before it runs report cycles
/// directly; no timer runs unless the test advances the clock.
class ReportCycleTest : public ::testing::Test {
 protected:
  ReportCycleTest() : program(machine.start()), m(program.m), f1(program.form1()), f2(program.form2()) {
    m.ShowGraph = true;
    m.GraphScale = 250;
    m.ReportFileDir = machine.dir.str() + "/";
    m.ReportFileName = "LOG.TXT";
  }

  /// Lists `letter` as the next drive with the given record values.
  DriveRec& addDrive(char letter, double totalGB, double freeMB, const std::string& type = "HD/NTFS") {
    m.DriveLetters += letter;
    DriveRec& d = m.DriveRecs[m.DriveLetters.size()];
    d = DriveRec{};
    d.RootPath = std::string(1, letter) + ":\\";
    d.VolumeName = std::string("Vol") + letter;
    d.TypeText = type;
    d.TotalGB = totalGB;
    d.FreeMB = freeMB;
    return d;
  }

  void cycle() { ReportOnForms(program); }
  std::string logPath() const { return m.ReportFileDir + m.ReportFileName; }
  std::string status() const { return f1.StatusBar1.caption(); }

  FakeMachine machine;
  Program& program;
  Module1& m;
  Form1& f1;
  Form2& f2;
};

}  // namespace volumetra

#include "app/form1.h"

#include "app/apply_language.h"
#include "app/form1_design.h"
#include "app/program.h"
#include "probe/drive_discovery.h"
#include "probe/probe_pass.h"
#include "report/report_cycle.h"
#include "settings/settings_file.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/frm_splash.h"

namespace volumetra {

Form1::Form1(Program& program)
    : Form(program, program.os.timers, Form1Design(), Form1Controls(), Form1Timers()),
      Label2(controlArray("Label2")),
      Label3(controlArray("Label3")),
      Label4(controlArray("Label4")),
      Label5(controlArray("Label5")),
      Label6(controlArray("Label6")),
      Label7(controlArray("Label7")),
      Label8(controlArray("Label8")),
      Label9(controlArray("Label9")),
      Label1(control("Label1")),
      Label10(control("Label10")),
      Label11(control("Label11")),
      Label12(control("Label12")),
      Label13(control("Label13")),
      Label14(control("Label14")),
      Label15(control("Label15")),
      Label16(control("Label16")),
      Label52(control("Label52")),
      Label129(control("Label129")),
      Label130(control("Label130")),
      Label131(control("Label131")),
      Label182(control("Label182")),
      Label183(control("Label183")),
      Command1(control("Command1")),
      Command2(control("Command2")),
      Command3(control("Command3")),
      Command4(control("Command4")),
      Command5(control("Command5")),
      Slider1(control("Slider1")),
      StatusBar1(control("StatusBar1")),
      Timer1(timer("Timer1")),
      Timer2(timer("Timer2")),
      Timer3(timer("Timer3")),
      Timer4(timer("Timer4")),
      Timer5(timer("Timer5")),
      program_(program) {
  Command1.onClick = [this] { Command1_Click(); };
  Command2.onClick = [this] { Command2_Click(); };
  Command3.onClick = [this] { Command3_Click(); };
  Command4.onClick = [this] { Command4_Click(); };
  Command5.onClick = [this] { Command5_Click(); };
  Label12.onClick = [this] { Label12_Click(); };
  Timer1.onTimer = [this] { Timer1_Timer(); };
  Timer2.onTimer = [this] { Timer2_Timer(); };
  Timer3.onTimer = [this] { Timer3_Timer(); };
  Timer4.onTimer = [this] { Timer4_Timer(); };
  Timer5.onTimer = [this] { Timer5_Timer(); };
}

std::vector<Control*> Form1::bottomRow() const {
  return {&Slider1,  &Label52,  &Label129, &Label130, &Label131, &Label182,
          &Label183, &Command1, &Command2, &Command3, &Command4, &Command5};
}

void Form1::Form_Load() {
  Module1& m = program_.m;
  Services& os = program_.os;
  // Each step stands alone: a failing one is skipped and start-up goes on.
  os.files.SetCurrentDirectory(os.files.ProgramDirectory());
  m.Running = true;
  m.GraphScale = 250.0;
  m.UnitFactor = 1000000;
  m.AlarmLimit = 100000;
  m.ColourInfo = true;
  LoadSettings(program_.settingsContext());
  program_.reportState.SettingsNotice = program_.settingsState.SettingsError;
  Form3& options = program_.form3();
  options.Text1.setText(m.ReportFileDir);
  options.Text3.setText(m.ReportFileName);
  setLeft(static_cast<float>(m.Window1XPos));
  setTop(static_cast<float>(m.Window1YPos));
  Timer2.setInterval(100);
  DiscoverDrives(program_.probeContext());
  const float n = static_cast<float>(m.DriveLetters.size());
  setHeight(240 * n + 1168);
  for (Control* c : bottomRow()) c->setTop(240 * n + 256);
  m.LoopCount = 0;
  ShowGridRows(program_);
  ShowGraphRows(program_);
  ApplyLanguage(program_);
  for (int k = 1; k < kDriveRecCount; ++k) {
    DriveRec& r = m.DriveRecs[k];
    r.FreeMB = r.TotalGB = r.SerialNumber = 0;
    r.VolumeName.clear();
    r.RootPath.clear();
    r.TypeText.clear();
    r.NameLength = 0;
  }
  if (m.ShowGraph) program_.form2().Show();
  RememberUntakenSettings(program_.settingsContext());
}

void Form1::Form_Resize() {
  if (windowState() == WindowState::Maximized) setWindowState(WindowState::Normal);
  if (windowState() == WindowState::Normal && width() > 9600) setWidth(9600);
}

void Form1::Form_Unload() {
  SaveSettings(program_.settingsContext());
  // The log file is never held open between lines, so there is nothing to close.
  if (FrmSplash* splash = program_.loadedFrmSplash()) program_.Unload(*splash);
  if (Form3* options = program_.loadedForm3()) program_.Unload(*options);
  if (Form2* graph = program_.loadedForm2()) program_.Unload(*graph);
}

void Form1::Command1_Click() {
  Module1& m = program_.m;
  if (m.Running) {
    Timer1.setInterval(0);
    Slider1.setValue(0);
    Command1.setCaption("Start");
    m.Running = false;
  } else {
    Timer1.setInterval(500);
    Slider1.setValue(500);
    Command1.setCaption("Stop");
    m.Running = true;
  }
}

void Form1::Command2_Click() {
  program_.Unload(*this);
}

void Form1::Command3_Click() {
  program_.frmSplash().Show();
}

void Form1::Command4_Click() {
  program_.form3().Show();
}

void Form1::Command5_Click() {
  Form2& graph = program_.form2();
  if (graph.windowState() == WindowState::Minimized) graph.setWindowState(WindowState::Normal);
  graph.Show();
  ShowGraphRows(program_);
}

void Form1::Label12_Click() {
  Module1& m = program_.m;
  m.UnitFactor = m.UnitFactor == 1000000 ? 1000 : 1000000;
  ApplyLanguage(program_);
}

}  // namespace volumetra

#include "windows/form3.h"

#include "app/apply_language.h"
#include "app/program.h"
#include "windows/form3_design.h"

namespace volumetra {

Form3::Form3(Program& program)
    : Form(program, program.os.timers, Form3Design(), Form3Controls(), Form3Timers()),
      SSTab1(control("SSTab1")),
      Check1(control("Check1")),
      Check2(control("Check2")),
      Check3(control("Check3")),
      Check4(control("Check4")),
      Check5(control("Check5")),
      Check6(control("Check6")),
      Check7(control("Check7")),
      Check8(control("Check8")),
      Check9(control("Check9")),
      Check10(control("Check10")),
      Label1(control("Label1")),
      Label2(control("Label2")),
      Label3(control("Label3")),
      Label6(control("Label6")),
      Text1(control("Text1")),
      Text2(control("Text2")),
      Text3(control("Text3")),
      Option1(control("Option1")),
      Option5(control("Option5")),
      Option6(control("Option6")),
      Option7(control("Option7")),
      Option8(control("Option8")),
      Option9(control("Option9")),
      Option10(control("Option10")),
      Option11(control("Option11")),
      Timer2(timer("Timer2")),
      program_(program) {
  Check1.onClick = [this] { Check1_Click(); };
  Check2.onClick = [this] { Check2_Click(); };
  Check3.onClick = [this] { Check3_Click(); };
  Check4.onClick = [this] { Check4_Click(); };
  Check5.onClick = [this] { Check5_Click(); };
  Check6.onClick = [this] { Check6_Click(); };
  Check7.onClick = [this] { Check7_Click(); };
  Check8.onClick = [this] { Check8_Click(); };
  Check9.onClick = [this] { Check9_Click(); };
  Check10.onClick = [this] { Check10_Click(); };
  Option1.onClick = [this] { Option1_Click(); };
  Option5.onClick = [this] { Option5_Click(); };
  Option6.onClick = [this] { Option6_Click(); };
  Option7.onClick = [this] { Option7_Click(); };
  Option8.onClick = [this] { Option8_Click(); };
  Option9.onClick = [this] { Option9_Click(); };
  Option10.onClick = [this] { Option10_Click(); };
  Option11.onClick = [this] { Option11_Click(); };
  Text1.onChange = [this] { Text1_Change(); };
  Text2.onChange = [this] { Text2_Change(); };
  Text3.onChange = [this] { Text3_Change(); };
  Timer2.onTimer = [this] { Timer2_Timer(); };
}

Control* Form3::activationButton(const std::string& language) {
  // Dansk, Suomi and Italiano have buttons, but opening the dialog does not select them.
  if (language == "English") return &Option5;
  if (language == "Deutsch") return &Option6;
  if (language == "Dutch") return &Option7;
  if (language == "Francais") return &Option8;
  if (language == "Espanol") return &Option1;
  return nullptr;
}

void Form3::Form_Activate() {
  Module1& m = program_.m;
  if (Control* button = activationButton(m.Language)) button->setValue(1);
  Check2.setValue(m.LinkGraph ? kChecked : kUnchecked);
  Check4.setValue(m.AlarmBeep ? kChecked : kUnchecked);
  Check9.setValue(m.ExcludeCDs ? kChecked : kUnchecked);
  Check10.setValue(m.ExcludeDoubles ? kChecked : kUnchecked);
  const std::size_t first = m.ReportFileDir.find_first_not_of(' ');
  if (first != std::string::npos) Text1.setText(m.ReportFileDir);
}

void Form3::Form_Resize() {
  if (windowState() == WindowState::Maximized) setWindowState(WindowState::Normal);
}

void Form3::Check2_Click() {
  program_.m.LinkGraph = Check2.value() == kChecked;
}
void Form3::Check3_Click() {
  program_.m.AlarmColours = Check3.value() == kChecked;
}
void Form3::Check4_Click() {
  program_.m.AlarmBeep = Check4.value() == kChecked;
}
void Form3::Check5_Click() {
  program_.m.ColourInfo = Check5.value() == kChecked;
}
void Form3::Check9_Click() {
  program_.m.ExcludeCDs = Check9.value() == kChecked;
}
void Form3::Check10_Click() {
  program_.m.ExcludeDoubles = Check10.value() == kChecked;
}

void Form3::chooseLanguage(const char* language) {
  program_.m.Language = language;
  ApplyLanguage(program_);
}

void Form3::Option5_Click() {
  chooseLanguage("English");
}
void Form3::Option6_Click() {
  chooseLanguage("Deutsch");
}
void Form3::Option7_Click() {
  chooseLanguage("Dutch");
}
void Form3::Option8_Click() {
  chooseLanguage("Francais");
}
void Form3::Option9_Click() {
  chooseLanguage("Dansk");
}
void Form3::Option10_Click() {
  chooseLanguage("Suomi");
}
void Form3::Option11_Click() {
  chooseLanguage("Italiano");
}
void Form3::Option1_Click() {
  chooseLanguage("Espanol");
}

}  // namespace volumetra

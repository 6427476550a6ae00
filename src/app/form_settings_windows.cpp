#include "app/form_settings_windows.h"

#include "app/form1.h"
#include "app/program.h"
#include "windows/form2.h"

namespace volumetra {

float FormSettingsWindows::MainLeft() {
  return program_.form1().left();
}
float FormSettingsWindows::MainTop() {
  return program_.form1().top();
}
float FormSettingsWindows::MainWidth() {
  return program_.form1().width();
}
void FormSettingsWindows::SetMainWidth(float width) {
  program_.form1().setWidth(width);
}
float FormSettingsWindows::GraphLeft() {
  return program_.form2().left();
}
float FormSettingsWindows::GraphTop() {
  return program_.form2().top();
}
float FormSettingsWindows::GraphWidth() {
  return program_.form2().width();
}
bool FormSettingsWindows::GraphWindowExists() const {
  return program_.loadedForm2() != nullptr;
}

}  // namespace volumetra

#include "app/program.h"

#include "app/form1.h"
#include "app/form_settings_windows.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/frm_splash.h"

namespace volumetra {

Program::Program(Services& services)
    : os(services), settingsWindows_(std::make_unique<FormSettingsWindows>(*this)) {
  // A click on a desktop notification (a drive running out of space) brings the table to the front.
  os.notifications.setOnClicked([this] { RaiseMainWindow(); });
}

Program::~Program() {
  os.notifications.setOnClicked(nullptr);
  // Forms go in reverse order of dependence; their timers stop first.
  unloaded_.clear();
  splash_.reset();
  form3_.reset();
  form2_.reset();
  form1_.reset();
}

template <typename F>
F& Program::ensure(std::unique_ptr<F>& slot) {
  if (slot) return *slot;
  slot = std::make_unique<F>(*this);
  F& form = *slot;
  if (form.design().centered) {
    form.setLeft((os.windows.ScreenWidthTwips() - form.width()) / 2);
    form.setTop((os.windows.ScreenHeightTwips() - form.height()) / 2);
  }
  form.attachView(os.windows.CreateView(form));
  form.Form_Load();
  return form;
}

void Program::CollectUnloaded() {
  unloaded_.clear();
}

void Program::Start() {
  form1().Show();
}

bool Program::RaiseMainWindow() {
  if (ended_) return false;
  Form1& main = form1();
  if (main.windowState() == WindowState::Minimized) main.setWindowState(WindowState::Normal);
  main.Show();
  return true;
}

ProbeContext Program::probeContext() {
  return {m, os.volumes, os.clock, [this] { return form2().Slider1.value(); }};
}

SettingsContext Program::settingsContext() {
  return {m, settingsState, os.files, os.profile, *settingsWindows_};
}

Form1& Program::form1() {
  return ensure(form1_);
}
Form2& Program::form2() {
  return ensure(form2_);
}
Form3& Program::form3() {
  return ensure(form3_);
}
FrmSplash& Program::frmSplash() {
  return ensure(splash_);
}

template <typename F>
bool Program::release(std::unique_ptr<F>& slot, Form& form) {
  if (slot.get() != &form) return false;
  std::unique_ptr<Form> gone = std::move(slot);
  gone->Hide();
  gone->stopTimers();
  unloaded_.push_back(std::move(gone));
  return true;
}

void Program::Unload(Form& form) {
  if (active_ == &form) active_ = nullptr;
  form.Form_Unload();
  if (release(splash_, form) || release(form3_, form) || release(form2_, form)) return;
  if (release(form1_, form)) {
    ended_ = true;
    os.windows.Quit();
  }
}

}  // namespace volumetra

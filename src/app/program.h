#pragma once

#include <memory>
#include <vector>

#include "platform/form.h"
#include "platform/services.h"
#include "probe/module1.h"
#include "probe/probe_context.h"
#include "report/report_state.h"
#include "settings/settings_context.h"
#include "settings/settings_state.h"

namespace volumetra {

class Form1;
class Form2;
class Form3;
class FrmSplash;

/// The running program: the shared state, the OS services and the four forms. A form is created,
/// hidden, the first time anything refers to it (its Form_Load runs then), and created again in
/// its designed state when it is referred to after an unload.
class Program : public FormHost {
 public:
  explicit Program(Services& services);
  ~Program() override;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  Services& os;
  Module1 m;
  /// The settings file's own state over the run: its call variables and what it found.
  SettingsState settingsState;
  /// The report cycle's own memory over the run.
  ReportState reportState;

  /// Loads the main window and shows it: the program runs from here on the event loop.
  void Start();
  /// True once the main window has been unloaded.
  bool Ended() const { return ended_; }
  /// Brings the main window to the front, restored when it was minimised, as the graph button does
  /// for the graph window; what a later start of the program asks of the running copy. False once
  /// the program has ended.
  bool RaiseMainWindow();

  /// What drive discovery and the probe pass work on, with the graph window's slider.
  ProbeContext probeContext();
  /// What the settings file is read and written with, with the main and graph windows.
  SettingsContext settingsContext();

  Form1& form1();
  Form2& form2();
  Form3& form3();
  FrmSplash& frmSplash();
  /// The form if it exists now, without creating it.
  Form1* loadedForm1() const { return form1_.get(); }
  Form2* loadedForm2() const { return form2_.get(); }
  Form3* loadedForm3() const { return form3_.get(); }
  FrmSplash* loadedFrmSplash() const { return splash_.get(); }

  /// Unloads `form`: Form_Unload runs, the window goes, and the next reference creates it anew.
  /// Unloading the main window ends the program.
  void Unload(Form& form);

  /// Frees the forms unloaded earlier; called where none of their handlers can be running.
  void CollectUnloaded();

  void CloseRequested(Form& form) override { Unload(form); }
  Form* ActiveForm() override { return active_; }
  void SetActiveForm(Form* form) override { active_ = form; }

 private:
  template <typename F>
  F& ensure(std::unique_ptr<F>& slot);
  template <typename F>
  bool release(std::unique_ptr<F>& slot, Form& form);

  std::unique_ptr<SettingsWindows> settingsWindows_;
  std::unique_ptr<Form1> form1_;
  std::unique_ptr<Form2> form2_;
  std::unique_ptr<Form3> form3_;
  std::unique_ptr<FrmSplash> splash_;
  // Unloaded forms wait here until no handler of theirs can still be running.
  std::vector<std::unique_ptr<Form>> unloaded_;
  Form* active_ = nullptr;
  bool ended_ = false;
};

}  // namespace volumetra

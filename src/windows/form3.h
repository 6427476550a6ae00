#pragma once

#include <string>

#include "platform/form.h"

namespace volumetra {

class Program;

/// The options dialog: logging and its interval, alarms, colour information, the graph link, the
/// drive exclusions, the language and the log file's directory and name. Every control acts on
/// the shared state the moment it changes; `Timer2` keeps the logging boxes in step with it.
class Form3 : public Form {
 public:
  explicit Form3(Program& program);

  void Form_Activate() override;
  void Form_Resize() override;
  void Check1_Click();
  void Check2_Click();
  void Check3_Click();
  void Check4_Click();
  void Check5_Click();
  void Check6_Click();
  void Check7_Click();
  void Check8_Click();
  void Check9_Click();
  void Check10_Click();
  void Option1_Click();
  void Option5_Click();
  void Option6_Click();
  void Option7_Click();
  void Option8_Click();
  void Option9_Click();
  void Option10_Click();
  void Option11_Click();
  void Text1_Change();
  void Text2_Change();
  void Text3_Change();
  void Timer2_Timer();

  Control& SSTab1;
  Control &Check1, &Check2, &Check3, &Check4, &Check5, &Check6, &Check7, &Check8, &Check9, &Check10;
  Control &Label1, &Label2, &Label3, &Label6;
  Control &Text1, &Text2, &Text3;
  Control &Option1, &Option5, &Option6, &Option7, &Option8, &Option9, &Option10, &Option11;
  Timer& Timer2;

 private:
  /// Stores `language` as the current language and applies it.
  void chooseLanguage(const char* language);
  /// The button that stands for `language` when the dialog opens, or nullptr for a language that
  /// has none there.
  Control* activationButton(const std::string& language);
  /// A logging box changed, and with it maybe the logging state or the log timer's interval: the
  /// dialog's timer must look again on its next tick.
  void noteLoggingChange();

  Program& program_;
  bool loggingChanged_ = false;
  /// The directory box's last text that the settings file can hold and give back.
  std::string acceptedDirectoryText_;
};

}  // namespace volumetra

#pragma once

#include <vector>

#include "platform/form.h"

namespace volumetra {

class Program;

/// The main window: the drive table, the sums row, the five buttons, the interval slider, the
/// status bar and the five timers of the run cycle.
class Form1 : public Form {
 public:
  explicit Form1(Program& program);

  void Form_Load() override;
  void Form_Resize() override;
  void Form_Unload() override;
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();
  void Label12_Click();
  void Timer1_Timer();
  void Timer2_Timer();
  void Timer3_Timer();
  void Timer4_Timer();
  void Timer5_Timer();

  /// The grid columns, indexed by row.
  std::vector<Control*> Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9;
  Control &Label1, &Label10, &Label11, &Label12, &Label13, &Label14, &Label15, &Label16;
  Control &Label52, &Label129, &Label130, &Label131, &Label182, &Label183;
  Control &Command1, &Command2, &Command3, &Command4, &Command5;
  Control &Slider1, &StatusBar1;
  Timer &Timer1, &Timer2, &Timer3, &Timer4, &Timer5;

  /// The bottom row, in the order its Top is set.
  std::vector<Control*> bottomRow() const;

 private:
  Program& program_;
};

/// Makes one table row visible per drive letter; nothing is ever hidden.
void ShowGridRows(Program& program);

}  // namespace volumetra

#pragma once

#include <vector>

#include "platform/form.h"

namespace volumetra {

class Program;

/// The graph window: per drive a total bar with the free bar in front, a scale row, a legend row
/// with the scale slider, and a button back to the main window.
class Form2 : public Form {
 public:
  explicit Form2(Program& program);

  void Form_Load() override;
  void Form_Activate() override;
  void Form_Resize() override;
  void Command1_Click();
  void Label26_Click();
  void Slider1_scroll();

  std::vector<Control*> Label1, Shape1, Shape2;
  Control &Label2, &Label26, &Label27, &Label28, &Label29, &Label30, &Label31;
  Control &Shape51, &Shape52, &Slider1, &Command1;

 private:
  Program& program_;
};

/// Makes one bar row visible per drive letter (assigned without reading first).
void ShowGraphRows(Program& program);

}  // namespace volumetra

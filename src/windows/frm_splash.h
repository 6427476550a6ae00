#pragma once

#include "platform/form.h"

namespace volumetra {

class Program;

/// The about box: program name, version, platforms, logo and the maker's lines. It closes on OK,
/// on a click on the frame's empty area and on any key.
class FrmSplash : public Form {
 public:
  explicit FrmSplash(Program& program);

  void Form_KeyPress(int keyCode) override;
  void Command1_Click();
  void Frame1_Click();

  Control &Frame1, &Command1, &lblProductName;

 private:
  Program& program_;
};

}  // namespace volumetra

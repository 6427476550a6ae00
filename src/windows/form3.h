#pragma once

#include "platform/form.h"

namespace volumetra {

class Program;

/// The options dialog.
class Form3 : public Form {
 public:
  explicit Form3(Program& program);

  Control &Text1, &Text3;

 private:
  Program& program_;
};

}  // namespace volumetra

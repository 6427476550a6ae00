// Stand-in until the options dialog is built.
#include "windows/form3.h"

#include "app/program.h"

namespace volumetra {
namespace {

const ControlDesign kControls[] = {
    {.name = "Text1", .kind = ControlKind::TextBox, .left = 120, .top = 2400, .width = 3855, .height = 285},
    {.name = "Text3", .kind = ControlKind::TextBox, .left = 120, .top = 3240, .width = 3855, .height = 285,
     .caption = "LOG.TXT"},
};
const FormDesign kDesign{.name = "Form3", .caption = "Options", .width = 4215, .height = 4245};

}  // namespace

Form3::Form3(Program& program)
    : Form(program, program.os.timers, kDesign, kControls),
      Text1(control("Text1")),
      Text3(control("Text3")),
      program_(program) {}

}  // namespace volumetra

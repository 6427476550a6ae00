#include "platform/input_echo.h"

namespace volumetra {

void InputEcho::click(Control& control) const {
  if (guards_.survives([&] { control.Click(); })) show_.value(control);
}

void InputEcho::type(Control& control, const std::string& typed) const {
  if (guards_.survives([&] { control.Type(typed); }) && control.text() != typed) show_.text(control);
}

void InputEcho::scroll(Control& control, int position) const {
  if (guards_.survives([&] { control.Scroll(position); })) show_.value(control);
}

void InputEcho::selectTab(Control& control, int page) const {
  if (guards_.survives([&] { control.setValue(page); })) show_.value(control);
}

}  // namespace volumetra

#pragma once

#include <functional>
#include <string>

#include "platform/control.h"
#include "platform/view_guards.h"

namespace volumetra {

/// What the user did to a control, handed to the model: the model decides, then the control
/// shows the model's state again (a check box the model did not toggle, a text it refused). The
/// backend says how its control shows a value and a text again.
class InputEcho {
 public:
  struct Show {
    /// Shows the control's value (checked state, slider position, selected page) again.
    std::function<void(const Control&)> value;
    /// Shows a text the model refused or changed.
    std::function<void(const Control&)> text;
  };

  InputEcho(const ViewGuards& guards, Show show) : guards_(guards), show_(std::move(show)) {}

  void click(Control& control) const;
  void type(Control& control, const std::string& typed) const;
  void scroll(Control& control, int position) const;
  void selectTab(Control& control, int page) const;

 private:
  const ViewGuards& guards_;
  Show show_;
};

}  // namespace volumetra

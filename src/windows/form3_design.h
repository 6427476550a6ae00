#pragma once

#include <span>

#include "platform/form_design.h"

namespace volumetra {

/// The options dialog as designed: one tab control whose four pages hold the check boxes, the
/// text boxes and the language buttons, and the 250 ms timer that keeps the logging boxes in step.
const FormDesign& Form3Design();
std::span<const ControlDesign> Form3Controls();
std::span<const TimerDesign> Form3Timers();

}  // namespace volumetra

#pragma once

#include <span>

#include "platform/form_design.h"

namespace volumetra {

inline constexpr int kGridRows = 25;

/// The main window as designed: window, header row, the eight grid columns, the bottom row.
const FormDesign& Form1Design();
std::span<const ControlDesign> Form1Controls();
std::span<const TimerDesign> Form1Timers();

}  // namespace volumetra

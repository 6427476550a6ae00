#pragma once

#include <span>

#include "platform/form_design.h"

namespace volumetra {

/// The graph window as designed.
const FormDesign& Form2Design();
std::span<const ControlDesign> Form2Controls();

}  // namespace volumetra

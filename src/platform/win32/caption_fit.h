#pragma once

#include <string>

#include "platform/control.h"
#include "platform/win32/win32_look.h"

namespace volumetra {

/// How a caption is shown on a one-line label of fixed size.
struct FittedCaption {
  HFONT font = nullptr;
  std::string text;
};

/// The caption of `label` on `widthPixels`: in the designed font when it fits, else at the
/// largest smaller size that fits (FittingPoints), else at the smallest size and shortened with
/// "…" on the side the label's alignment gives up: a right-aligned label keeps the end of its
/// text, the others keep the start.
FittedCaption FitCaption(Win32Look& look, const Control& label, int widthPixels);

/// True when `label` shows one line of text: a fixed-size label lower than two lines of its font.
/// Taller labels wrap their text at word boundaries; self-sizing ones keep one line and grow.
bool IsOneLineLabel(const Control& label);

}  // namespace volumetra

#pragma once

namespace volumetra {

/// The widest bar the graph window draws, in twips: 2^24 - 1, the largest whole number that a
/// single-precision width holds exactly. It is far beyond any screen (about 11 650 inches) and
/// stays within what a widget can take even counted in pixels.
inline constexpr float kMaxBarWidth = 16777215.0f;

/// A bar's width for a length of `twips`: rounded to a whole number (halves to even) and kept
/// between 0 and kMaxBarWidth, so that the bars of many-terabyte drives at a large scale are cut
/// at the maximum instead of overflowing. A length that is not a number gives 0.
float BarWidth(double twips);

}  // namespace volumetra

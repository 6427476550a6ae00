#pragma once

#include <cstdint>

namespace volumetra {

/// Where the graph window's first load and a click on its "Free" legend put the scale: the
/// slider's value and the divisor that the scale is taken through (see GraphScaleOf).
struct GraphScaleReset {
  int sliderValue = 0;
  double divisor = 1;
};

/// The reset for the largest free space `maxFreeMB` (above 0) on a slider that goes up to
/// `sliderMax`. The slider value aims that drive's free bar at 4100 twips: 4100 / (maxFreeMB / 100),
/// rounded (halves to even) and kept within the slider's range, with divisor 1. Where that aim is
/// one slider step or less (410 000 MB and more free), the slider cannot place it: the value 1
/// doubles the bar and 0 leaves it at maxFreeMB / 100 twips, 8200 and beyond. The scale is then
/// divided by the smallest power of ten that puts the aim at 100 steps or more, so that the bar is
/// about 4100 twips long on drives of any size and the slider still zooms in from there.
GraphScaleReset ResetGraphScale(std::int32_t maxFreeMB, int sliderMax);

/// The graph scale, in twips per 100 MB, of a slider value taken through a divisor: (value + 1) /
/// divisor. With divisor 1 it is the slider value + 1.
double GraphScaleOf(int sliderValue, double divisor);

}  // namespace volumetra

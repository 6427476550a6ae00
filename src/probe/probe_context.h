#pragma once

#include <functional>

#include "platform/clock_service.h"
#include "platform/volume_service.h"
#include "probe/module1.h"

namespace volumetra {

/// What drive discovery and the probe pass work on: the shared state, the volume and clock
/// services, and the value of the graph window's slider, read when a pass begins (the window
/// that owns the slider may be loaded by that read).
struct ProbeContext {
  Module1& m;
  VolumeService& volumes;
  ClockService& clock;
  std::function<int()> graphSlider;
};

}  // namespace volumetra

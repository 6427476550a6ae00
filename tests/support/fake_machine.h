#pragma once

#include <cstdint>

#include "support/machine/test_machine.h"

namespace volumetra {

/// A whole fake computer for logic tests: scripted volumes, a virtual clock and event loop,
/// files in a temporary program directory, a counting beep and no windows. `program` is built
/// over it but not started.
class FakeMachine : public TestMachine<FakeVolumes> {
 public:
  /// `maxLateMs`: how late a tick may come to share a wake-up of the loop (0: exactly when due).
  explicit FakeMachine(std::int64_t maxLateMs = 0)
      : TestMachine({.platform = "Headless", .maxLateMs = maxLateMs}, ScriptedVolumes) {}
};

}  // namespace volumetra

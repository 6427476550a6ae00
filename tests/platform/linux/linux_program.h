#pragma once

#include <memory>

#include "platform/linux/fake_system_calls.h"
#include "platform/linux/linux_volumes.h"
#include "support/machine/test_machine.h"

namespace volumetra {

/// The whole program over the Linux volume services, headless: virtual event loop and clock,
/// settings and log in a temporary directory, no windows. `program` is built but not started.
class LinuxProgram : public TestMachine<LinuxVolumes> {
 public:
  LinuxProgram(std::shared_ptr<LinuxSystemCalls> system, LinuxVolumesOptions options);
};

/// Runs the fake machine's virtual steady clock on the loop's virtual time: waiting for a call
/// spends loop time, as a real wait holds up the event loop.
void TieToLoop(FakeSystemCalls& system, VirtualEventLoop& loop);

}  // namespace volumetra

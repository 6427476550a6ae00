#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "platform/call_channel.h"
#include "platform/call_guard.h"
#include "platform/linux/system_calls.h"
#include "platform/thread_channel.h"

namespace volumetra {

/// A system call that can hang: statvfs of a mount point whose server may be dead, or the
/// libblkid probe of a device whose medium may not answer.
struct HangingCall {
  enum class Kind : std::uint8_t {
    StatFileSystem = 1,
    ProbeBlockDevice = 2,
  };
  Kind kind = Kind::StatFileSystem;
  std::string path;

  bool operator==(const HangingCall&) const = default;
};

/// What a hanging call came back with. `ok` false: the call failed (no such path, an I/O error).
struct HangingCallResult {
  HangingCall::Kind kind = HangingCall::Kind::StatFileSystem;
  bool ok = false;
  FileSystemStats stats;   ///< for StatFileSystem
  BlockIdentity identity;  ///< for ProbeBlockDevice
  /// The channel broke before the call came back (its helper ended): nothing is known.
  bool lost = false;
};

/// The channel the calls that can hang of one mount run on: a volume helper process of the
/// program's own (HelperChannel) or, when that cannot be started, a thread (HangingThreadChannel).
using HangingCallChannel = CallChannel<HangingCall, HangingCallResult>;
using HangingThreadChannel = ThreadChannel<HangingCall, HangingCallResult>;
using HangingCallGuard = CallGuard<HangingCall, HangingCallResult>;

/// Runs `call` on the calling thread with the StatFileSystem and ProbeBlockDevice of `system`
/// (a LinuxSystemCalls, or anything with those two).
template <typename System>
HangingCallResult RunHangingCall(System& system, const HangingCall& call) {
  HangingCallResult result;
  result.kind = call.kind;
  if (call.kind == HangingCall::Kind::StatFileSystem) {
    result.ok = system.StatFileSystem(call.path, result.stats);
  } else if (std::optional<BlockIdentity> identity = system.ProbeBlockDevice(call.path)) {
    result.ok = true;
    result.identity = std::move(*identity);
  }
  return result;
}

}  // namespace volumetra

#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "platform/linux/system_calls.h"

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

/// Where the calls that can hang run for one mount, away from the caller, so that a call that
/// never returns holds nothing of the caller's: in a helper process of the program's own (or, when
/// that cannot be started, on a thread). Calls are answered one after another, in the order they
/// were started. Used from one thread.
class CallChannel {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  virtual ~CallChannel() = default;

  /// Starts `call` behind the calls started before. False when the channel cannot take it.
  virtual bool Start(const HangingCall& call) = 0;

  /// The result of the oldest call started and not collected yet, waiting for it until
  /// `deadline` at most; nullopt when it has not come by then. A deadline that has passed only
  /// collects a result that is already there.
  virtual std::optional<HangingCallResult> Collect(TimePoint deadline) = 0;
};

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

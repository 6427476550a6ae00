#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/linux/hanging_call.h"

namespace volumetra {

/// A HangingCallChannel to a volume helper process of the program's own (volume_helper.cpp), over a
/// socket pair. The helper is started with nothing of the program's but its end of the socket, the
/// mount's lock file and the error output, and leaves the program's children at once, so the
/// program neither waits for it nor reaps it. Closing the channel ends an idle helper at once; one
/// stuck in a call ends when the call returns, and holds the mount's lock until then.
class HelperChannel : public HangingCallChannel {
 public:
  /// Starts the helper executable `helperPath`, which locks the open file `lockFile` (a VolumeLock's;
  /// -1: none) while in a call; nullptr when it cannot be started.
  static std::unique_ptr<HelperChannel> Launch(const std::string& helperPath, int lockFile = -1);

  ~HelperChannel() override;
  HelperChannel(const HelperChannel&) = delete;
  HelperChannel& operator=(const HelperChannel&) = delete;

  bool Start(const HangingCall& call) override;
  std::optional<HangingCallResult> Collect(TimePoint deadline) override;

 private:
  explicit HelperChannel(int socket) : socket_(socket) {}
  HangingCallResult Broken();

  int socket_;
  bool broken_ = false;
};

/// The channel of a mount whose lock a helper of an earlier run holds, stuck in a call to it: no
/// call is made. Until `stillHeld` says that helper has let go, a call gives no answer, at once
/// rather than at its deadline; then the channel breaks (its calls come back lost), so that the
/// next call opens a channel that starts a helper of this run.
class HeldChannel : public HangingCallChannel {
 public:
  explicit HeldChannel(std::function<bool()> stillHeld) : stillHeld_(std::move(stillHeld)) {}

  bool Start(const HangingCall& call) override;
  std::optional<HangingCallResult> Collect(TimePoint deadline) override;

 private:
  std::function<bool()> stillHeld_;
  int out_ = 0;
};

}  // namespace volumetra

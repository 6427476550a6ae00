#pragma once

#include <memory>
#include <string>

#include "platform/linux/hanging_call.h"

namespace volumetra {

/// A HangingCallChannel to a volume helper process of the program's own (volume_helper.cpp), over a
/// socket pair. The helper is started with nothing of the program's but its end of the socket and
/// the error output, and leaves the program's children at once, so the program neither waits for
/// it nor reaps it. Closing the channel ends an idle helper at once; one stuck in a call ends when
/// the call returns.
class HelperChannel : public HangingCallChannel {
 public:
  /// Starts the helper executable `helperPath`; nullptr when it cannot be started.
  static std::unique_ptr<HelperChannel> Launch(const std::string& helperPath);

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

}  // namespace volumetra

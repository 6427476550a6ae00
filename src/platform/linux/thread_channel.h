#pragma once

#include <memory>

#include "platform/linux/call_channel.h"

namespace volumetra {

/// A CallChannel on a thread of this process, for when no helper process can be started. The
/// caller never waits longer than it asks to, but a call that never returns keeps its thread, and
/// with it the process, from ending. The thread shares its state with the channel: closing the
/// channel never waits; the thread ends after the call in hand.
class ThreadChannel : public CallChannel {
 public:
  /// Starts the thread; nullptr when no thread can be started.
  static std::unique_ptr<ThreadChannel> Open(std::shared_ptr<LinuxSystemCalls> system);

  ~ThreadChannel() override;
  ThreadChannel(const ThreadChannel&) = delete;
  ThreadChannel& operator=(const ThreadChannel&) = delete;

  bool Start(const HangingCall& call) override;
  std::optional<HangingCallResult> Collect(TimePoint deadline) override;

 private:
  struct Shared;
  explicit ThreadChannel(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}
  static void Serve(const std::shared_ptr<Shared>& shared, const std::shared_ptr<LinuxSystemCalls>& system);

  std::shared_ptr<Shared> shared_;
};

}  // namespace volumetra

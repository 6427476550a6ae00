#pragma once

#include <memory>
#include <utility>

#include "platform/call_channel.h"
#include "platform/shared_thread_channels.h"

namespace volumetra {

/// A CallChannel on a thread of its own, which makes each call with `run`: the one channel of a
/// SharedThreadChannels. The caller never waits longer than it asks to. A call that never returns
/// keeps its thread: on Windows the process still ends when its main thread does, on Linux such a
/// thread keeps it from ending (which is why the Linux volumes prefer helper processes). Closing
/// the channel never waits; the thread ends after the call in hand. `run` must own (or share)
/// everything it touches.
template <typename Call, typename Result>
struct ThreadChannel {
  using Run = typename SharedThreadChannels<Call, Result>::Run;

  /// Starts the thread; nullptr when no thread can be started.
  static std::unique_ptr<CallChannel<Call, Result>> Open(Run run) {
    return SharedThreadChannels<Call, Result>(std::move(run)).Open();
  }
};

}  // namespace volumetra

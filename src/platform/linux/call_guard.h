#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/linux/call_channel.h"

namespace volumetra {

/// Makes the calls that can hang for the volume services, on one CallChannel per key (per mount),
/// and waits for each at most a fixed limit. The rules that let a dead or slow server cost the
/// caller one wait at most:
/// - Calls started together are waited for together. A probe pass or drive discovery starts the
///   calls of all its drives ahead (StartAhead) before it asks them one after another; each call's
///   deadline is one limit after its start, so however many servers are dead, their waits overlap.
/// - A key whose call did not come back by its deadline, and that no question waits for any more,
///   is stuck until that call returns: its questions get NoAnswer at once, starting nothing and
///   waiting for nothing.
/// - A key whose call ran out of time is quiet: only questions that `reask` (those of a probe
///   pass, which asks a drive that timed out again only after the program's time-out reset) start
///   a call for it and wait; others are declined at once. So a slow server costs one wait per reset
///   period, and a server that answers again is back at the first pass after the next reset.
/// Meant for one calling thread. Closing the guard or a key's channel never waits for a call.
class CallGuard {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  using Clock = std::function<TimePoint()>;
  using ChannelOpener = std::function<std::unique_ptr<CallChannel>()>;

  enum class Outcome {
    Done,      ///< the call came back in time (or could not be made at all: a failed result)
    NoAnswer,  ///< it did not come back in time, or an earlier call of the key is still stuck
    Declined,  ///< the key is quiet and the question does not reask it: nothing was asked
  };

  /// What the guard holds: keys (with their channels) and calls not collected yet.
  struct Footprint {
    std::size_t keys = 0;
    std::size_t calls = 0;
  };

  /// `open` opens the channel of a new key; `clock` tells the time the deadlines are measured on,
  /// the same the channels wait on.
  CallGuard(ChannelOpener open, std::chrono::milliseconds limit, Clock clock);

  /// Starts `call` for `key` now, for the Ask of the same call that comes next to collect; does
  /// nothing when the key is stuck, quiet and not `reask`ed, or has that call started already.
  void StartAhead(const std::string& key, const HangingCall& call, bool reask);

  /// The result of `call` for `key`: the one started ahead, or one started now, waited for until
  /// its deadline at most.
  Outcome Ask(const std::string& key, const HangingCall& call, bool reask, HangingCallResult& result);

  /// Whether a call of `key` that cannot hang, made by the caller itself, may go ahead (Done): the
  /// same refusals as Ask, for the other calls of a mount whose hanging calls are stuck or quiet.
  Outcome Admit(const std::string& key, bool reask);

  /// Calls started ahead and not collected are given up: a new round of questions begins.
  void DropAhead();

  /// Closes the channels of all keys not in `keep` and forgets those keys.
  void RetireAllBut(const std::set<std::string>& keep);

  Footprint footprint() const;
  /// Channels opened so far.
  int ChannelsOpened() const { return channelsOpened_; }
  /// Keys with a call that ran out of time and has not come back yet.
  int StuckKeys();

 private:
  struct Sent {
    HangingCall call;
    TimePoint deadline;
    /// A question is still to collect it; otherwise its result, when it comes, is dropped.
    bool awaited = true;
    std::optional<HangingCallResult> result;
  };
  struct Slot {
    std::unique_ptr<CallChannel> channel;
    /// Calls started and not collected, oldest first: the channel answers them in this order.
    std::deque<Sent> sent;
    bool quiet = false;
  };

  bool CollectNext(Slot& slot, TimePoint deadline);
  void Drain(Slot& slot);
  bool Stuck(const Slot& slot) const;
  bool Send(Slot& slot, const HangingCall& call);
  Outcome Await(Slot& slot, std::deque<Sent>::iterator sent, HangingCallResult& result);

  ChannelOpener open_;
  std::chrono::milliseconds limit_;
  Clock clock_;
  std::map<std::string, Slot> slots_;
  int channelsOpened_ = 0;
};

}  // namespace volumetra

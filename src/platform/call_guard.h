#pragma once

#include <algorithm>
#include <chrono>
#include <concepts>
#include <cstddef>
#include <deque>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "platform/call_channel.h"

namespace volumetra {

/// What CallGuard needs of a call and its result: calls compare, so that a question finds the call
/// started ahead for it; a result says whether the call was made (`ok`) and whether its channel
/// broke before it came back (`lost`), and a default one stands for a call that could not be made.
template <typename Call, typename Result>
concept GuardedCall = std::equality_comparable<Call> && std::copyable<Call> &&
    std::default_initializable<Result> && std::movable<Result> && requires(Result result) {
  result.ok = false;
  result.lost = true;
};

/// Makes the calls that can hang for the volume services, on one CallChannel per key (a mount, a
/// network drive), and waits for each at most a fixed limit. The rules that let a dead or slow server
/// cost the caller one wait at most:
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
template <typename Call, typename Result>
requires GuardedCall<Call, Result>
class CallGuard {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  using Clock = std::function<TimePoint()>;
  using Channel = CallChannel<Call, Result>;
  using ChannelOpener = std::function<std::unique_ptr<Channel>()>;
  /// Opens the channel of the key it is given, for channels that differ by key.
  using KeyChannelOpener = std::function<std::unique_ptr<Channel>(const std::string& key)>;

  enum class Outcome {
    Done,      ///< the call came back in time (or could not be made at all: a failed result)
    NoAnswer,  ///< it did not come back in time, or an earlier call of the key is still stuck
    Declined,  ///< the key is quiet and the question does not reask it: nothing was asked
    /// not back by the question's own earlier time (`until`), but not given up: still out, and
    /// collected by the next Ask of the same call, which waits for it until its deadline
    Pending,
  };

  /// What the guard holds: keys (with their channels) and calls not collected yet.
  struct Footprint {
    std::size_t keys = 0;
    std::size_t calls = 0;
  };

  /// `open` opens the channel of a new key; `clock` tells the time the deadlines are measured on,
  /// the same the channels wait on.
  CallGuard(KeyChannelOpener open, std::chrono::milliseconds limit, Clock clock)
      : open_(std::move(open)), limit_(limit), clock_(std::move(clock)) {}
  CallGuard(ChannelOpener open, std::chrono::milliseconds limit, Clock clock)
      : CallGuard(KeyChannelOpener([open = std::move(open)](const std::string&) { return open(); }), limit,
                  std::move(clock)) {}

  /// Starts `call` for `key` now, for the Ask of the same call that comes next to collect; does
  /// nothing when the key is stuck, quiet and not `reask`ed, or has that call started already.
  void StartAhead(const std::string& key, const Call& call, bool reask) {
    Slot& slot = slots_[key];
    Drain(slot);
    if (Stuck(slot) || (slot.quiet && !reask)) return;
    if (std::any_of(slot.sent.begin(), slot.sent.end(),
                    [&](const Sent& s) { return s.awaited && s.call == call; }))
      return;
    Send(key, slot, call);
  }

  /// The result of `call` for `key`: the one started ahead, or one started now, waited for until
  /// its deadline at most, or until `until` when that comes first (then Pending).
  Outcome Ask(const std::string& key, const Call& call, bool reask, Result& result,
              std::optional<TimePoint> until = std::nullopt) {
    Slot& slot = slots_[key];
    Drain(slot);
    const auto ahead = std::find_if(slot.sent.begin(), slot.sent.end(),
                                    [&](const Sent& s) { return s.awaited && s.call == call; });
    if (ahead != slot.sent.end()) return Await(slot, ahead, result, until);
    if (Stuck(slot)) return Outcome::NoAnswer;
    if (slot.quiet && !reask) return Outcome::Declined;
    if (!Send(key, slot, call)) {
      result = Result{};
      result.ok = false;
      return Outcome::Done;
    }
    return Await(slot, std::prev(slot.sent.end()), result, until);
  }

  /// Whether a call of `key` that cannot hang, made by the caller itself, may go ahead (Done): the
  /// same refusals as Ask, for the other calls of a key whose hanging calls are stuck or quiet.
  Outcome Admit(const std::string& key, bool reask) {
    const auto it = slots_.find(key);
    if (it == slots_.end()) return Outcome::Done;
    Drain(it->second);
    if (Stuck(it->second)) return Outcome::NoAnswer;
    if (it->second.quiet && !reask) return Outcome::Declined;
    return Outcome::Done;
  }

  /// Calls started ahead and not collected are given up, except those of the keys in `keep`: a new
  /// round of questions begins.
  void DropAhead(const std::set<std::string>& keep = {}) {
    for (auto& [key, slot] : slots_) {
      if (keep.contains(key)) continue;
      for (Sent& sent : slot.sent) sent.awaited = false;
      std::erase_if(slot.sent, [](const Sent& s) { return s.result.has_value(); });
    }
  }

  /// Closes the channels of all keys not in `keep` and forgets those keys.
  void RetireAllBut(const std::set<std::string>& keep) {
    std::erase_if(slots_, [&](const auto& entry) { return !keep.contains(entry.first); });
  }

  Footprint footprint() const {
    Footprint footprint;
    footprint.keys = slots_.size();
    for (const auto& [key, slot] : slots_) footprint.calls += slot.sent.size();
    return footprint;
  }
  /// Channels opened so far.
  int ChannelsOpened() const { return channelsOpened_; }
  /// Keys with a call that ran out of time and has not come back yet.
  int StuckKeys() {
    int stuck = 0;
    for (auto& [key, slot] : slots_) {
      Drain(slot);
      if (Stuck(slot)) ++stuck;
    }
    return stuck;
  }

 private:
  struct Sent {
    Call call;
    TimePoint deadline;
    /// A question is still to collect it; otherwise its result, when it comes, is dropped.
    bool awaited = true;
    std::optional<Result> result;
  };
  struct Slot {
    std::unique_ptr<Channel> channel;
    /// Calls started and not collected, oldest first: the channel answers them in this order.
    std::deque<Sent> sent;
    bool quiet = false;
  };
  using SentIterator = typename std::deque<Sent>::iterator;

  // Collects the result of the oldest call without one, waiting until `deadline`. A broken channel
  // ends every call still out on it: they come back lost, and the key opens a new channel.
  bool CollectNext(Slot& slot, TimePoint deadline) {
    const auto next =
        std::find_if(slot.sent.begin(), slot.sent.end(), [](const Sent& s) { return !s.result; });
    if (next == slot.sent.end() || !slot.channel) return false;
    std::optional<Result> result = slot.channel->Collect(deadline);
    if (!result) return false;
    if (!result->lost) {
      next->result = std::move(result);
      return true;
    }
    for (auto it = next; it != slot.sent.end(); ++it) {
      it->result = Result{};
      it->result->ok = false;
      it->result->lost = true;
    }
    slot.channel.reset();
    return true;
  }

  // Takes in what has come back by now and forgets the calls whose callers gave up on them.
  void Drain(Slot& slot) {
    while (CollectNext(slot, clock_())) {
    }
    std::erase_if(slot.sent, [](const Sent& s) { return !s.awaited && s.result; });
  }

  // A call given up before its deadline (a round of questions that ended early) is not stuck yet.
  bool Stuck(const Slot& slot) const {
    const TimePoint now = clock_();
    return std::any_of(slot.sent.begin(), slot.sent.end(),
                       [&](const Sent& s) { return !s.awaited && !s.result && s.deadline <= now; });
  }

  bool Send(const std::string& key, Slot& slot, const Call& call) {
    if (!slot.channel) {
      slot.channel = open_(key);
      ++channelsOpened_;
    }
    if (!slot.channel || !slot.channel->Start(call)) return false;
    slot.sent.push_back(Sent{call, clock_() + limit_, true, std::nullopt});
    return true;
  }

  Outcome Await(Slot& slot, SentIterator sent, Result& result, std::optional<TimePoint> until) {
    // Earlier calls come back first; each keeps its result for its own question.
    const std::size_t index = static_cast<std::size_t>(sent - slot.sent.begin());
    const bool patient = !until || *until >= slot.sent[index].deadline;
    const TimePoint waitUntil = patient ? slot.sent[index].deadline : *until;
    while (!slot.sent[index].result && CollectNext(slot, waitUntil)) {
    }
    Sent& mine = slot.sent[index];
    if (!mine.result && !patient) return Outcome::Pending;
    if (!mine.result) {
      mine.awaited = false;
      slot.quiet = true;
      return Outcome::NoAnswer;
    }
    result = std::move(*mine.result);
    slot.sent.erase(slot.sent.begin() + static_cast<std::ptrdiff_t>(index));
    if (!result.lost) slot.quiet = false;
    result.ok = result.ok && !result.lost;
    return Outcome::Done;
  }

  KeyChannelOpener open_;
  std::chrono::milliseconds limit_;
  Clock clock_;
  std::map<std::string, Slot> slots_;
  int channelsOpened_ = 0;
};

}  // namespace volumetra

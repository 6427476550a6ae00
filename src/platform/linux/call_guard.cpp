#include "platform/linux/call_guard.h"

#include <algorithm>

namespace volumetra {

CallGuard::CallGuard(ChannelOpener open, std::chrono::milliseconds limit, Clock clock)
    : open_(std::move(open)), limit_(limit), clock_(std::move(clock)) {}

// Collects the result of the oldest call without one, waiting until `deadline`. A broken channel
// ends every call still out on it: they come back lost, and the key opens a new channel.
bool CallGuard::CollectNext(Slot& slot, TimePoint deadline) {
  const auto next = std::find_if(slot.sent.begin(), slot.sent.end(), [](const Sent& s) { return !s.result; });
  if (next == slot.sent.end() || !slot.channel) return false;
  std::optional<HangingCallResult> result = slot.channel->Collect(deadline);
  if (!result) return false;
  if (!result->lost) {
    next->result = std::move(result);
    return true;
  }
  for (auto it = next; it != slot.sent.end(); ++it) {
    it->result = HangingCallResult{};
    it->result->kind = it->call.kind;
    it->result->lost = true;
  }
  slot.channel.reset();
  return true;
}

// Takes in what has come back by now and forgets the calls whose callers gave up on them.
void CallGuard::Drain(Slot& slot) {
  while (CollectNext(slot, clock_())) {
  }
  std::erase_if(slot.sent, [](const Sent& s) { return !s.awaited && s.result; });
}

// A call given up before its deadline (a round of questions that ended early) is not stuck yet.
bool CallGuard::Stuck(const Slot& slot) const {
  const TimePoint now = clock_();
  return std::any_of(slot.sent.begin(), slot.sent.end(),
                     [&](const Sent& s) { return !s.awaited && !s.result && s.deadline <= now; });
}

bool CallGuard::Send(Slot& slot, const HangingCall& call) {
  if (!slot.channel) {
    slot.channel = open_();
    ++channelsOpened_;
  }
  if (!slot.channel || !slot.channel->Start(call)) return false;
  slot.sent.push_back(Sent{call, clock_() + limit_, true, std::nullopt});
  return true;
}

CallGuard::Outcome CallGuard::Await(Slot& slot, std::deque<Sent>::iterator sent, HangingCallResult& result) {
  // Earlier calls come back first; each keeps its result for its own question.
  const std::size_t index = static_cast<std::size_t>(sent - slot.sent.begin());
  while (!slot.sent[index].result && CollectNext(slot, slot.sent[index].deadline)) {
  }
  Sent& mine = slot.sent[index];
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

void CallGuard::StartAhead(const std::string& key, const HangingCall& call, bool reask) {
  Slot& slot = slots_[key];
  Drain(slot);
  if (Stuck(slot) || (slot.quiet && !reask)) return;
  if (std::any_of(slot.sent.begin(), slot.sent.end(),
                  [&](const Sent& s) { return s.awaited && s.call == call; }))
    return;
  Send(slot, call);
}

CallGuard::Outcome CallGuard::Ask(const std::string& key, const HangingCall& call, bool reask,
                                  HangingCallResult& result) {
  Slot& slot = slots_[key];
  Drain(slot);
  const auto ahead = std::find_if(slot.sent.begin(), slot.sent.end(),
                                  [&](const Sent& s) { return s.awaited && s.call == call; });
  if (ahead != slot.sent.end()) return Await(slot, ahead, result);
  if (Stuck(slot)) return Outcome::NoAnswer;
  if (slot.quiet && !reask) return Outcome::Declined;
  if (!Send(slot, call)) {
    result = HangingCallResult{};
    result.kind = call.kind;
    return Outcome::Done;
  }
  return Await(slot, std::prev(slot.sent.end()), result);
}

CallGuard::Outcome CallGuard::Admit(const std::string& key, bool reask) {
  const auto it = slots_.find(key);
  if (it == slots_.end()) return Outcome::Done;
  Drain(it->second);
  if (Stuck(it->second)) return Outcome::NoAnswer;
  if (it->second.quiet && !reask) return Outcome::Declined;
  return Outcome::Done;
}

void CallGuard::DropAhead() {
  for (auto& [key, slot] : slots_) {
    for (Sent& sent : slot.sent) sent.awaited = false;
    std::erase_if(slot.sent, [](const Sent& s) { return s.result.has_value(); });
  }
}

void CallGuard::RetireAllBut(const std::set<std::string>& keep) {
  std::erase_if(slots_, [&](const auto& entry) { return !keep.contains(entry.first); });
}

CallGuard::Footprint CallGuard::footprint() const {
  Footprint footprint;
  footprint.keys = slots_.size();
  for (const auto& [key, slot] : slots_) footprint.calls += slot.sent.size();
  return footprint;
}

int CallGuard::StuckKeys() {
  int stuck = 0;
  for (auto& [key, slot] : slots_) {
    Drain(slot);
    if (Stuck(slot)) ++stuck;
  }
  return stuck;
}

}  // namespace volumetra

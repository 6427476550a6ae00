#pragma once

#include <chrono>
#include <optional>

namespace volumetra {

/// Where calls that can hang run for one key (a mount, a network drive), away from the caller, so
/// that a call that never returns holds nothing of the caller's: on a thread, or in a helper
/// process. Calls are answered one after another, in the order they were started. Used from one
/// thread. A `Result` says whether the call was made (`ok`) and whether the channel broke before the
/// call came back (`lost`); see CallGuard.
template <typename Call, typename Result>
class CallChannel {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  virtual ~CallChannel() = default;

  /// Starts `call` behind the calls started before. False when the channel cannot take it.
  virtual bool Start(const Call& call) = 0;

  /// The result of the oldest call started and not collected yet, waiting for it until
  /// `deadline` at most; nullopt when it has not come by then. A deadline that has passed only
  /// collects a result that is already there.
  virtual std::optional<Result> Collect(TimePoint deadline) = 0;
};

}  // namespace volumetra

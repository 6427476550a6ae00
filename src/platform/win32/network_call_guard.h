#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>

namespace volumetra {

/// Runs system calls that can hang (a volume query of a dead network server) on one worker thread per key
/// (per mount) and waits for each at most a fixed time. A call that runs out of time starts a
/// cool-down of its key: every later call of that key fails at once, starting nothing and waiting
/// for nothing, until the cool-down has passed since the time-out and the stuck call has
/// returned. So a dead or very slow server costs the caller one wait per cool-down, and threads
/// and memory stay bounded however long it stays dead. Workers are detached and share their state
/// with the guard: destroying the guard never waits for a stuck call. Meant for one calling thread.
class NetworkCallGuard {
 public:
  using SteadyClock = std::function<std::chrono::steady_clock::time_point()>;

  /// The time-out reset period of the program: a time-out costs at most one wait this often.
  static constexpr std::chrono::milliseconds kDefaultCoolDown{65535};

  /// `clock` tells the time the cool-down is measured on; called on the calling thread only.
  explicit NetworkCallGuard(std::chrono::milliseconds limit,
                            std::chrono::milliseconds coolDown = kDefaultCoolDown,
                            SteadyClock clock = std::chrono::steady_clock::now);
  ~NetworkCallGuard();
  NetworkCallGuard(const NetworkCallGuard&) = delete;
  NetworkCallGuard& operator=(const NetworkCallGuard&) = delete;

  /// Runs `call` on the worker of `key`. True when it finished within the limit. False when it
  /// did not (the cool-down of `key` starts), when `key` is cooling down (then `call` is not
  /// run), or when no thread could be started. `call` may still run after a false return, so it
  /// must own (or share) everything it touches.
  bool Run(const std::string& key, std::function<void()> call);

  /// Runs `call`, which cannot hang, on the calling thread, unless `key` is cooling down (then
  /// false, and `call` is not run).
  template <typename Call>
  bool RunHere(const std::string& key, Call&& call) {
    if (CoolingDown(key)) return false;
    std::forward<Call>(call)();
    return true;
  }

  /// Ends the workers of all keys not in `keep` (a worker stuck in a call ends when it returns)
  /// and forgets their cool-downs.
  void RetireAllBut(const std::set<std::string>& keep);

  /// Worker threads started so far.
  int WorkersStarted() const { return workersStarted_; }

  /// Calls that ran out of time and have not returned yet.
  int StuckCalls() const;

 private:
  struct Worker;
  /// What the calling thread keeps about one key.
  struct Slot {
    std::shared_ptr<Worker> worker;
    std::optional<std::chrono::steady_clock::time_point> timedOutAt;
  };

  static void Serve(const std::shared_ptr<Worker>& worker);
  static void Retire(Worker& worker);
  bool CoolingDown(Slot& slot);
  bool CoolingDown(const std::string& key);

  std::chrono::milliseconds limit_;
  std::chrono::milliseconds coolDown_;
  SteadyClock clock_;
  std::map<std::string, Slot> slots_;
  int workersStarted_ = 0;
};

}  // namespace volumetra

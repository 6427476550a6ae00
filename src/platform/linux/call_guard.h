#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

namespace volumetra {

/// Runs system calls that can hang (statvfs on a dead NFS server) on one worker thread per key
/// (per mount) and waits for each at most a fixed time. While a call of a key is still running
/// after its time ran out, further calls of that key fail at once and start nothing, so threads
/// and memory stay bounded however long a server stays dead; when the stuck call returns, the
/// key works again. Workers are detached and share their state with the guard: destroying the
/// guard never waits for a stuck call. Run() is meant for one calling thread.
class CallGuard {
 public:
  explicit CallGuard(std::chrono::milliseconds limit) : limit_(limit) {}
  ~CallGuard();
  CallGuard(const CallGuard&) = delete;
  CallGuard& operator=(const CallGuard&) = delete;

  /// Runs `call` on the worker of `key`. True when it finished within the limit. False when it
  /// did not, when an earlier call of `key` is still running (then `call` is not run), or when no
  /// thread could be started. `call` may still run after a false return, so it must own (or
  /// share) everything it touches.
  bool Run(const std::string& key, std::function<void()> call);

  /// Ends the workers of all keys not in `keep` (a worker stuck in a call ends when it returns).
  void RetireAllBut(const std::set<std::string>& keep);

  /// Worker threads started so far.
  int WorkersStarted() const { return workersStarted_; }

 private:
  struct Worker;
  static void Serve(const std::shared_ptr<Worker>& worker);
  static void Retire(Worker& worker);

  std::chrono::milliseconds limit_;
  std::map<std::string, std::shared_ptr<Worker>> workers_;
  int workersStarted_ = 0;
};

}  // namespace volumetra

#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace volumetra {

/// What a call of the BlockingServer answers: its text, and the thread that made it.
struct EchoAnswer {
  bool ok = false;
  bool lost = false;
  std::string text;
  std::thread::id thread;
};

/// Calls that echo their text, each blocking while the server is held, as those of a dead network
/// server do until a test lets them return.
struct BlockingServer {
  std::mutex mutex;
  std::condition_variable released;
  bool held = false;
  std::atomic<int> calls{0};

  EchoAnswer Call(const std::string& text) {
    ++calls;
    std::unique_lock lock(mutex);
    released.wait(lock, [this] { return !held; });
    return {true, false, text, std::this_thread::get_id()};
  }
  void Hold(bool hold) {
    std::lock_guard lock(mutex);
    held = hold;
    released.notify_all();
  }
};

/// `wait` from now on the steady clock.
inline std::chrono::steady_clock::time_point In(std::chrono::milliseconds wait) {
  return std::chrono::steady_clock::now() + wait;
}

}  // namespace volumetra

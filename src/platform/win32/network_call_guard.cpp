#include "platform/win32/network_call_guard.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace volumetra {

struct NetworkCallGuard::Worker {
  std::mutex mutex;
  std::condition_variable wake;      // a call or the retirement arrived
  std::condition_variable finished;  // the running call returned
  std::function<void()> call;
  bool busy = false;
  bool retired = false;
};

NetworkCallGuard::NetworkCallGuard(std::chrono::milliseconds limit, std::chrono::milliseconds coolDown,
                                   SteadyClock clock)
    : limit_(limit), coolDown_(coolDown), clock_(std::move(clock)) {}

void NetworkCallGuard::Serve(const std::shared_ptr<Worker>& worker) {
  std::unique_lock lock(worker->mutex);
  for (;;) {
    worker->wake.wait(lock, [&] { return worker->call || worker->retired; });
    if (!worker->call) return;
    std::function<void()> call = std::move(worker->call);
    worker->call = nullptr;
    lock.unlock();
    call();
    call = nullptr;  // release what the call holds before reporting it done
    lock.lock();
    worker->busy = false;
    worker->finished.notify_all();
  }
}

void NetworkCallGuard::Retire(Worker& worker) {
  std::lock_guard lock(worker.mutex);
  worker.retired = true;
  worker.wake.notify_one();
}

NetworkCallGuard::~NetworkCallGuard() {
  for (auto& [key, slot] : slots_) Retire(*slot.worker);
}

// Only a call that timed out leaves a worker busy, so a slot without a time-out is never busy.
bool NetworkCallGuard::CoolingDown(Slot& slot) {
  if (!slot.timedOutAt) return false;
  if (clock_() - *slot.timedOutAt < coolDown_) return true;
  std::lock_guard lock(slot.worker->mutex);
  if (slot.worker->busy) return true;
  slot.timedOutAt.reset();
  return false;
}

bool NetworkCallGuard::Run(const std::string& key, std::function<void()> call) {
  Slot& slot = slots_[key];
  if (CoolingDown(slot)) return false;
  if (!slot.worker) {
    auto fresh = std::make_shared<Worker>();
    try {
      std::thread([fresh] { Serve(fresh); }).detach();
    } catch (const std::system_error&) {
      slots_.erase(key);
      return false;
    }
    ++workersStarted_;
    slot.worker = std::move(fresh);
  }
  Worker& worker = *slot.worker;
  std::unique_lock lock(worker.mutex);
  worker.busy = true;
  worker.call = std::move(call);
  worker.wake.notify_one();
  if (worker.finished.wait_for(lock, limit_, [&] { return !worker.busy; })) return true;
  slot.timedOutAt = clock_();
  return false;
}

bool NetworkCallGuard::CoolingDown(const std::string& key) {
  const auto it = slots_.find(key);
  return it != slots_.end() && CoolingDown(it->second);
}

int NetworkCallGuard::StuckCalls() const {
  int stuck = 0;
  for (const auto& [key, slot] : slots_) {
    std::lock_guard lock(slot.worker->mutex);
    if (slot.worker->busy) ++stuck;
  }
  return stuck;
}

void NetworkCallGuard::RetireAllBut(const std::set<std::string>& keep) {
  for (auto it = slots_.begin(); it != slots_.end();) {
    if (keep.contains(it->first)) {
      ++it;
    } else {
      Retire(*it->second.worker);
      it = slots_.erase(it);
    }
  }
}

}  // namespace volumetra

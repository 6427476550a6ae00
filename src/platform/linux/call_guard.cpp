#include "platform/linux/call_guard.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace volumetra {

struct CallGuard::Worker {
  std::mutex mutex;
  std::condition_variable wake;      // a call or the retirement arrived
  std::condition_variable finished;  // the running call returned
  std::function<void()> call;
  bool busy = false;
  bool retired = false;
};

void CallGuard::Serve(const std::shared_ptr<Worker>& worker) {
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

void CallGuard::Retire(Worker& worker) {
  std::lock_guard lock(worker.mutex);
  worker.retired = true;
  worker.wake.notify_one();
}

CallGuard::~CallGuard() {
  for (auto& [key, worker] : workers_) Retire(*worker);
}

bool CallGuard::Run(const std::string& key, std::function<void()> call) {
  std::shared_ptr<Worker>& worker = workers_[key];
  if (!worker) {
    auto fresh = std::make_shared<Worker>();
    try {
      std::thread([fresh] { Serve(fresh); }).detach();
    } catch (const std::system_error&) {
      workers_.erase(key);
      return false;
    }
    ++workersStarted_;
    worker = std::move(fresh);
  }
  std::unique_lock lock(worker->mutex);
  if (worker->busy) return false;
  worker->busy = true;
  worker->call = std::move(call);
  worker->wake.notify_one();
  return worker->finished.wait_for(lock, limit_, [&] { return !worker->busy; });
}

void CallGuard::RetireAllBut(const std::set<std::string>& keep) {
  for (auto it = workers_.begin(); it != workers_.end();) {
    if (keep.contains(it->first)) {
      ++it;
    } else {
      Retire(*it->second);
      it = workers_.erase(it);
    }
  }
}

}  // namespace volumetra

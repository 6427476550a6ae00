#pragma once

#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace volumetra {

/// Turns SIGTERM, SIGINT and SIGHUP into a call of `onSignal` on the event loop's thread, through
/// a pipe that the signal handler writes to and a socket notifier reads. One instance at a time;
/// the default handling comes back when it goes.
class TerminationSignals {
 public:
  explicit TerminationSignals(std::function<void()> onSignal);
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

 private:
  void drain();

  std::function<void()> onSignal_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace volumetra

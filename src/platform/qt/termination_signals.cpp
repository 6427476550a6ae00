#include "platform/qt/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace volumetra {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The signal handler can reach nothing but this pipe.
int gPipe[2] = {-1, -1};

extern "C" void OnTerminationSignal(int signal) {
  const int savedErrno = errno;
  const char byte = static_cast<char>(signal);
  // A full pipe already holds a pending request.
  [[maybe_unused]] const ssize_t written = ::write(gPipe[1], &byte, 1);
  errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
  if (::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0)
    throw std::runtime_error("no pipe for termination signals");
  notifier_ = std::make_unique<QSocketNotifier>(gPipe[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { drain(); });
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
  for (int signal : kSignals) std::signal(signal, SIG_DFL);
  notifier_.reset();
  ::close(gPipe[0]);
  ::close(gPipe[1]);
  gPipe[0] = gPipe[1] = -1;
}

void TerminationSignals::drain() {
  char buffer[16];
  while (::read(gPipe[0], buffer, sizeof buffer) > 0) {
  }
  onSignal_();
}

}  // namespace volumetra

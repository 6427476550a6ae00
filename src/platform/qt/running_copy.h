#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>

#include "platform/later_start.h"

namespace volumetra {

/// The first running copy's ear for later starts: a local socket on which a later start asks it
/// to raise its main window ("raise <activation token>\n") and hears "raised\n" once it has.
class RaiseRequestServer : public QObject {
 public:
  /// Listens at `socketPath`, in place of a socket a copy left behind when it was killed: only the
  /// holder of the instance lock makes one. `raise` runs on the event loop with the desktop's
  /// activation token of the later start (empty when it had none) and tells whether it raised the
  /// window; when it did not (the copy is ending), the request goes unanswered.
  RaiseRequestServer(const QString& socketPath, std::function<bool(const QByteArray& token)> raise);

  bool listening() const { return server_.isListening(); }

 private:
  void answer(QLocalSocket& socket);

  QLocalServer server_;
  std::function<bool(const QByteArray& token)> raise_;
};

/// Asks the copy that listens at `socketPath` to raise its main window, passing `token`, until it
/// answers or `tryLock` succeeds (that copy has ended), for at most `patience`. A copy that is
/// still starting up or busy for a moment is asked again.
LaterStart AskRunningCopyToRaise(const QString& socketPath, const QByteArray& token,
                                 const std::function<bool()>& tryLock, std::chrono::milliseconds patience);

}  // namespace volumetra

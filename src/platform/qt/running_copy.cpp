#include "platform/qt/running_copy.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>
#include <algorithm>
#include <optional>

namespace volumetra {
namespace {

constexpr char kRaise[] = "raise";
constexpr char kRaised[] = "raised\n";
/// The longest request taken: "raise", a space, a token and the line end. A desktop's activation
/// token is far shorter; a longer line is no request of ours.
constexpr qint64 kLongestRequest = 1024;
/// How long a start waits before it asks a copy that is not listening yet again.
constexpr std::chrono::milliseconds kRetryPause{50};

/// An activation token is passed on only when it is printable ASCII without spaces, so that it
/// can neither break the request line nor carry anything else.
bool IsPassableToken(const QByteArray& token) {
  return std::all_of(token.begin(), token.end(), [](char c) { return c >= 0x21 && c <= 0x7e; });
}

/// The token of a request line ("raise" or "raise <token>", ended by "\n"), or nothing when the
/// line is no raise request. A token that cannot be passed on is dropped.
std::optional<QByteArray> TokenOf(QByteArray line) {
  if (!line.endsWith('\n')) return std::nullopt;
  line.chop(1);
  const QList<QByteArray> words = line.split(' ');
  if (words.front() != kRaise || words.size() > 2) return std::nullopt;
  const QByteArray token = words.size() == 2 ? words.back() : QByteArray();
  return IsPassableToken(token) ? token : QByteArray();
}

}  // namespace

RaiseRequestServer::RaiseRequestServer(const QString& socketPath,
                                       std::function<bool(const QByteArray& token)> raise)
    : raise_(std::move(raise)) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  QLocalServer::removeServer(socketPath);
  server_.listen(socketPath);
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(*socket); });
      if (socket->bytesAvailable() > 0) answer(*socket);
    }
  });
}

void RaiseRequestServer::answer(QLocalSocket& socket) {
  if (!socket.canReadLine()) {
    if (socket.bytesAvailable() > kLongestRequest) socket.abort();
    return;
  }
  const std::optional<QByteArray> token = TokenOf(socket.readLine(kLongestRequest));
  if (!token || !raise_(*token)) {
    socket.abort();
    return;
  }
  socket.write(kRaised);
  socket.disconnectFromServer();
}

LaterStart AskRunningCopyToRaise(const QString& socketPath, const QByteArray& token,
                                 const std::function<bool()>& tryLock, std::chrono::milliseconds patience) {
  const QDeadlineTimer deadline(patience);
  const auto remaining = [&deadline] {
    return static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0));
  };
  do {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (socket.waitForConnected(remaining())) {
      const bool withToken = !token.isEmpty() && IsPassableToken(token);
      socket.write(QByteArray(kRaise) + (withToken ? " " + token : QByteArray()) + "\n");
      QByteArray reply;
      while (!reply.endsWith('\n') && reply.size() < kLongestRequest &&
             (socket.bytesAvailable() > 0 || socket.waitForReadyRead(remaining())))
        reply += socket.readAll();
      if (reply == kRaised) return LaterStart::Raised;
    }
    // Not listening yet, or gone while it answered: ask again, unless it has ended for good.
    if (tryLock()) return LaterStart::LockTaken;
    QThread::msleep(static_cast<unsigned long>(std::min<qint64>(kRetryPause.count(), remaining())));
  } while (!deadline.hasExpired());
  return LaterStart::Unanswered;
}

}  // namespace volumetra

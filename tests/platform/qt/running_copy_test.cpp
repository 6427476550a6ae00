#include "platform/qt/running_copy.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLocalSocket>
#include <QTest>
#include <QThread>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/qt/qt_machine.h"

namespace volumetra {
namespace {

using namespace std::chrono_literals;

struct RunningCopyTest : ::testing::Test {
  RunningCopyTest() { EnsureQtApplication(); }

  QString socketPath() const { return QString::fromStdString(dir.str() + "/copy.socket"); }

  /// Sends `request` as a later start would and waits for the server's reply or the end of the
  /// connection; returns what came back.
  QByteArray ask(const QByteArray& request) {
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    EXPECT_TRUE(socket.waitForConnected(1000));
    socket.write(request);
    QByteArray reply;
    const bool ended = QTest::qWaitFor(
        [&] {
          reply += socket.readAll();
          return reply.endsWith('\n') || socket.state() == QLocalSocket::UnconnectedState;
        },
        5000);
    EXPECT_TRUE(ended);
    return reply + socket.readAll();
  }

  TempDir dir;
  std::vector<QByteArray> raised;
  bool willRaise = true;
};

TEST_F(RunningCopyTest, ARaiseRequestRaisesAndIsAnswered) {
  RaiseRequestServer server(socketPath(), [this](const QByteArray& token) {
    raised.push_back(token);
    return willRaise;
  });
  ASSERT_TRUE(server.listening());
  EXPECT_EQ(ask("raise\n"), "raised\n");
  EXPECT_EQ(ask("raise 0a1b-token_42\n"), "raised\n");
  EXPECT_EQ(raised, (std::vector<QByteArray>{"", "0a1b-token_42"}));

  // A request split over several writes is read once its line is whole.
  QLocalSocket socket;
  socket.connectToServer(socketPath());
  ASSERT_TRUE(socket.waitForConnected(1000));
  socket.write("rai");
  socket.flush();
  QTest::qWait(50);
  EXPECT_EQ(raised.size(), 2u);
  socket.write("se\n");
  EXPECT_TRUE(QTest::qWaitFor([&] { return raised.size() == 3; }, 5000));
}

TEST_F(RunningCopyTest, WhatIsNoRaiseRequestIsCutOffUnanswered) {
  RaiseRequestServer server(socketPath(), [this](const QByteArray& token) {
    raised.push_back(token);
    return true;
  });
  EXPECT_EQ(ask("hello\n"), "");
  EXPECT_EQ(ask("raised\n"), "");
  EXPECT_EQ(ask("raise a b\n"), "");
  EXPECT_EQ(ask(QByteArray(2000, 'r')), "");  // no line end within the longest request
  EXPECT_TRUE(raised.empty());
  // A token with control characters raises the window without passing them on.
  EXPECT_EQ(ask("raise bad\x01token\n"), "raised\n");
  EXPECT_EQ(raised, std::vector<QByteArray>{""});
}

TEST_F(RunningCopyTest, ACopyThatIsEndingLeavesTheRequestUnanswered) {
  willRaise = false;
  RaiseRequestServer server(socketPath(), [this](const QByteArray& token) {
    raised.push_back(token);
    return willRaise;
  });
  EXPECT_EQ(ask("raise\n"), "");
  EXPECT_EQ(raised.size(), 1u);
}

TEST_F(RunningCopyTest, TheSocketOfAKilledCopyIsReplaced) {
  // A bound socket file without a listener, as a copy ended by SIGKILL leaves it.
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = socketPath().toStdString();
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  ::close(fd);

  RaiseRequestServer server(socketPath(), [](const QByteArray&) { return true; });
  ASSERT_TRUE(server.listening());
  EXPECT_EQ(ask("raise\n"), "raised\n");
}

TEST_F(RunningCopyTest, ALaterStartAsksTheCopyInAnotherThreadAndPassesItsToken) {
  // The running copy's event loop runs in a thread of its own here, as in another process.
  QThread copy;
  copy.start();
  QObject anchor;
  anchor.moveToThread(&copy);
  std::unique_ptr<RaiseRequestServer> server;
  QMetaObject::invokeMethod(
      &anchor,
      [&] {
        server = std::make_unique<RaiseRequestServer>(socketPath(), [this](const QByteArray& token) {
          raised.push_back(token);
          return true;
        });
      },
      Qt::BlockingQueuedConnection);
  int lockTries = 0;
  EXPECT_EQ(AskRunningCopyToRaise(
                socketPath(), "wayland-token", [&] { return ++lockTries > 100; }, 5s),
            LaterStart::Raised);
  // A token that would break the request line is not passed on; the window is raised all the same.
  EXPECT_EQ(AskRunningCopyToRaise(
                socketPath(), "two words\nraise", [&] { return ++lockTries > 100; }, 5s),
            LaterStart::Raised);
  QMetaObject::invokeMethod(
      &anchor, [&] { server.reset(); }, Qt::BlockingQueuedConnection);
  copy.quit();
  copy.wait();
  EXPECT_EQ(raised, (std::vector<QByteArray>{"wayland-token", ""}));
  EXPECT_EQ(lockTries, 0);
}

TEST_F(RunningCopyTest, ALaterStartTakesTheLockWhenTheCopyHasEndedOrGivesUp) {
  int lockTries = 0;
  EXPECT_EQ(AskRunningCopyToRaise(
                socketPath(), "", [&] { return ++lockTries == 3; }, 5s),
            LaterStart::LockTaken);
  EXPECT_EQ(lockTries, 3);
  EXPECT_EQ(AskRunningCopyToRaise(
                socketPath(), "", [] { return false; }, 300ms),
            LaterStart::Unanswered);
}

}  // namespace
}  // namespace volumetra

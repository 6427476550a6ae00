#pragma once

#include <sys/types.h>

#include <QRect>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QDBusConnection;

namespace volumetra {

/// One object that assistive tools see in a running program: what they read as its name (a
/// label's text) and its description (a tool tip), and where it is on the screen.
struct Accessible {
  QString name;
  QString description;
  QRect extents;
};

/// A desktop of a test's own for the real program: an X display (Xvfb) and a D-Bus session bus
/// with the accessibility bus on it, so that a test can tell when a window is mapped and read what
/// the windows show as assistive tools read it. Both end with the object.
class DesktopSession {
 public:
  /// Why there can be no such desktop here (a program missing); empty when there can.
  static std::string Unavailable();

  /// Starts the display and the bus; started() tells whether that worked. `runtime` is the
  /// runtime directory of the session's programs (the accessibility bus puts its socket there).
  explicit DesktopSession(const std::string& runtime);
  ~DesktopSession();
  DesktopSession(const DesktopSession&) = delete;
  DesktopSession& operator=(const DesktopSession&) = delete;

  bool started() const { return started_; }
  /// Starts `program` on the session's display and bus, with its accessibility on and `variables`
  /// added to this process's environment. The process, or -1.
  pid_t Start(const std::string& program, std::map<std::string, std::string> variables) const;

  /// A top-level window titled `title` is mapped and viewable.
  bool WindowMapped(const std::string& title) const;
  /// Every object of every program on the accessibility bus whose name `wanted` accepts; its
  /// description and extents are asked for those only.
  std::vector<Accessible> Accessibles(const std::function<bool(const QString&)>& wanted) const;

 private:
  pid_t display_ = -1;
  pid_t bus_ = -1;
  std::string displayName_;
  std::string busAddress_;
  std::string runtime_;
  std::unique_ptr<QDBusConnection> accessibility_;
  bool started_ = false;
};

/// Milliseconds since process `pid` was started (forked), by the kernel's clock; -1 when it is
/// gone.
double MillisecondsSinceStart(pid_t pid);

}  // namespace volumetra

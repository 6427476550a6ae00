#include "platform/qt/desktop_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

extern char** environ;

namespace {

/// A reference to an accessible object: the bus name of its program and its object path.
struct AccessibleRef {
  QString service;
  QDBusObjectPath path;
};

}  // namespace

Q_DECLARE_METATYPE(AccessibleRef)

namespace {

QDBusArgument& operator<<(QDBusArgument& argument, const AccessibleRef& ref) {
  argument.beginStructure();
  argument << ref.service << ref.path;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, AccessibleRef& ref) {
  argument.beginStructure();
  argument >> ref.service >> ref.path;
  argument.endStructure();
  return argument;
}

}  // namespace

namespace volumetra {
namespace {

constexpr const char* kPrograms[] = {"/usr/bin/Xvfb", "/usr/bin/dbus-daemon", "/usr/bin/xwininfo",
                                     "/usr/libexec/at-spi-bus-launcher"};
constexpr int kReadyDescriptor = 3;
constexpr int kReadyTimeoutMs = 10000;
constexpr const char* kRegistry = "org.a11y.atspi.Registry";
constexpr const char* kRoot = "/org/a11y/atspi/accessible/root";
constexpr const char* kAccessible = "org.a11y.atspi.Accessible";

// Starts `arguments` with `variables` added to this process's environment, with `actions` on its
// descriptors. The process, or -1.
pid_t Spawn(const std::vector<std::string>& arguments, const std::map<std::string, std::string>& variables,
            const posix_spawn_file_actions_t* actions) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    if (!variables.contains(text.substr(0, text.find('=')))) environment.push_back(text);
  }
  for (const auto& [name, value] : variables) environment.push_back(name + "=" + value);
  std::vector<char*> envp, argv;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::vector<std::string> copies = arguments;
  for (std::string& argument : copies) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  return posix_spawn(&pid, argv[0], actions, nullptr, argv.data(), envp.data()) == 0 ? pid : -1;
}

// Starts `arguments` as Spawn does; the program writes one line to descriptor 3 once it is ready
// (Xvfb's display, dbus-daemon's address), which is read into `line`. The process, or -1.
pid_t StartTellingLine(const std::vector<std::string>& arguments,
                       const std::map<std::string, std::string>& variables, std::string& line) {
  int ready[2];
  if (pipe2(ready, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ready[1], kReadyDescriptor);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const pid_t pid = Spawn(arguments, variables, &actions);
  posix_spawn_file_actions_destroy(&actions);
  close(ready[1]);
  if (pid < 0) {
    close(ready[0]);
    return -1;
  }
  line.clear();
  for (char c = 0; line.empty() || line.back() != '\n';) {
    pollfd readable{ready[0], POLLIN, 0};
    if (poll(&readable, 1, kReadyTimeoutMs) != 1 || read(ready[0], &c, 1) != 1) break;
    line += c;
  }
  close(ready[0]);
  if (!line.empty() && line.back() == '\n') {
    line.pop_back();
    return pid;
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return -1;
}

void End(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

QDBusMessage Call(const QDBusConnection& bus, const QString& service, const QString& path,
                  const QString& interface, const QString& method, const QVariantList& arguments = {}) {
  QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
  message.setArguments(arguments);
  return QDBusConnection(bus).call(message, QDBus::Block, 5000);
}

QList<AccessibleRef> Children(const QDBusConnection& bus, const AccessibleRef& of) {
  const QDBusMessage reply = Call(bus, of.service, of.path.path(), kAccessible, "GetChildren");
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
  return qdbus_cast<QList<AccessibleRef>>(reply.arguments().first());
}

QString Property(const QDBusConnection& bus, const AccessibleRef& of, const QString& name) {
  const QDBusMessage reply =
      Call(bus, of.service, of.path.path(), "org.freedesktop.DBus.Properties", "Get", {kAccessible, name});
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
  return qdbus_cast<QDBusVariant>(reply.arguments().first()).variant().toString();
}

QRect Extents(const QDBusConnection& bus, const AccessibleRef& of) {
  constexpr unsigned kScreenCoordinates = 0;
  const QDBusMessage reply = Call(bus, of.service, of.path.path(), "org.a11y.atspi.Component", "GetExtents",
                                  {QVariant::fromValue(kScreenCoordinates)});
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
  int x = 0, y = 0, width = 0, height = 0;
  const QDBusArgument rectangle = reply.arguments().first().value<QDBusArgument>();
  rectangle.beginStructure();
  rectangle >> x >> y >> width >> height;
  rectangle.endStructure();
  return {x, y, width, height};
}

}  // namespace

std::string DesktopSession::Unavailable() {
  for (const char* program : kPrograms)
    if (access(program, X_OK) != 0) return std::string(program) + " is not installed";
  return {};
}

DesktopSession::DesktopSession(const std::string& runtime) : runtime_(runtime) {
  qDBusRegisterMetaType<AccessibleRef>();
  qDBusRegisterMetaType<QList<AccessibleRef>>();
  std::string number;
  display_ = StartTellingLine({"/usr/bin/Xvfb", "-displayfd", std::to_string(kReadyDescriptor), "-screen",
                               "0", "1280x1024x24", "-nolisten", "tcp"},
                              {}, number);
  if (display_ < 0) return;
  displayName_ = ":" + number;
  // The accessibility bus is started by the session bus when first asked for, with its variables.
  bus_ = StartTellingLine({"/usr/bin/dbus-daemon", "--session", "--nofork", "--nopidfile",
                           "--print-address=" + std::to_string(kReadyDescriptor)},
                          {{"DISPLAY", displayName_}, {"XDG_RUNTIME_DIR", runtime_}}, busAddress_);
  if (bus_ < 0) return;
  const QDBusConnection session =
      QDBusConnection::connectToBus(QString::fromStdString(busAddress_), "volumetra-test-session");
  const QDBusMessage address = Call(session, "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress");
  QDBusConnection::disconnectFromBus("volumetra-test-session");
  if (address.type() != QDBusMessage::ReplyMessage || address.arguments().isEmpty()) return;
  accessibility_ = std::make_unique<QDBusConnection>(
      QDBusConnection::connectToBus(address.arguments().first().toString(), "volumetra-test-accessibility"));
  // The registry is started now, so that programs started later find it.
  started_ = accessibility_->isConnected() &&
             Call(*accessibility_, kRegistry, kRoot, kAccessible, "GetChildren").type() ==
                 QDBusMessage::ReplyMessage;
}

DesktopSession::~DesktopSession() {
  accessibility_.reset();
  QDBusConnection::disconnectFromBus("volumetra-test-accessibility");
  // The accessibility bus and its registry end when the session bus they serve is gone.
  End(bus_);
  End(display_);
}

pid_t DesktopSession::Start(const std::string& program, std::map<std::string, std::string> variables) const {
  variables.insert({{"DISPLAY", displayName_},
                    {"QT_QPA_PLATFORM", "xcb"},
                    {"DBUS_SESSION_BUS_ADDRESS", busAddress_},
                    {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1"},
                    {"XDG_RUNTIME_DIR", runtime_}});
  return Spawn({program}, variables, nullptr);
}

bool DesktopSession::WindowMapped(const std::string& title) const {
  const std::string command =
      "/usr/bin/xwininfo -display " + displayName_ + " -name '" + title + "' 2>/dev/null";
  FILE* output = popen(command.c_str(), "r");
  if (output == nullptr) return false;
  std::string text;
  char chunk[512];
  while (std::fgets(chunk, sizeof chunk, output) != nullptr) text += chunk;
  pclose(output);
  return text.find("Map State: IsViewable") != std::string::npos;
}

std::vector<Accessible> DesktopSession::Accessibles(const std::function<bool(const QString&)>& wanted) const {
  std::vector<Accessible> found;
  if (!accessibility_) return found;
  const std::function<void(const AccessibleRef&)> walk = [&](const AccessibleRef& node) {
    const QString name = Property(*accessibility_, node, "Name");
    if (wanted(name))
      found.push_back({name, Property(*accessibility_, node, "Description"), Extents(*accessibility_, node)});
    for (const AccessibleRef& child : Children(*accessibility_, node)) walk(child);
  };
  for (const AccessibleRef& program : Children(*accessibility_, {kRegistry, QDBusObjectPath(kRoot)}))
    walk(program);
  return found;
}

double MillisecondsSinceStart(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
  std::string stat;
  if (!std::getline(file, stat)) return -1;
  // The fields after the command name (which may hold spaces), from the state on: the start time
  // is the 22nd field of the line, the 20th after the name.
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  std::string field;
  for (int i = 0; i < 20 && fields >> field; ++i) {
  }
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  const double startSeconds = std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
  return (static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9 - startSeconds) * 1000;
}

}  // namespace volumetra

#pragma once

#include <memory>
#include <utility>

namespace volumetra {

/// What a form's window view keeps to tell its own writes to the window from the user's, and to
/// know whether it still exists after calling into the model (a handler may unload the form, and
/// its view with it).
class ViewGuards {
 public:
  /// True while the view writes the model's geometry or state to the window: the window's own
  /// notifications are then not the user's.
  bool applying() const { return applying_; }
  /// True while a window-state change of the user's is handed to the model: a state the model
  /// sets in reply is written after the event.
  bool inStateChange() const { return inStateChange_; }

  /// Runs `write` as the view's own write to the window.
  template <typename Write>
  void apply(Write&& write) {
    const bool outer = std::exchange(applying_, true);
    std::forward<Write>(write)();
    applying_ = outer;
  }

  /// Runs `call` into the model; true when the view outlived it.
  template <typename Call>
  bool survives(Call&& call) const {
    const std::weak_ptr<int> alive = lifetime_;
    std::forward<Call>(call)();
    return !alive.expired();
  }

  /// Hands a window-state change of the user's to the model through `call`; true when the view
  /// outlived it.
  template <typename Call>
  bool handStateChange(Call&& call) {
    const std::weak_ptr<int> alive = lifetime_;
    const bool outer = std::exchange(inStateChange_, true);
    std::forward<Call>(call)();
    if (alive.expired()) return false;
    inStateChange_ = outer;
    return true;
  }

  /// Expires with the view: work posted for later checks it before touching the view.
  std::weak_ptr<int> lifetime() const { return lifetime_; }
  /// The view is going: calls into the model that are under way find it gone.
  void end() { lifetime_.reset(); }

 private:
  bool applying_ = false;
  bool inStateChange_ = false;
  std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
};

}  // namespace volumetra

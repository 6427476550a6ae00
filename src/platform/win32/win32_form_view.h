#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/caption_neighbours.h"
#include "platform/form.h"
#include "platform/input_echo.h"
#include "platform/view_guards.h"
#include "platform/win32/caption_fit.h"
#include "platform/win32/win32_look.h"
#include "platform/win32/windows_api.h"
#include "platform/window_system.h"

namespace volumetra {

class Win32WindowSystem;

/// The control id of control i of a form's design (in the order of its design table) is
/// kFirstControlId + i, so that tools and tests can find a control's window (GetDlgItem).
inline constexpr int kFirstControlId = 100;

/// The Win32 mirror of one form: a top-level window with a system control per control, placed
/// from twips at the screen's DPI. Model changes are written to the controls; the controls'
/// notifications become the same model calls the headless tests make, and the model's answer is
/// shown again (a check box the model did not toggle, a text it refused). The model keeps its own
/// float twips: pixels are turned into twips only for what the user really did.
/// A hidden control gets its window when it is first shown: until then the model holds its state
/// and the view only where it stands, for its neighbours' captions. Most of a form's controls may
/// be such, as the rows of a table shown as drives appear, and windows are what start-up costs.
/// Its members are defined by job: win32_form_view.cpp makes the windows, win32_form_styles,
/// _layout, _mirror, _input, _focus, _paint and _dispatch.cpp do the rest.
class Win32FormView final : public FormView {
 public:
  Win32FormView(Form& form, Win32WindowSystem& system);
  /// The windows are hidden at once and destroyed from the message loop: the form may be unloaded
  /// from inside one of its own windows' messages.
  ~Win32FormView() override;
  Win32FormView(const Win32FormView&) = delete;
  Win32FormView& operator=(const Win32FormView&) = delete;

  void FormChanged(FormProperty property) override;
  void ControlChanged(Control& control, ControlProperty property) override;
  void Activate() override;

  HWND window() const { return window_; }
  /// The tool tip control that holds the tips of the form's controls. It is made when first
  /// needed, as the mouse first comes over one of the form's windows: under Wine it costs about
  /// 4 ms, which the start-up would pay for each window shown.
  HWND toolTips();
  /// The system control that shows `control`; null while a hidden control has not been shown.
  HWND windowOf(const Control& control) const;
  /// How a label's caption is drawn; null for other controls.
  const LabelCaption* captionOf(const Control& label) const;

  /// The message loop's side: keys the form sees before its controls and the system's close
  /// command. The dialog manager (IsDialogMessageW) moves the focus.
  bool keyPreview() const { return form_.design().keyPreview; }
  /// Hands a typed character to the form; true when the form took it (it closed on the key).
  bool previewKey(int character);
  /// Return on `focus`: a focused push button is pressed, as Space presses it. False when `focus`
  /// is no push button of the form's.
  bool pressFocusedButton(HWND focus);
  void closeRequested() { form_.UserClose(); }
  /// Shows a mouse message to the form's tool tips, so they appear over the control under it.
  void relayMouse(const MSG& message);

  /// Forms and containers (frames, tab pages) run this: their GWLP_USERDATA holds the view.
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct Entry {
    Control* control = nullptr;
    int id = 0;
    HWND window = nullptr;
    RECT rect{};                            ///< where it stands in its parent, with a window or not
    std::vector<HWND> pages;                ///< a tab control's pages
    HFONT font = nullptr;                   ///< the font last given to the window
    std::string shownText;                  ///< the caption as a frame or status bar shows it
    std::string windowText;                 ///< a label's window text: its whole caption
    std::unique_ptr<LabelCaption> caption;  ///< a label's caption as it is drawn
    bool hasTip = false;
    std::size_t rank = 0;       ///< its window's place among its siblings' from the top (windowRanks)
    std::vector<RECT> yielded;  ///< where a tab stop gives way to later controls (yieldOverlaps)
  };

  LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT colours(HDC dc, HWND control);
  void command(HWND control, int code);
  void paintPanel(HWND panel, HDC dc);

  DWORD style() const;
  DWORD extendedStyle() const;
  void buildControls();
  /// For each control, by its index in the design, the place of its window among its siblings'
  /// from the top (StackingOrder): the dialog manager's tab order and the design's stacking.
  std::vector<std::size_t> windowRanks() const;
  /// Where the tab order puts a tab stop's window over a later control that overlaps it, the
  /// design stacks the later control in front: the tab stops near `control` give up the parts
  /// that shown later controls cover (a window region).
  void yieldOverlaps(const Control& control);
  /// Shows the selected page of a shown tab control, and hides the others.
  void showPages(const Control& tabControl);
  /// Makes the window of `control` where it stands, in its place in the stacking order.
  void makeWindow(const Control& control);
  /// A hidden control shown for the first time: its window, with every property of the model.
  void showLate(const Control& control);
  /// Puts the labels into their size groups and rows, and keeps their captions clear of their
  /// neighbours.
  void arrangeCaptions();
  /// Keeps the caption of `label` clear of its neighbours where they stand now.
  void fitCaptionRoom(const Control& label);
  HWND parentOf(const Control& control) const;
  void layOutPages(const Control& tabControl);
  POINT pageOffset(const Control& tabControl) const;
  void place(const Control& control);
  void placeStatusBars();
  void showLabel(const Control& label);
  void drawLabel(const DRAWITEMSTRUCT& item);
  void mirror(const Control& control, ControlProperty property);
  void mirrorValue(const Control& control);
  void showValue(const Control& control, HWND window);
  void mirrorText(const Control& control);
  void mirrorTip(const Control& control);
  void setFont(const Control& control, HFONT font);
  RECT outerRect() const;
  SIZE clientSize() const;
  void applyGeometry();
  void applyWindowState();
  int showCommand() const;

  /// Shows a text the model refused or changed in its edit box, the caret at the end.
  void showRefusedText(const Control& control);
  void windowMoved();
  void windowSized(WPARAM kind);

  Form& form_;
  Win32WindowSystem& system_;
  Win32Look& look_;
  HWND window_ = nullptr;
  HWND tips_ = nullptr;
  std::vector<const Control*> order_;  ///< creation order
  std::unordered_map<const Control*, Entry> entries_;
  std::unordered_map<HWND, Control*> controlOf_;
  // The labels' neighbours, once every control has its window.
  std::optional<CaptionNeighbourhood> neighbourhood_;
  HWND pressed_ = nullptr;
  ViewGuards guards_;
  // User input on a control: the model decides, then its state is shown again.
  const InputEcho input_;
};

}  // namespace volumetra

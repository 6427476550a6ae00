// The keys the dialog manager takes under Wine: Tab and Shift+Tab in the designed tab order, arrows
// in an option group, an edit box's text selected when Tab reaches it; a form with key preview
// still sees Tab as a typed character.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "app/form1.h"
#include "platform/win32/win32_machine.h"
#include "windows/form3.h"
#include "windows/frm_splash.h"

namespace volumetra {
namespace {

class DialogKeys : public ::testing::Test {
 protected:
  void SetUp() override { machine.volumes.add('C', 40000, 10000, "SYSTEM"); }

  Program& program() { return *machine.program; }
  HWND of(const Form& form, const Control& control) { return machine.windowOf(form, control); }

  void focus(const Form& form, const Control& control) {
    SetForegroundWindow(machine.window(form));
    SetFocus(of(form, control));
    machine.process();
    ASSERT_EQ(GetFocus(), of(form, control)) << control.name();
  }

  /// The user presses `key` in the window with the focus, with Shift held or not.
  void press(WPARAM key, bool shift = false) {
    std::array<BYTE, 256> keys{};
    GetKeyboardState(keys.data());
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys.data());
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    machine.process();
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys.data());
  }

  /// The controls the focus visits from `first` on, one key press at a time.
  std::vector<HWND> visits(const Form& form, const Control& first, WPARAM key, bool shift, int presses) {
    focus(form, first);
    std::vector<HWND> seen;
    for (int i = 0; i < presses; ++i) {
      press(key, shift);
      seen.push_back(GetFocus());
    }
    return seen;
  }

  Win32Machine machine;
};

TEST_F(DialogKeys, TabAndShiftTabFollowTheDesignedTabOrderOfTheMainWindow) {
  machine.start();
  Form1& main = program().form1();
  // Command3 (About) and Command4 (Options) open windows when clicked, not when focused.
  const std::vector<HWND> forwards{of(main, main.Command3), of(main, main.Command4), of(main, main.Command5),
                                   of(main, main.Command2), of(main, main.Slider1),  of(main, main.Command1)};
  EXPECT_EQ(visits(main, main.Command1, VK_TAB, false, 6), forwards);
  const std::vector<HWND> backwards{of(main, main.Command2), of(main, main.Command5), of(main, main.Command4),
                                    of(main, main.Command3), of(main, main.Command1), of(main, main.Slider1)};
  EXPECT_EQ(visits(main, main.Slider1, VK_TAB, true, 6), backwards);
}

TEST_F(DialogKeys, TabMovesFromTheTabStripThroughTheShownPageAndBack) {
  machine.start();
  SendMessageW(of(program().form1(), program().form1().Command4), BM_CLICK, 0, 0);
  machine.process();
  Form3& options = program().form3();
  ASSERT_EQ(options.SSTab1.value(), 2);  // Misc.
  const std::vector<HWND> forwards{of(options, options.Check5), of(options, options.Check2),
                                   of(options, options.Check9), of(options, options.Check10),
                                   of(options, options.SSTab1)};
  EXPECT_EQ(visits(options, options.SSTab1, VK_TAB, false, 5), forwards);
  const std::vector<HWND> backwards{of(options, options.Check10), of(options, options.Check9),
                                    of(options, options.Check2), of(options, options.Check5),
                                    of(options, options.SSTab1)};
  EXPECT_EQ(visits(options, options.SSTab1, VK_TAB, true, 5), backwards);

  // On the alarm page Tab reaches the edit box with its whole text selected, ready to be typed over.
  options.SSTab1.setValue(1);
  machine.process();
  EXPECT_EQ(visits(options, options.Check3, VK_TAB, false, 1), std::vector<HWND>{of(options, options.Text2)});
  DWORD start = 1, end = 0;
  SendMessageW(of(options, options.Text2), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, options.Text2.text().size());
}

TEST_F(DialogKeys, ArrowsMoveWithinTheOptionGroupAndSkipDisabledButtons) {
  machine.start();
  SendMessageW(of(program().form1(), program().form1().Command4), BM_CLICK, 0, 0);
  machine.process();
  Form3& options = program().form3();
  options.SSTab1.setValue(3);  // Language: English and Deutsch; the others are disabled
  machine.process();
  const std::vector<HWND> down{of(options, options.Option6), of(options, options.Option5)};
  EXPECT_EQ(visits(options, options.Option5, VK_DOWN, false, 2), down);
  EXPECT_EQ(visits(options, options.Option5, VK_UP, false, 1),
            std::vector<HWND>{of(options, options.Option6)});
}

TEST_F(DialogKeys, AFormWithKeyPreviewSeesTabAsATypedKey) {
  machine.start();
  Form1& main = program().form1();
  SendMessageW(of(main, main.Command3), BM_CLICK, 0, 0);
  machine.process();
  FrmSplash& about = program().frmSplash();
  focus(about, about.Command1);
  // The about box closes on any key typed in it, Tab as well.
  press(VK_TAB);
  EXPECT_EQ(program().loadedFrmSplash(), nullptr);
}

}  // namespace
}  // namespace volumetra

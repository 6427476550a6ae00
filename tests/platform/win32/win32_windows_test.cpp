// The program's windows on the system's own controls under Wine: the layout in pixels from twips,
// clicks, typing, slider moves and tab changes coming back to the model, window styles and states,
// the system's close command and key preview.
#include <gtest/gtest.h>

#include "app/form1.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/control_windows.h"
#include "platform/win32/win32_machine.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/frm_splash.h"

namespace volumetra {
namespace {

class Win32Windows : public ::testing::Test {
 protected:
  void SetUp() override {
    machine.volumes.add('C', 40000, 10000, "SYSTEM");
    machine.volumes.add('D', 2000, 1500, "DATA");
  }

  Program& program() { return *machine.program; }
  Form1& form1() { return program().form1(); }
  HWND of(const Form& form, const Control& control) { return machine.windowOf(form, control); }
  /// The mouse moved over the control, through the message loop as the user's mouse comes.
  void hover(const Form& form, const Control& control) {
    PostMessageW(of(form, control), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    machine.process();
  }
  /// A click of the user's: the control's notification, as Windows sends it for a click.
  void click(const Form& form, const Control& control) {
    SendMessageA(of(form, control), BM_CLICK, 0, 0);
    machine.process();
  }

  Win32Machine machine;
};

TEST_F(Win32Windows, TheMainWindowShowsItsDesignAtTheScreensDpi) {
  machine.start();
  HWND main = machine.window(form1());
  EXPECT_EQ(TextOf(main), "Volumetra V 0.95");
  EXPECT_TRUE(IsWindowVisible(main));
  RECT client;
  GetClientRect(main, &client);
  // The designed width, capped at 9600 twips outside by the window's resize handler: 632 pixels.
  EXPECT_EQ(client.right, (9600 - kFrameWidthTwips) * 96 / 1440);
  // Two drives: 240 * 2 + 1168 twips outside, the frame taken off.
  EXPECT_EQ(client.bottom, machine.windows.look().toPixels(240 * 2 + 1168 - kFrameHeightTwips));
  const RECT exit = PlaceOf(of(form1(), form1().Command2));
  EXPECT_EQ(exit.left, 9120 * 96 / 1440);
  EXPECT_EQ(exit.top, machine.windows.look().toPixels(240 * 2 + 256));
  EXPECT_EQ(TextOf(of(form1(), form1().Command2)), "Exit");
  // The status bar lies along the bottom edge.
  const RECT status = PlaceOf(of(form1(), form1().StatusBar1));
  EXPECT_EQ(status.bottom, client.bottom);
  EXPECT_EQ(status.right, client.right);
}

/// The tool tip control a form's window owns, if it has one.
HWND OwnedToolTips(HWND form) {
  struct Search {
    HWND owner;
    HWND found = nullptr;
  } search{form};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) {
        auto& s = *reinterpret_cast<Search*>(p);
        wchar_t name[64] = {};
        GetClassNameW(w, name, 64);
        if (GetWindow(w, GW_OWNER) == s.owner && std::wstring(name) == TOOLTIPS_CLASSW) s.found = w;
        return s.found == nullptr ? TRUE : FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST_F(Win32Windows, TheToolTipsAreMadeWhenTheMouseFirstComesOverTheFormWithEveryTip) {
  machine.start();
  machine.process();
  HWND main = machine.window(form1());
  EXPECT_EQ(OwnedToolTips(main), nullptr);
  const Control& letter = *form1().Label2[0];
  ASSERT_FALSE(letter.toolTip().empty());
  hover(form1(), letter);
  HWND tips = OwnedToolTips(main);
  ASSERT_NE(tips, nullptr);
  EXPECT_EQ(ToolTipOf(tips, of(form1(), letter)), letter.toolTip());
  EXPECT_EQ(ToolTipOf(tips, of(form1(), form1().Slider1)), form1().Slider1.toolTip());
  EXPECT_EQ(machine.view(form1()).toolTips(), tips);
}

TEST_F(Win32Windows, ADriveRowShownLateGetsWindowsWithItsTextsTipsAndPlace) {
  machine.start();
  machine.process();
  // The tool tips are there already, as once the user's mouse has come over the window.
  hover(form1(), form1().Command2);
  ASSERT_NE(OwnedToolTips(machine.window(form1())), nullptr);
  // Two drives: the third row is hidden and has no windows yet.
  const std::vector<Control*>* columns[] = {&form1().Label2, &form1().Label3, &form1().Label4,
                                            &form1().Label5, &form1().Label6, &form1().Label7,
                                            &form1().Label8, &form1().Label9};
  for (const std::vector<Control*>* column : columns) {
    ASSERT_FALSE((*column)[2]->visible());
    EXPECT_EQ(of(form1(), *(*column)[2]), nullptr);
  }
  machine.volumes.add('E', 8000, 4000, "STICK");
  machine.advance(5000);  // the next discovery
  machine.process();
  HWND tips = machine.view(form1()).toolTips();
  for (const std::vector<Control*>* column : columns) {
    const Control& cell = *(*column)[2];
    ASSERT_TRUE(cell.visible()) << cell.name();
    HWND w = of(form1(), cell);
    ASSERT_NE(w, nullptr) << cell.name();
    EXPECT_TRUE(IsWindowVisible(w)) << cell.name();
    EXPECT_EQ(TextOf(w), cell.caption()) << cell.name();
    EXPECT_EQ(ToolTipOf(tips, w), cell.toolTip()) << cell.name();
    const RECT place = PlaceOf(w);
    const RECT designed =
        machine.windows.look().toPixels(cell.left(), cell.top(), cell.width(), cell.height());
    EXPECT_EQ(place.left, designed.left) << cell.name();
    EXPECT_EQ(place.top, designed.top) << cell.name();
    EXPECT_EQ(place.right, designed.right) << cell.name();
    EXPECT_EQ(place.bottom, designed.bottom) << cell.name();
  }
  EXPECT_EQ(TextOf(of(form1(), *form1().Label3[2])), "STICK");
  // In the design's stacking order: behind the controls that follow it, which were made at once.
  EXPECT_EQ(GetWindow(of(form1(), *form1().Label3[2]), GW_HWNDPREV), of(form1(), *form1().Label4[0]));
}

TEST_F(Win32Windows, TheOptionsWindowIsMadeAtItsFirstShowWithWhatTheStartUpGaveIt) {
  machine.start();
  Form3* options = program().loadedForm3();
  ASSERT_NE(options, nullptr);
  EXPECT_EQ(FindWindowW(kFormClass, L"Options"), nullptr);
  click(form1(), form1().Command4);
  HWND shown = FindWindowW(kFormClass, L"Options");
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(IsWindowVisible(shown));
  EXPECT_EQ(shown, machine.window(*options));
  // The texts the start-up put into the hidden form's boxes.
  EXPECT_FALSE(options->Text1.text().empty());
  EXPECT_EQ(TextOf(of(*options, options->Text1)), options->Text1.text());
  EXPECT_FALSE(options->Text3.text().empty());
  EXPECT_EQ(TextOf(of(*options, options->Text3)), options->Text3.text());
}

TEST_F(Win32Windows, AtTwiceTheDpiEverythingIsTwiceAsLarge) {
  Win32Machine large(192);
  large.volumes.add('C', 40000, 10000, "SYSTEM");
  Program& p = large.start();
  RECT client;
  GetClientRect(large.window(p.form1()), &client);
  EXPECT_EQ(client.right, (9600 - kFrameWidthTwips) * 192 / 1440);
  const RECT exit = PlaceOf(large.windowOf(p.form1(), p.form1().Command2));
  EXPECT_EQ(exit.right - exit.left, 495 * 192 / 1440);
}

TEST_F(Win32Windows, SurveysWriteTheCellsAndButtonsDriveTheModel) {
  machine.start();
  machine.advance(600);
  machine.process();
  EXPECT_EQ(TextOf(of(form1(), *form1().Label2[0])), "C:");
  EXPECT_EQ(TextOf(of(form1(), *form1().Label3[1])), "DATA");
  EXPECT_TRUE(IsWindowVisible(of(form1(), *form1().Label9[1])));
  EXPECT_FALSE(IsWindowVisible(of(form1(), *form1().Label9[2])));
  EXPECT_NE(TextOf(of(form1(), form1().StatusBar1)).find("Testloop No. "), std::string::npos);

  click(form1(), form1().Command1);
  EXPECT_EQ(form1().Command1.caption(), "Start");
  EXPECT_EQ(TextOf(of(form1(), form1().Command1)), "Start");
  EXPECT_EQ(SendMessageA(of(form1(), form1().Slider1), TBM_GETPOS, 0, 0), 0);
  click(form1(), form1().Command1);
  EXPECT_EQ(form1().Timer1.interval(), 500);
  EXPECT_EQ(SendMessageA(of(form1(), form1().Slider1), TBM_GETPOS, 0, 0), 500);
}

TEST_F(Win32Windows, ASliderMovedByTheUserReachesTheModel) {
  machine.start();
  HWND slider = of(form1(), form1().Slider1);
  SendMessageA(slider, TBM_SETPOS, TRUE, 1234);
  SendMessageA(GetParent(slider), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 1234),
               reinterpret_cast<LPARAM>(slider));
  EXPECT_EQ(form1().Slider1.value(), 1234);
  machine.advance(501);
  EXPECT_EQ(form1().Timer1.interval(), 1235);
}

TEST_F(Win32Windows, TheOptionsDialogsBoxesTabsAndTextGoToTheModelAndItsAnswerIsShown) {
  machine.start();
  click(form1(), form1().Command4);
  Form3& options = program().form3();
  HWND dialog = machine.window(options);
  const LONG style = GetWindowLongA(dialog, GWL_STYLE);
  EXPECT_FALSE(style & WS_SYSMENU);  // no close box
  // The page "Misc." first; another tab chosen by the user shows its page.
  HWND tabs = of(options, options.SSTab1);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 2);
  EXPECT_TRUE(IsWindowVisible(of(options, options.Check9)));
  EXPECT_FALSE(IsWindowVisible(of(options, options.Check1)));
  SendMessageA(tabs, TCM_SETCURSEL, 0, 0);
  NMHDR change{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageA(GetParent(tabs), WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
  EXPECT_EQ(options.SSTab1.value(), 0);
  EXPECT_TRUE(IsWindowVisible(of(options, options.Check1)));
  EXPECT_FALSE(IsWindowVisible(of(options, options.Check9)));

  // A check box clicked: the model decides, its state is shown.
  click(options, options.Check1);
  EXPECT_TRUE(program().m.LoggingOn);
  EXPECT_EQ(SendMessageA(of(options, options.Check1), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(IsWindowEnabled(of(options, options.Check6)));
  click(options, options.Check9);
  EXPECT_TRUE(program().m.ExcludeCDs);

  // Typing: a 13th character of the log file name is refused and the box shows the name again.
  HWND name = of(options, options.Text3);
  SetWindowTextA(name, "NEWLOG.TXT");
  machine.process();
  EXPECT_EQ(program().m.ReportFileName, "NEWLOG.TXT");
  SetWindowTextA(name, "THIRTEEN.CHRS");
  machine.process();
  EXPECT_EQ(program().m.ReportFileName, "NEWLOG.TXT");
  EXPECT_EQ(TextOf(name), "NEWLOG.TXT");

  // Option buttons: one group per container.
  click(options, options.Option6);
  EXPECT_EQ(program().m.Language, "Deutsch");
  EXPECT_EQ(SendMessageA(of(options, options.Option5), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(TextOf(of(form1(), form1().Command2)), form1().Command2.caption());

  // The system's close command closes the dialog all the same.
  MSG altF4{of(options, options.Check1), WM_SYSKEYDOWN, VK_F4, 0, 0, {}};
  EXPECT_TRUE(machine.windows.PreTranslate(altF4));
  EXPECT_EQ(program().loadedForm3(), nullptr);
}

TEST_F(Win32Windows, TheAboutBoxHasNoTitleAndClosesOnAnyKeyOrTheFrameButNotOnItsLabels) {
  machine.start();
  click(form1(), form1().Command3);
  FrmSplash& splash = program().frmSplash();
  HWND box = machine.window(splash);
  EXPECT_NE(GetWindowLongA(box, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  EXPECT_FALSE(IsWindowVisible(of(splash, splash.lblProductName)));
  EXPECT_EQ(TextOf(of(splash, splash.control("lblPlatform"))), "Windows");
  // The logo and a label take a click without closing the box.
  HWND logo = of(splash, splash.control("imgLogo"));
  SendMessageA(logo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(logo, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  SendMessageA(of(splash, splash.control("Label1")), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageA(of(splash, splash.control("Label1")), WM_LBUTTONUP, 0, 0);
  machine.process();
  ASSERT_NE(program().loadedFrmSplash(), nullptr);
  // A key typed while OK has the focus reaches the box first.
  MSG key{of(splash, splash.Command1), WM_CHAR, 'x', 0, 0, {}};
  EXPECT_TRUE(machine.windows.PreTranslate(key));
  EXPECT_EQ(program().loadedFrmSplash(), nullptr);

  click(form1(), form1().Command3);
  FrmSplash& again = program().frmSplash();
  HWND frame = of(again, again.Frame1);
  SendMessageA(frame, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageA(frame, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(program().loadedFrmSplash(), nullptr);
}

TEST_F(Win32Windows, AMaximisedMainWindowComesBackAndTheCloseBoxEndsTheProgram) {
  machine.start();
  HWND main = machine.window(form1());
  ShowWindow(main, SW_MAXIMIZE);
  machine.process();
  EXPECT_EQ(form1().windowState(), WindowState::Normal);
  EXPECT_FALSE(IsZoomed(main));
  ShowWindow(main, SW_MINIMIZE);
  machine.process();
  EXPECT_EQ(form1().windowState(), WindowState::Minimized);
  ShowWindow(main, SW_RESTORE);
  machine.process();
  EXPECT_EQ(form1().windowState(), WindowState::Normal);

  // A move by the user reaches the model in twips; the graph window follows its top edge.
  SetWindowPos(main, nullptr, 150, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  machine.process();
  EXPECT_EQ(form1().left(), 150 * 15);
  EXPECT_EQ(form1().top(), 90 * 15);

  SendMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program().Ended());
  EXPECT_TRUE(machine.windows.quitRequested());
  EXPECT_NE(MachineBase::read(machine.iniPath()).find("Window1XPos=2250"), std::string::npos);
}

TEST(Win32LookFonts, SizesOfOnePixelHeightShareAFont) {
  Win32Look look(96);
  const FontSpec designed{"MS Sans Serif", 8.25f, false};
  // At 96 DPI 8.25 and 8.5 points are both 11 pixels high, 9 points are 12.
  EXPECT_EQ(look.font(designed, 8.25f), look.font(designed, 8.5f));
  EXPECT_NE(look.font(designed, 8.5f), look.font(designed, 9.0f));
  EXPECT_NE(look.font(designed, 8.25f), look.font(FontSpec{"MS Sans Serif", 8.25f, true}));
}

}  // namespace
}  // namespace volumetra

// The program's texts as the user meets them on the Win32 controls under Wine, read back through
// the wide calls: every caption and tool tip of both full languages whole, texts outside the ANSI
// code page typed, stored and shown whole, and a label too long for its cell drawn shortened while
// its window text and its drive's tool tip keep it whole.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <tuple>
#include <vector>

#include "app/form1.h"
#include "i18n/language_tables.h"
#include "platform/win32/caption_fit.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/drawn_pixels.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_machine.h"
#include "platform/win32/win32_volumes.h"
#include "platform/win32/wine_drives.h"
#include "windows/form2.h"
#include "windows/form3.h"

namespace volumetra {
namespace {

constexpr const char* kEllipsis = "\u2026";

RECT ClientOf(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return client;
}

HFONT FontOf(HWND window) {
  return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

int WidthIn(HFONT font, const std::wstring& text) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  DeleteDC(dc);
  return size.cx;
}

/// The most of `text` that fits `width` pixels in `font` beside an ellipsis, whole characters only:
/// its start, or its end when `keepEnd`.
std::string ShortenedToFit(HFONT font, const std::string& text, int width, bool keepEnd) {
  const std::wstring whole = Wide(text);
  const std::wstring ellipsis = Wide(kEllipsis);
  for (std::size_t kept = whole.size(); kept > 0; --kept) {
    const std::wstring shortened =
        keepEnd ? ellipsis + whole.substr(whole.size() - kept) : whole.substr(0, kept) + ellipsis;
    if (WidthIn(font, shortened) <= width) return Utf8(shortened);
  }
  return kEllipsis;
}

class Win32Texts : public ::testing::Test {
 protected:
  Program& program() { return *machine.program; }
  Form1& form1() { return program().form1(); }
  HWND of(const Form& form, const Control& control) { return machine.windowOf(form, control); }
  std::string tipOf(const Form& form, const Control& control) {
    return ToolTipOf(machine.view(form).toolTips(), of(form, control));
  }
  void click(const Form& form, const Control& control) {
    SendMessageW(of(form, control), BM_CLICK, 0, 0);
    machine.process();
  }
  Form& window(TextWindow w) {
    switch (w) {
      case TextWindow::Form1:
        return program().form1();
      case TextWindow::Form2:
        return program().form2();
      case TextWindow::Form3:
        return program().form3();
    }
    return program().form1();
  }

  /// Adds a language's wordings to `expected`, by control and property, as the language routine
  /// applies them: later texts over earlier ones, and no wording leaves the last one.
  void addWordings(bool deutsch) {
    const bool unit1000 = program().m.UnitFactor == 1000;
    for (const auto& table : {HeaderCaptionTexts(), UnitCaptionTexts(unit1000), RemainingTexts()}) {
      for (const LanguageText& t : table) {
        const char* text = deutsch ? t.deutsch : t.english;
        if (!text) continue;
        Form& form = window(t.window);
        expected[{&form, &form.control(t.control, t.index), t.property}] = text;
      }
    }
  }

  /// The main window's cell `c` draws `text`: its caption shows it, and the ink it draws is as wide
  /// and high as `text` drawn freely in its font.
  void expectDrawn(const Control& c, const std::string& text) {
    const LabelCaption& caption = *machine.view(form1()).captionOf(c);
    EXPECT_EQ(caption.shown(), text);
    const Ink ink = InkOf(Drawn(of(form1(), c)), PixelOf(ToColorRef(*c.backColor())));
    const FreeInk free = FreeInkOf(caption.font(), text, LabelTextFormat(c), 1000);
    EXPECT_NEAR(ink.width(), free.box.right - free.box.left, 1) << text;
    EXPECT_NEAR(ink.height(), free.box.bottom - free.box.top, 1) << text;
  }
  /// The width the cell `c` draws its caption on.
  int roomOf(const Control& c) {
    const CaptionRoom& room = machine.view(form1()).captionOf(c)->room();
    return ClientOf(of(form1(), c)).right - room.left - room.right;
  }

  /// Every expected wording is what its control's window or tool tip shows.
  void expectShown() {
    for (const auto& [where, text] : expected) {
      const auto& [form, control, property] = where;
      const std::string shown =
          property == TextProperty::Caption ? TextOf(of(*form, *control)) : tipOf(*form, *control);
      EXPECT_EQ(shown, text) << form->name() << "." << control->name() << "(" << control->index() << ")";
    }
  }

  Win32Machine machine;
  std::map<std::tuple<const Form*, const Control*, TextProperty>, std::string> expected;
};

TEST_F(Win32Texts, EveryCaptionAndToolTipOfBothFullLanguagesShowsWhole) {
  machine.volumes.add('C', 40000, 10000, "SYSTEM");
  machine.start();
  click(form1(), form1().Command4);
  Form3& options = program().form3();
  addWordings(false);
  ASSERT_GT(expected.size(), 40u);
  expectShown();
  EXPECT_EQ(TextOf(machine.window(form1())), "Volumetra V 0.95");
  EXPECT_EQ(tipOf(form1(), form1().Slider1), "timer intervall");
  HWND tabs = of(options, options.SSTab1);
  ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 4);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(TabCaptionOf(tabs, i), options.SSTab1.tabCaptions()[static_cast<std::size_t>(i)]);
  EXPECT_EQ(TabCaptionOf(tabs, 0), "Logging");

  // Deutsch chosen as the user chooses it; its tables set captions only, the tips stay.
  click(options, options.Option6);
  ASSERT_EQ(program().m.Language, "Deutsch");
  addWordings(true);
  expectShown();
  EXPECT_EQ(TextOf(of(form1(), form1().Command3)), "Über");
  EXPECT_EQ(TextOf(of(options, options.control("Label6"))), "Verzeichnis für Logdatei");
  EXPECT_EQ(TextOf(of(options, options.control("Check3"))),
            "Farb-Alarm-Information bei niedriger Fesplattenkapazität");
  EXPECT_EQ(tipOf(form1(), form1().Command3), "about the program");

  // The status line of a survey.
  machine.advance(600);
  machine.process();
  const std::string status = StatusTextOf(of(form1(), form1().StatusBar1));
  EXPECT_EQ(status.rfind("Testloop No. 1 ", 0), 0u) << status;
  EXPECT_EQ(status, form1().StatusBar1.caption());
}

TEST_F(Win32Texts, TextsOutsideTheAnsiCodePageAreTypedStoredAndShownWhole) {
  machine.volumes.add('C', 40000, 10000, "SYSTEM");
  const std::string stored = "D:/Fotos für Oma/写真/";  // with the fake files' separator
  std::ofstream(machine.iniPath(), std::ios::binary) << "[System]\r\nReportFileDir=" << stored << "\r\n";
  machine.start();
  ASSERT_EQ(program().m.ReportFileDir, stored);
  click(form1(), form1().Command4);
  Form3& options = program().form3();
  HWND directory = of(options, options.Text1);
  EXPECT_EQ(TextOf(directory), stored);

  // Typed key by key through the program's own message loop, as the keyboard sends characters.
  const std::wstring typed = L"C:\\Fotos für Oma\\写真";
  SetFocus(directory);
  SendMessageW(directory, EM_SETSEL, 0, -1);
  for (wchar_t character : typed) PostMessageW(directory, WM_CHAR, character, 1);
  machine.windows.Quit();
  ASSERT_EQ(machine.windows.Run(), 0);
  EXPECT_EQ(TextOf(directory), Utf8(typed));
  const std::string logDirectory = Utf8(typed) + machine.files.PathSeparator();
  EXPECT_EQ(program().m.ReportFileDir, logDirectory);

  // A log write there that fails says so in the status line, with the path whole.
  machine.files.failingPaths.insert(logDirectory + "LOG.TXT");
  click(options, options.Check1);
  ASSERT_TRUE(program().m.LoggingOn);
  machine.advance(1100);
  machine.process();
  const std::string status = StatusTextOf(of(form1(), form1().StatusBar1));
  EXPECT_NE(status.find("Log file not written: " + logDirectory + "LOG.TXT"), std::string::npos) << status;

  // The name box takes 12 characters, however many bytes they are, and refuses a 13th.
  HWND name = of(options, options.Text3);
  SetWindowTextW(name, L"Fotos_写真.TXT");
  machine.process();
  EXPECT_EQ(program().m.ReportFileName, "Fotos_写真.TXT");
  SetWindowTextW(name, L"Fotos_写真1.TXT");
  machine.process();
  EXPECT_EQ(program().m.ReportFileName, "Fotos_写真.TXT");
  EXPECT_EQ(TextOf(name), "Fotos_写真.TXT");
  DWORD start = 0, end = 0;
  SendMessageW(name, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(end, 12u);  // the caret after the last character
}

TEST_F(Win32Texts, ALabelTooLongForItsCellIsDrawnShortenedButItsWindowTextAndTipKeepItWhole) {
  machine.volumes.add('C', 40000, 10000, "SYSTEM");
  machine.volumes.add('P', 2000, 1500, "PHOTOS_BACKUP_2026");
  constexpr int kRemote = 4;
  machine.volumes.add('S', 2000, 1500, "Fotos für Oma 写真", kRemote).description = "\\\\nas\\Fotos für Oma";
  machine.start();
  machine.advance(600);
  machine.process();

  const Control& photos = *form1().Label3[1];
  HWND cell = of(form1(), photos);
  // Assistive tools read the window text: the whole label.
  EXPECT_EQ(TextOf(cell), "PHOTOS_BACKUP_2026");
  // What the cell draws: the label's start and an ellipsis, at the smallest size that fits.
  const std::string shortened =
      ShortenedToFit(FontOf(cell), "PHOTOS_BACKUP_2026", roomOf(photos), /*keepEnd=*/false);
  EXPECT_EQ(shortened.rfind("PHOTOS_", 0), 0u) << shortened;
  expectDrawn(photos, shortened);
  // The letter cells' tips give the label whole, the type and file system, and a share.
  EXPECT_EQ(tipOf(form1(), *form1().Label2[1]), "P:  PHOTOS_BACKUP_2026  HD/NTFS");
  const std::string share = "S:  Fotos für Oma 写真  Net/NTFS  \\\\nas\\Fotos für Oma";
  EXPECT_EQ(tipOf(form1(), *form1().Label2[2]), share);
  EXPECT_EQ(tipOf(program().form2(), *program().form2().Label1[2]), share);
  EXPECT_EQ(TextOf(of(form1(), *form1().Label3[2])), "Fotos für Oma 写真");

  // A right-aligned cell keeps the end of its text.
  Control& total = *form1().Label5[0];
  total.setCaption("123 456 789 012 345 678 901");
  HWND totalCell = of(form1(), total);
  EXPECT_EQ(TextOf(totalCell), "123 456 789 012 345 678 901");
  const std::string end = ShortenedToFit(FontOf(totalCell), total.caption(), roomOf(total), /*keepEnd=*/true);
  EXPECT_EQ(end.substr(end.size() - 3), "901");
  expectDrawn(total, end);
  // A caption that fits at a smaller size is drawn whole.
  total.setCaption("9 999 999 999");
  EXPECT_EQ(TextOf(totalCell), "9 999 999 999");
  expectDrawn(total, "9 999 999 999");
  EXPECT_LE(WidthIn(FontOf(totalCell), L"9 999 999 999"), roomOf(total));
}

TEST(Win32TextsOnWine, ALabelOutsideTheAnsiCodePageComesWhole) {
  if (!WineDrivesPrepared()) GTEST_SKIP() << "the Wine drives are made by scripts/wine_prefix.sh";
  Win32Volumes volumes;
  std::string label(255, ' '), fileSystem(255, ' ');
  std::int32_t serial = 0, nameLength = 0, flags = 0;
  ASSERT_EQ(volumes.GetVolumeInformation({kUnicodeLabelDrive, ':', '\\'}, label, serial, nameLength, flags,
                                         fileSystem),
            VolumeAnswer::Answered);
  EXPECT_EQ(label.substr(0, label.find('\0')), kUnicodeLabel);
}

}  // namespace
}  // namespace volumetra

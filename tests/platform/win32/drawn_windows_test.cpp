// What the real Win32 windows draw under Wine, read back from their pixels, in English and German
// at 96 and 144 DPI, with today's disks: every caption whole, on nothing that covers it and touching
// no neighbour; a column's cells at one size and a row's texts on one baseline; the graph legend
// whole beside its squares; check boxes, option buttons and the sliders drawn whole; Return and
// Space press the focused button.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <initializer_list>
#include <map>
#include <tuple>

#include "app/form1.h"
#include "platform/caption_groups.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/drawn_pixels.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_machine.h"
#include "support/todays_drives.h"
#include "windows/form2.h"
#include "windows/form3.h"
#include "windows/frm_splash.h"

namespace volumetra {
namespace {

std::string NameOf(const Control& c) {
  return c.index() < 0 ? c.name() : c.name() + "(" + std::to_string(c.index()) + ")";
}

bool Blank(const std::string& text) {
  return text.find_first_not_of(' ') == std::string::npos;
}

int LogicalHeight(HFONT font) {
  LOGFONTW logFont{};
  GetObjectW(font, sizeof logFont, &logFont);
  return -logFont.lfHeight;
}

// The rectangles, in `top`'s client coordinates, of the visible windows stacked above `window`
// among its siblings: what is drawn over it.
std::vector<RECT> InFrontOf(HWND window, HWND top) {
  std::vector<RECT> front;
  for (HWND above = GetWindow(window, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
    if (IsWindowVisible(above)) front.push_back(RectIn(above, top));
  }
  return front;
}

bool Inside(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

class DrawnWindows : public ::testing::TestWithParam<std::tuple<const char*, int>> {
 protected:
  DrawnWindows() : machine(std::get<1>(GetParam())) {}

  bool german() const { return std::string(std::get<0>(GetParam())) == "Deutsch"; }
  Form1& main() { return machine.program->form1(); }
  Form2& graph() { return machine.program->form2(); }
  const LabelCaption& caption(const Form& form, const Control& c) { return *machine.view(form).captionOf(c); }

  void start() {
    AddTodaysDrives(machine.volumes);
    std::ofstream(machine.iniPath()) << "[System]\nLanguage=" << std::get<0>(GetParam()) << "\n";
    machine.start();
    machine.advance(1200);  // two surveys
    machine.process();
  }
  void showGraph() {
    SendMessageW(machine.windowOf(main(), main().Command5), BM_CLICK, 0, 0);
    machine.advance(600);
    machine.process();
  }
  Form3& showOptionsPage(int page) {
    Form3& options = machine.program->form3();
    options.Show();
    options.SSTab1.setValue(page);
    machine.process();
    return options;
  }

  /// Every label of `form` that shows a caption draws it whole, nothing draws over it, and it
  /// touches nothing: every pixel next to its ink that is not the label's own shows the label's
  /// background. Gives how many labels it looked at.
  int expectCaptionsDrawnClear(const Form& form, const std::string& what) {
    HWND top = machine.window(form);
    const Image shown = Shown(top);
    int checked = 0;
    for (const std::unique_ptr<Control>& owned : form.controls()) {
      const Control& c = *owned;
      HWND label = machine.windowOf(form, c);
      if (c.kind() != ControlKind::Label || !IsWindowVisible(label)) continue;
      const LabelCaption& drawnCaption = caption(form, c);
      if (Blank(drawnCaption.shown())) continue;
      SCOPED_TRACE(what + " " + NameOf(c) + " \"" + drawnCaption.shown() + "\" at " +
                   std::to_string(LogicalHeight(drawnCaption.font())) + " px");
      const Image own = Drawn(label);
      const std::uint32_t background = PixelOf(ToColorRef(c.backColor().value_or(FaceColour())));
      const Ink ink = InkOf(own, background);
      EXPECT_FALSE(ink.empty());
      if (ink.empty()) continue;
      ++checked;
      if (drawnCaption.room().covered.empty()) {
        EXPECT_EQ(drawnCaption.shown(), c.caption());
        const CaptionRoom& room = drawnCaption.room();
        const FreeInk free = FreeInkOf(drawnCaption.font(), drawnCaption.shown(), LabelTextFormat(c),
                                       own.width - room.left - room.right);
        EXPECT_NEAR(ink.width(), free.box.right - free.box.left, 1);
        EXPECT_NEAR(ink.height(), free.box.bottom - free.box.top, 1);
      }
      const RECT at = RectIn(label, top);
      const std::vector<RECT> front = InFrontOf(label, top);
      const auto covered = [&](POINT p) {
        return std::any_of(front.begin(), front.end(), [&](const RECT& r) { return Inside(r, p); });
      };
      int hidden = 0;
      int touching = 0;
      for (const POINT& p : ink.pixels) {
        const POINT inWindow{p.x + at.left, p.y + at.top};
        if (!shown.contains(inWindow)) continue;  // beyond the window's edge
        if (covered(inWindow) || shown.at(inWindow) != own.at(p)) ++hidden;
        bool touches = false;
        for (int dy = -1; dy <= 1 && !touches; ++dy) {
          for (int dx = -1; dx <= 1 && !touches; ++dx) {
            const POINT q{inWindow.x + dx, inWindow.y + dy};
            const bool ownPixel = Inside(at, q) && !covered(q);
            touches = shown.contains(q) && !ownPixel && shown.at(q) != background;
          }
        }
        touching += touches;
      }
      EXPECT_EQ(hidden, 0);
      EXPECT_EQ(touching, 0);
    }
    return checked;
  }

  Win32Machine machine;
};

TEST_P(DrawnWindows, EveryCaptionIsDrawnWholeUncoveredAndClearOfItsNeighbours) {
  start();
  EXPECT_GT(expectCaptionsDrawnClear(main(), "main window"), 30);
  // The corner cell's header line shows only whole characters beside the header cells.
  EXPECT_EQ(caption(main(), main().Label1).room().covered.size(), german() ? 7u : 0u);

  showGraph();
  EXPECT_GT(expectCaptionsDrawnClear(graph(), "graph window"), 6);
  // The legend's caption is whole beside its square, and the square stands where it is designed,
  // in front of the caption.
  EXPECT_EQ(caption(graph(), graph().Label27).shown(), german() ? "Gesamt" : "Total");
  HWND square = machine.windowOf(graph(), graph().Shape52);
  const Win32Look& look = machine.windows.look();
  const RECT designed = look.toPixels(graph().Shape52.left(), graph().Shape52.top(), 255, 255);
  const RECT placed = PlaceOf(square);
  EXPECT_TRUE(EqualRect(&placed, &designed));
  const std::vector<RECT> front =
      InFrontOf(machine.windowOf(graph(), graph().Label27), machine.window(graph()));
  EXPECT_TRUE(std::any_of(front.begin(), front.end(), [&](const RECT& r) {
    const RECT inWindow = RectIn(square, machine.window(graph()));
    return EqualRect(&r, &inWindow);
  }));

  int onPages = 0;
  for (int page = 0; page < 4; ++page) {
    onPages += expectCaptionsDrawnClear(showOptionsPage(page), "options page " + std::to_string(page));
  }
  EXPECT_EQ(onPages, 4);  // the logging page's two field labels, the alarm page's value and unit
  SendMessageW(machine.windowOf(main(), main().Command3), BM_CLICK, 0, 0);
  machine.process();
  EXPECT_GT(expectCaptionsDrawnClear(machine.program->frmSplash(), "about box"), 0);
}

TEST_P(DrawnWindows, TheCellsOfAColumnShareOneSizeAndTheTextsOfARowOneBaseline) {
  start();
  showGraph();
  Win32Look& look = machine.windows.look();
  for (const Form* form : {static_cast<const Form*>(&main()), static_cast<const Form*>(&graph())}) {
    HWND top = machine.window(*form);
    for (const std::vector<Control*>& column : CaptionSizeGroups(*form)) {
      const Control& first = *column.front();
      SCOPED_TRACE(form->name() + " column " + NameOf(first));
      HFONT font = caption(*form, first).font();
      // The largest size at which every cell fits: the designed one, or one pixel more is too
      // wide for a cell.
      HFONT larger = look.font(
          first.font(), static_cast<float>(LogicalHeight(font) + 1) * 72.0f / static_cast<float>(look.dpi()));
      bool oneWouldNotFitLarger = font == look.font(first.font());
      for (const Control* cell : column) {
        const LabelCaption& drawn = caption(*form, *cell);
        EXPECT_EQ(drawn.font(), font) << NameOf(*cell);
        // A hidden cell never shown has no window yet; its caption still counts in the column.
        const RECT placed = look.toPixels(cell->left(), cell->top(), cell->width(), cell->height());
        RECT client{0, 0, placed.right - placed.left, placed.bottom - placed.top};
        if (HWND window = machine.windowOf(*form, *cell)) {
          EXPECT_EQ(SendMessageW(window, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
          GetClientRect(window, &client);
        } else {
          EXPECT_FALSE(cell->visible()) << NameOf(*cell);
        }
        const int room = client.right - drawn.room().left - drawn.room().right;
        const SIZE needed = look.textBlock(larger, cell->caption(), room, LabelTextFormat(*cell));
        oneWouldNotFitLarger =
            oneWouldNotFitLarger || needed.cx > room || (WrapsCaption(*cell) && needed.cy > client.bottom);
      }
      EXPECT_TRUE(oneWouldNotFitLarger);
    }
    for (const std::vector<Control*>& row : CaptionRows(*form)) {
      // The baseline each drawn caption stands on: the bottom of its ink, less how far its
      // characters reach below the baseline.
      std::vector<LONG> baselines;
      std::string names;
      for (const Control* cell : row) {
        HWND label = machine.windowOf(*form, *cell);
        const LabelCaption& drawn = caption(*form, *cell);
        if (!IsWindowVisible(label) || Blank(drawn.shown())) continue;
        const Ink ink = InkOf(Drawn(label), PixelOf(ToColorRef(cell->backColor().value_or(FaceColour()))));
        const FreeInk free = FreeInkOf(drawn.font(), drawn.shown(), LabelTextFormat(*cell), 1000);
        baselines.push_back(RectIn(label, top).top + ink.box.bottom - free.belowBaseline);
        names += " " + NameOf(*cell);
      }
      if (baselines.size() < 2) continue;
      const auto [low, high] = std::minmax_element(baselines.begin(), baselines.end());
      EXPECT_LE(*high - *low, 1) << form->name() << " row" << names;
    }
  }
  // The cells that need it are drawn smaller, with their whole columns.
  HFONT free = caption(main(), *main().Label6[0]).font();
  EXPECT_LT(LogicalHeight(free), LogicalHeight(look.font(main().Label6[0]->font())));
  EXPECT_EQ(caption(main(), *main().Label6[3]).font(), free);
  EXPECT_EQ(caption(main(), *main().Label4[1]).font(), caption(main(), *main().Label4[0]).font());
  EXPECT_EQ(caption(main(), main().Label182).font(), caption(main(), main().Label183).font());
  EXPECT_EQ(caption(main(), main().Label129).font(), caption(main(), main().Label183).font());
}

// The rows of `image` in which the columns from `left` to before `right` hold ink.
std::pair<LONG, LONG> InkRows(const Image& image, LONG left, LONG right) {
  std::map<std::uint32_t, int> counts;
  for (std::uint32_t pixel : image.pixels) ++counts[pixel];
  const std::uint32_t background = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                                     return a.second < b.second;
                                   })->first;
  const Ink ink = InkOf(image, background, RECT{left, 0, right, image.height});
  return {ink.box.top, ink.box.bottom};
}

// The indicator's frame and the caption's letters of a check box or option button, or a push
// button's caption within `area`: its pixels other than the face colour and white (the
// indicator's inside, the caption's background, a button's light edges).
Ink DarkInkOf(Image image, RECT area = {}) {
  const std::uint32_t face = PixelOf(GetSysColor(COLOR_BTNFACE));
  for (std::uint32_t& pixel : image.pixels) {
    if (pixel == 0xFFFFFFu) pixel = face;
  }
  return InkOf(image, face, area);
}

// `button` drawn as a twin of it drawn `wider` and `taller` pixels more shows it: the same ink
// within `inset` pixels of its edges.
void ExpectDrawnAsWithRoomToSpare(HWND button, int wider, int taller, int inset) {
  RECT client;
  GetClientRect(button, &client);
  const LONG style = GetWindowLongW(button, GWL_STYLE) & ~(WS_VISIBLE | WS_GROUP);
  HWND twin = CreateWindowExW(0, WC_BUTTONW, Wide(TextOf(button)).c_str(), static_cast<DWORD>(style), 0, 0,
                              client.right + wider, client.bottom + taller, GetParent(button), nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  SendMessageW(twin, WM_SETFONT, SendMessageW(button, WM_GETFONT, 0, 0), FALSE);
  SendMessageW(twin, BM_SETCHECK, SendMessageW(button, BM_GETCHECK, 0, 0), 0);
  const Ink ink = DarkInkOf(Drawn(button), RECT{inset, inset, client.right - inset, client.bottom - inset});
  const Ink twinInk = DarkInkOf(
      Drawn(twin), RECT{inset, inset, client.right + wider - inset, client.bottom + taller - inset});
  DestroyWindow(twin);
  EXPECT_FALSE(ink.empty());
  EXPECT_EQ(ink.width(), twinInk.width());
  EXPECT_EQ(ink.height(), twinInk.height());
}

TEST_P(DrawnWindows, IndicatorsButtonCaptionsAndTheSliderHandlesAreDrawnWhole) {
  start();
  Form3& options = showOptionsPage(0);
  // No focus cue in the drawings.
  SetFocus(machine.window(options));
  int checked = 0;
  for (int page = 0; page < 4; ++page) {
    showOptionsPage(page);
    for (const std::unique_ptr<Control>& owned : options.controls()) {
      const bool box = owned->kind() == ControlKind::CheckBox;
      if ((!box && owned->kind() != ControlKind::OptionButton) || owned->tabPage() != page) continue;
      HWND button = machine.windowOf(options, *owned);
      SCOPED_TRACE(NameOf(*owned) + " \"" + TextOf(button) + "\"");
      ExpectDrawnAsWithRoomToSpare(button, 0, 40, 0);
      ++checked;
    }
  }
  EXPECT_EQ(checked, 18);

  // Push buttons show their captions whole, inside their edges (the focused one's frame too).
  showGraph();
  SendMessageW(machine.windowOf(main(), main().Command3), BM_CLICK, 0, 0);
  machine.process();
  int buttons = 0;
  for (const Form* form :
       std::initializer_list<const Form*>{&main(), &graph(), &machine.program->frmSplash()}) {
    for (const std::unique_ptr<Control>& owned : form->controls()) {
      if (owned->kind() != ControlKind::CommandButton) continue;
      HWND button = machine.windowOf(*form, *owned);
      SCOPED_TRACE(form->name() + " " + NameOf(*owned) + " \"" + TextOf(button) + "\"");
      ExpectDrawnAsWithRoomToSpare(button, 100, 0, 4);
      ++buttons;
    }
  }
  EXPECT_EQ(buttons, 7);

  for (const std::pair<const Form*, const Control*>& slider :
       {std::pair<const Form*, const Control*>(&main(), &main().Slider1), {&graph(), &graph().Slider1}}) {
    SCOPED_TRACE(slider.first->name());
    HWND bar = machine.windowOf(*slider.first, *slider.second);
    RECT client, thumb;
    GetClientRect(bar, &client);
    SendMessageW(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    RECT inside;
    IntersectRect(&inside, &thumb, &client);
    EXPECT_TRUE(EqualRect(&inside, &thumb));
    // The handle's ink reaches down to its point, above the slider's bottom edge.
    const auto [top, bottom] = InkRows(Drawn(bar), thumb.left, thumb.right);
    EXPECT_LT(bottom, client.bottom);
    EXPECT_GE(bottom - top, thumb.bottom - thumb.top - 2);
  }
}

INSTANTIATE_TEST_SUITE_P(LanguagesAndDpi, DrawnWindows,
                         ::testing::Combine(::testing::Values("English", "Deutsch"),
                                            ::testing::Values(96, 144)),
                         [](const auto& test) {
                           return std::string(std::get<0>(test.param)) +
                                  std::to_string(std::get<1>(test.param));
                         });

TEST(DrawnWindowsKeys, ReturnAndSpacePressTheFocusedButton) {
  Win32Machine machine;
  machine.volumes.add('C', 40000, 10000, "SYSTEM");
  Program& program = machine.start();
  Form1& main = program.form1();
  HWND stop = machine.windowOf(main, main.Command1);
  SetForegroundWindow(machine.window(main));
  SetFocus(stop);
  machine.process();
  ASSERT_EQ(GetFocus(), stop);
  // The focused button shows that Return presses it.
  EXPECT_EQ(GetWindowLongW(stop, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  const auto press = [&](WPARAM key) {
    PostMessageW(stop, WM_KEYDOWN, key, 1);
    PostMessageW(stop, WM_KEYUP, key, 0xC0000001);
    machine.process();
  };
  const std::pair<WPARAM, const char*> presses[] = {
      {VK_RETURN, "Start"}, {VK_SPACE, "Stop"}, {VK_SPACE, "Start"}, {VK_RETURN, "Stop"}};
  for (const auto& [key, caption] : presses) {
    press(key);
    EXPECT_EQ(main.Command1.caption(), caption) << "key " << key;
    EXPECT_EQ(TextOf(stop), caption);
  }
  // A key no button takes does nothing; a button without the focus loses the default look.
  press('A');
  EXPECT_EQ(main.Command1.caption(), "Stop");
  SetFocus(machine.windowOf(main, main.Command2));
  machine.process();
  EXPECT_EQ(GetWindowLongW(stop, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);

  // The about box sees the Return on its OK button first, as it sees every key, and closes.
  SendMessageW(machine.windowOf(main, main.Command3), BM_CLICK, 0, 0);
  machine.process();
  FrmSplash& about = program.frmSplash();
  MSG key{machine.windowOf(about, about.Command1), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
  EXPECT_TRUE(machine.windows.PreTranslate(key));
  EXPECT_EQ(program.loadedFrmSplash(), nullptr);
}

}  // namespace
}  // namespace volumetra

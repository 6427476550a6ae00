#include "platform/win32/control_windows.h"

#include <vector>

#include "platform/form.h"
#include "platform/win32/caption_fit.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/win32_look.h"

namespace volumetra {
namespace {

constexpr DWORD kChild = WS_CHILD | WS_CLIPSIBLINGS;

// A picture of one character per pixel, drawn stretched to the window, pixel for pixel without
// smoothing; transparent pixels show the face colour.
void PaintPicture(HWND window, const Control* control) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  const Rgb face = FaceColour();
  if (control && control->picture() && control->pictureSize() > 0) {
    const int size = control->pictureSize();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size);
    for (int y = 0; y < size; ++y) {
      const char* row = control->picture()[y];
      bool ended = false;
      for (int x = 0; x < size; ++x) {
        ended = ended || row[x] == '\0';
        const char pixel = ended ? '.' : row[x];
        const Rgb colour = pixel == '.' ? face : PictureColour(pixel);
        pixels[static_cast<std::size_t>(y) * size + x] = (colour.r << 16) | (colour.g << 8) | colour.b;
      }
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, client.right, client.bottom, 0, 0, size, size, pixels.data(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
  } else {
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  }
  EndPaint(window, &paint);
}

LRESULT CALLBACK PictureProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintPicture(window, reinterpret_cast<const Control*>(GetWindowLongPtrA(window, GWLP_USERDATA)));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

void RegisterClass(const char* name, WNDPROC procedure, UINT style) {
  WNDCLASSA windowClass{};
  windowClass.style = style;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
  windowClass.lpszClassName = name;
  RegisterClassA(&windowClass);
}

HWND Make(const char* windowClass, DWORD style, DWORD extendedStyle, HWND parent, int id) {
  return CreateWindowExA(extendedStyle, windowClass, "", kChild | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                         nullptr);
}

bool FirstOptionOfContainer(const Control& c) {
  for (const auto& other : c.form().controls()) {
    if (other->kind() == ControlKind::OptionButton && other->container() == c.container())
      return other.get() == &c;
  }
  return false;
}

}  // namespace

void RegisterWindowClasses(WNDPROC procedure) {
  static const bool registered = [procedure] {
    RegisterClass(kFormClass, procedure, CS_DBLCLKS);
    RegisterClass(kPanelClass, procedure, 0);
    RegisterClass(kPictureClass, PictureProcedure, CS_HREDRAW | CS_VREDRAW);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)registered;
}

DWORD LabelStyle(const Control& label) {
  DWORD style = SS_NOTIFY | SS_NOPREFIX;
  switch (label.alignment()) {
    case Alignment::Right:
      return style | SS_RIGHT;
    case Alignment::Center:
      return style | SS_CENTER;
    case Alignment::Left:
      break;
  }
  return style | (IsOneLineLabel(label) ? SS_LEFTNOWORDWRAP : SS_LEFT);
}

HWND CreateControlWindow(const Control& c, HWND parent, int id) {
  switch (c.kind()) {
    case ControlKind::Label:
      return Make("STATIC", LabelStyle(c), 0, parent, id);
    case ControlKind::Shape:
      // No SS_NOTIFY: a shape is drawn, not clicked; clicks go to what lies under it.
      return Make("STATIC", 0, 0, parent, id);
    case ControlKind::CommandButton:
      return Make("BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, parent, id);
    case ControlKind::CheckBox:
      return Make("BUTTON", BS_3STATE | BS_MULTILINE | WS_TABSTOP, 0, parent, id);
    case ControlKind::OptionButton:
      return Make("BUTTON",
                  BS_RADIOBUTTON | BS_MULTILINE | WS_TABSTOP | (FirstOptionOfContainer(c) ? WS_GROUP : 0), 0,
                  parent, id);
    case ControlKind::TextBox:
      return Make("EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, parent, id);
    case ControlKind::Slider: {
      HWND slider = Make(TRACKBAR_CLASSA, TBS_HORZ | TBS_NOTICKS | WS_TABSTOP, 0, parent, id);
      SendMessageA(slider, TBM_SETRANGEMIN, FALSE, c.min());
      SendMessageA(slider, TBM_SETRANGEMAX, FALSE, c.max());
      SendMessageA(slider, TBM_SETLINESIZE, 0, c.smallChange());
      SendMessageA(slider, TBM_SETPAGESIZE, 0, c.largeChange());
      return slider;
    }
    case ControlKind::StatusBar: {
      // Placed by the view along the client area's bottom edge, at the designed height.
      const DWORD grip = (GetWindowLongA(parent, GWL_STYLE) & WS_THICKFRAME) ? SBARS_SIZEGRIP : 0;
      HWND bar =
          Make(STATUSCLASSNAMEA, CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | grip, 0, parent, id);
      int parts[] = {-1};
      SendMessageA(bar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
      return bar;
    }
    case ControlKind::Frame:
      return Make(kPanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, parent, id);
    case ControlKind::Image: {
      HWND picture = Make(kPictureClass, 0, 0, parent, id);
      SetWindowLongPtrA(picture, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&c));
      return picture;
    }
    case ControlKind::TabControl: {
      HWND tabs = Make(WC_TABCONTROLA, WS_CLIPCHILDREN | WS_TABSTOP, WS_EX_CONTROLPARENT, parent, id);
      int index = 0;
      for (const std::string& caption : c.tabCaptions()) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(caption.c_str());
        SendMessageA(tabs, TCM_INSERTITEMA, index++, reinterpret_cast<LPARAM>(&item));
      }
      return tabs;
    }
  }
  return nullptr;
}

}  // namespace volumetra

#include "platform/win32/control_windows.h"

#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/wide_text.h"
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
      PaintPicture(window, reinterpret_cast<const Control*>(GetWindowLongPtrW(window, GWLP_USERDATA)));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// Unicode classes: their windows take and give UTF-16 texts and characters.
void RegisterWindowClass(const wchar_t* name, WNDPROC procedure, UINT style) {
  WNDCLASSW windowClass{};
  windowClass.style = style;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  windowClass.lpszClassName = name;
  RegisterClassW(&windowClass);
}

HWND Make(const wchar_t* windowClass, DWORD style, DWORD extendedStyle, HWND parent, int id) {
  return CreateWindowExW(extendedStyle, windowClass, L"", kChild | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                         nullptr);
}

// The option buttons of one container (a frame, a page of a tab control, the form) are one group.
bool FirstOptionOfContainer(const Control& c) {
  for (const auto& other : c.form().controls()) {
    if (other->kind() == ControlKind::OptionButton && other->container() == c.container() &&
        other->tabPage() == c.tabPage())
      return other.get() == &c;
  }
  return false;
}

// The procedure of forms and panels, set by RegisterWindowClasses.
WNDPROC formProcedure = nullptr;

const wchar_t* PictureClass() {
  static const bool registered =
      (RegisterWindowClass(kPictureClass, PictureProcedure, CS_HREDRAW | CS_VREDRAW), true);
  (void)registered;
  return kPictureClass;
}

}  // namespace

const wchar_t* PanelClass() {
  static const bool registered = (RegisterWindowClass(kPanelClass, formProcedure, 0), true);
  (void)registered;
  return kPanelClass;
}

void RegisterWindowClasses(WNDPROC procedure) {
  static const bool registered = [procedure] {
    formProcedure = procedure;
    RegisterWindowClass(kFormClass, procedure, CS_DBLCLKS);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)registered;
}

namespace {

HWND MakeControlWindow(const Control& c, HWND parent, int id, DWORD focus) {
  switch (c.kind()) {
    case ControlKind::Label:
      return Make(WC_STATICW, focus | SS_OWNERDRAW | SS_NOTIFY, 0, parent, id);
    case ControlKind::Shape:
      // No SS_NOTIFY: a shape is drawn, not clicked; clicks go to what lies under it.
      return Make(WC_STATICW, focus, 0, parent, id);
    case ControlKind::CommandButton:
      // BS_NOTIFY: the view learns when it gets and loses the focus.
      return Make(WC_BUTTONW, focus | BS_PUSHBUTTON | BS_NOTIFY, 0, parent, id);
    case ControlKind::CheckBox:
      return Make(WC_BUTTONW, focus | BS_3STATE | BS_MULTILINE, 0, parent, id);
    case ControlKind::OptionButton:
      return Make(WC_BUTTONW, focus | BS_RADIOBUTTON | BS_MULTILINE, 0, parent, id);
    case ControlKind::TextBox:
      return Make(WC_EDITW, focus | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, parent, id);
    case ControlKind::Slider: {
      HWND slider = Make(TRACKBAR_CLASSW, focus | TBS_HORZ | TBS_NOTICKS, 0, parent, id);
      SendMessageW(slider, TBM_SETRANGEMIN, FALSE, c.min());
      SendMessageW(slider, TBM_SETRANGEMAX, FALSE, c.max());
      SendMessageW(slider, TBM_SETLINESIZE, 0, c.smallChange());
      SendMessageW(slider, TBM_SETPAGESIZE, 0, c.largeChange());
      return slider;
    }
    case ControlKind::StatusBar: {
      // Placed by the view along the client area's bottom edge, at the designed height.
      const DWORD grip = (GetWindowLongW(parent, GWL_STYLE) & WS_THICKFRAME) ? SBARS_SIZEGRIP : 0;
      HWND bar = Make(STATUSCLASSNAMEW, focus | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | grip, 0,
                      parent, id);
      int parts[] = {-1};
      SendMessageW(bar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
      return bar;
    }
    case ControlKind::Frame:
      return Make(PanelClass(), focus | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, parent, id);
    case ControlKind::Image: {
      HWND picture = Make(PictureClass(), focus, 0, parent, id);
      SetWindowLongPtrW(picture, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&c));
      return picture;
    }
    case ControlKind::TabControl: {
      // Its pages are its siblings (the view lays them out over it), which it must not paint over.
      HWND tabs = Make(WC_TABCONTROLW, focus | WS_CLIPSIBLINGS, 0, parent, id);
      int index = 0;
      for (const std::string& caption : c.tabCaptions()) {
        std::wstring text = Wide(caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(tabs, TCM_INSERTITEMW, index++, reinterpret_cast<LPARAM>(&item));
      }
      return tabs;
    }
  }
  return nullptr;
}

}  // namespace

bool IsTabStop(ControlKind kind) {
  switch (kind) {
    case ControlKind::CommandButton:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
    case ControlKind::TextBox:
    case ControlKind::Slider:
    case ControlKind::TabControl:
      return true;
    case ControlKind::Label:
    case ControlKind::Shape:
    case ControlKind::StatusBar:
    case ControlKind::Frame:
    case ControlKind::Image:
      return false;
  }
  return false;
}

HWND CreateControlWindow(const Control& c, HWND parent, int id) {
  // Arrows move the focus within a group: the option buttons of a container are one group, every
  // other control is one of its own.
  const bool groupStart = c.kind() != ControlKind::OptionButton || FirstOptionOfContainer(c);
  return MakeControlWindow(c, parent, id,
                           (IsTabStop(c.kind()) ? WS_TABSTOP : 0) | (groupStart ? WS_GROUP : 0));
}

}  // namespace volumetra

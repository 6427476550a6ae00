#include "platform/win32/drawn_pixels.h"

#include <algorithm>

#include "platform/win32/wide_text.h"

namespace volumetra {

Canvas::Canvas(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<const std::uint32_t*>(bits);
  old_ = SelectObject(dc_, bitmap_);
}

Canvas::~Canvas() {
  SelectObject(dc_, old_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

Image Canvas::image() const {
  GdiFlush();
  Image image{width_, height_, {}};
  image.pixels.assign(bits_, bits_ + static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
  // GDI leaves the fourth byte alone: only the colour counts.
  for (std::uint32_t& pixel : image.pixels) pixel &= 0x00FFFFFFu;
  return image;
}

std::uint32_t PixelOf(COLORREF colour) {
  return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
         (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

Image Shown(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT client;
  GetClientRect(window, &client);
  Canvas canvas(client.right, client.bottom);
  HDC dc = GetDC(window);
  BitBlt(canvas.dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
  return canvas.image();
}

Image Drawn(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  Canvas canvas(client.right, client.bottom);
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT | PRF_ERASEBKGND);
  return canvas.image();
}

Ink InkOf(const Image& image, std::uint32_t background, RECT area) {
  if (IsRectEmpty(&area)) area = RECT{0, 0, image.width, image.height};
  Ink ink;
  for (LONG y = std::max(area.top, 0L); y < std::min(area.bottom, static_cast<LONG>(image.height)); ++y) {
    for (LONG x = std::max(area.left, 0L); x < std::min(area.right, static_cast<LONG>(image.width)); ++x) {
      if (image.at({x, y}) == background) continue;
      if (ink.pixels.empty()) ink.box = RECT{x, y, x + 1, y + 1};
      ink.pixels.push_back({x, y});
      ink.box = RECT{std::min(ink.box.left, x), std::min(ink.box.top, y), std::max(ink.box.right, x + 1),
                     std::max(ink.box.bottom, y + 1)};
    }
  }
  return ink;
}

FreeInk FreeInkOf(HFONT font, const std::string& text, UINT format, int width) {
  constexpr int kMargin = 100;
  Canvas canvas(width + 2 * kMargin, 400);
  RECT all{0, 0, width + 2 * kMargin, 400};
  FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SetBkColor(canvas.dc(), RGB(0, 0, 0));
  SetTextColor(canvas.dc(), RGB(255, 255, 255));
  SelectObject(canvas.dc(), font);
  RECT area{kMargin, kMargin, kMargin + width, 400};
  const std::wstring wide = Wide(text);
  DrawTextW(canvas.dc(), wide.c_str(), static_cast<int>(wide.size()), &area,
            (format & ~(DT_RIGHT | DT_CENTER)) | DT_LEFT | DT_NOCLIP);
  TEXTMETRICW metrics{};
  GetTextMetricsW(canvas.dc(), &metrics);
  const Ink ink = InkOf(canvas.image(), 0);
  return FreeInk{ink.box, ink.box.bottom - (kMargin + metrics.tmAscent)};
}

RECT RectIn(HWND window, HWND top) {
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(HWND_DESKTOP, top, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace volumetra

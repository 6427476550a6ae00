#include "platform/win32/win32_look.h"

#include <cmath>

#include "platform/font_faces.h"
#include "platform/win32/wide_text.h"

namespace volumetra {
namespace {

constexpr int kPointsPerInch = 72;

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(HDC dc, const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExW(dc, &wanted, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace

Rgb FaceColour() {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  return {GetRValue(face), GetGValue(face), GetBValue(face)};
}

COLORREF ToColorRef(Rgb colour) {
  return RGB(colour.r, colour.g, colour.b);
}

Win32Look::Win32Look() : Win32Look(ScreenDpi()) {}

Win32Look::Win32Look(int dpi) : dpi_(dpi), scale_(dpi), facesDc_(CreateCompatibleDC(nullptr)) {}

Win32Look::~Win32Look() {
  DeleteDC(facesDc_);
  for (const auto& [font, dc] : measuring_) DeleteDC(dc);
  for (const auto& [key, font] : fonts_) DeleteObject(font);
  for (const auto& [key, brush] : brushes_) DeleteObject(brush);
}

RECT Win32Look::toPixels(float left, float top, float width, float height) const {
  const PixelEdges edges = scale_.toPixels(left, top, width, height);
  return RECT{edges.left, edges.top, edges.right, edges.bottom};
}

std::string Win32Look::installedFace(const std::string& designed) {
  const auto known = faces_.find(designed);
  if (known != faces_.end()) return known->second;
  const std::string face = InstalledFace(designed, FaceSystem::Windows, [this](const std::string& candidate) {
    return FaceInstalled(facesDc_, Wide(candidate).c_str());
  });
  faces_.emplace(designed, face);
  return face;
}

HFONT Win32Look::font(const FontSpec& designed, float points) {
  // Sizes that come out at the same pixel height are one font: the fitting of captions tries sizes
  // in quarter points, and each font costs a DC and the system's glyph caches.
  const LONG height = -static_cast<LONG>(std::lround(static_cast<double>(points) * dpi_ / kPointsPerInch));
  const auto key = std::make_tuple(designed.face, height, designed.bold);
  const auto known = fonts_.find(key);
  if (known != fonts_.end()) return known->second;
  LOGFONTW logFont{};
  logFont.lfHeight = height;
  logFont.lfWeight = designed.bold ? FW_BOLD : FW_NORMAL;
  logFont.lfCharSet = DEFAULT_CHARSET;
  logFont.lfQuality = CLEARTYPE_QUALITY;
  logFont.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  lstrcpynW(logFont.lfFaceName, Wide(installedFace(designed.face)).c_str(), LF_FACESIZE);
  HFONT made = CreateFontIndirectW(&logFont);
  fonts_.emplace(key, made);
  return made;
}

HBRUSH Win32Look::brush(Rgb colour) {
  const auto known = brushes_.find(colour.packed());
  if (known != brushes_.end()) return known->second;
  HBRUSH made = CreateSolidBrush(ToColorRef(colour));
  brushes_.emplace(colour.packed(), made);
  return made;
}

HDC Win32Look::measuringDc(HFONT font) const {
  const auto known = measuring_.find(font);
  if (known != measuring_.end()) return known->second;
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, font);
  measuring_.emplace(font, dc);
  return dc;
}

SIZE Win32Look::textExtent(HFONT font, const std::string& text) const {
  HDC dc = measuringDc(font);
  SIZE size{};
  const std::wstring wide = Wide(text);
  GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), &size);
  if (text.empty()) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    size.cy = metrics.tmHeight;
  }
  return size;
}

SIZE Win32Look::textBlock(HFONT font, const std::string& text, int width, UINT format) const {
  RECT block{0, 0, width, 0};
  std::wstring wide = Wide(text);
  DrawTextW(measuringDc(font), wide.data(), static_cast<int>(wide.size()), &block, format | DT_CALCRECT);
  return SIZE{block.right - block.left, block.bottom - block.top};
}

int Win32Look::ascent(HFONT font) const {
  TEXTMETRICW metrics{};
  GetTextMetricsW(measuringDc(font), &metrics);
  return metrics.tmAscent;
}

int Win32Look::textWidth(HFONT font, const std::string& text) const {
  return textExtent(font, text).cx;
}

}  // namespace volumetra

#include "platform/win32/caption_fit.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/caption_groups.h"
#include "platform/text_fit.h"
#include "platform/win32/wide_text.h"

namespace volumetra {

UINT LabelTextFormat(const Control& label) {
  const UINT format = DT_NOPREFIX | DT_EXPANDTABS | (WrapsCaption(label) ? DT_WORDBREAK : DT_SINGLELINE);
  switch (label.alignment()) {
    case Alignment::Right:
      return format | DT_RIGHT;
    case Alignment::Center:
      return format | DT_CENTER;
    case Alignment::Left:
      break;
  }
  return format | DT_LEFT;
}

LabelCaption::LabelCaption(Win32Look& look, const Control& label) : look_(look), label_(label) {}

void LabelCaption::attach(HWND window) {
  window_ = window;
  if (font_) SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  redraw();
}

void LabelCaption::redraw() const {
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void LabelCaption::joinGroup(std::shared_ptr<CaptionSizeGroup> group) {
  places_.joinGroup(std::move(group));
}

void LabelCaption::joinRow(std::shared_ptr<CaptionBaseline> row) {
  places_.joinRow(std::move(row));
  redraw();
}

void LabelCaption::refresh() {
  const bool designChanged = !(label_.font() == designed_);
  if (font_ && label_.caption() == caption_ && !designChanged && client_.cx == size_.cx &&
      client_.cy == size_.cy)
    return;
  if (designChanged) {
    sizing_.forgetLastLine();
    if (places_.row()) places_.row()->invalidate();
  }
  fit();
}

void LabelCaption::setRoom(CaptionRoom room) {
  if (room.left == room_.left && room.right == room_.right && room.covered == room_.covered) return;
  room_ = std::move(room);
  redraw();
  fit();
}

RECT LabelCaption::textArea() const {
  RECT area{0, 0, client_.cx, client_.cy};
  area.left += room_.left;
  area.right -= room_.right;
  return area;
}

void LabelCaption::fit() {
  caption_ = label_.caption();
  designed_ = label_.font();
  size_ = client_;
  const RECT area = textArea();
  // A label that sizes itself, or one without room, shows its caption as it is.
  if (!FitsCaption(label_) || area.right <= area.left || area.bottom <= area.top || designed_.points <= 0) {
    sizing_.fitAsIs(designed_.points);
  } else if (WrapsCaption(label_)) {
    sizing_.fit(designed_.points, 1.0, false, [this](float points) { return wrappedShare(points); });
  } else {
    sizing_.fit(designed_.points, area.right - area.left, true, [this](float points) {
      return static_cast<double>(look_.textWidth(look_.font(designed_, points), caption_));
    });
  }
  if (places_.group()) {
    places_.group()->refit(this);
  } else {
    showAt(sizing_.own());
  }
}

double LabelCaption::wrappedShare(float points) const {
  HFONT font = look_.font(designed_, points);
  const RECT area = textArea();
  const double width = area.right - area.left;
  const double height = area.bottom - area.top;
  const SIZE used = look_.textBlock(font, caption_, area.right - area.left, LabelTextFormat(label_));
  return std::max(used.cx / width, (used.cy + drop(font)) / height);
}

bool LabelCaption::fitsIn(HFONT font, const std::string& text) const {
  const RECT area = textArea();
  const int width = area.right - area.left;
  if (!WrapsCaption(label_)) return look_.textWidth(font, text) <= width;
  const SIZE used = look_.textBlock(font, text, width, LabelTextFormat(label_));
  return used.cx <= width && used.cy + drop(font) <= area.bottom - area.top;
}

bool LabelCaption::fitsAt(float points) {
  return sizing_.fitsAt(points);
}

void LabelCaption::showAt(std::optional<float> points) {
  HFONT font = look_.font(designed_, points.value_or(std::min(designed_.points, kSmallestFittingPoints)));
  const bool whole = points && fitsAt(*points);
  std::string shown = whole ? caption_
                            : ShortenedCaption(caption_, label_.alignment() == Alignment::Right,
                                               [&](const std::string& text) { return fitsIn(font, text); });
  if (font == font_ && shown == shown_) return;
  font_ = font;
  shown_ = std::move(shown);
  if (window_) SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  redraw();
}

double LabelCaption::designedAscent() const {
  return look_.ascent(look_.font(label_.font()));
}

int LabelCaption::drop(HFONT font) const {
  const double baseline = places_.row() ? places_.row()->baseline() : OwnBaseline(*this);
  return static_cast<int>(std::lround(baseline)) - look_.ascent(font);
}

void LabelCaption::draw(HDC dc, const RECT& client) const {
  RECT area = client;
  area.left += room_.left;
  area.right -= room_.right;
  if (area.right <= area.left || !font_) return;
  HGDIOBJ old = SelectObject(dc, font_);
  area.top += drop(font_);
  if (room_.covered.empty()) {
    const std::wstring text = Wide(shown_);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, LabelTextFormat(label_));
  } else {
    drawClearOfCovered(dc, area);
  }
  SelectObject(dc, old);
}

void LabelCaption::drawClearOfCovered(HDC dc, const RECT& area) const {
  const std::wstring text = Wide(shown_);
  const int count = static_cast<int>(text.size());
  if (count == 0) return;
  // Where each character ends across the line, and where its ink lies within its cell.
  std::vector<INT> ends(static_cast<std::size_t>(count));
  SIZE size{};
  GetTextExtentExPointW(dc, text.c_str(), count, 0, nullptr, ends.data(), &size);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  for (int i = 0; i < count;) {
    const int length = IS_HIGH_SURROGATE(text[i]) && i + 1 < count ? 2 : 1;
    const int start = i == 0 ? 0 : ends[i - 1];
    double inkLeft = start;
    double inkRight = ends[i + length - 1];
    ABC abc{};
    if (length == 1 && GetCharABCWidthsW(dc, text[i], text[i], &abc)) {
      inkLeft = start + abc.abcA;
      inkRight = inkLeft + abc.abcB;
    }
    const double left = area.left + inkLeft;
    const double right = area.left + inkRight;
    const bool clear = std::none_of(room_.covered.begin(), room_.covered.end(), [&](const Extent& span) {
      return left < span.right && right > span.left;
    });
    if (clear) ExtTextOutW(dc, area.left + start, area.top, 0, nullptr, text.c_str() + i, length, nullptr);
    i += length;
  }
  SetBkMode(dc, oldMode);
}

}  // namespace volumetra

#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/caption_fitting.h"
#include "platform/caption_neighbours.h"
#include "platform/control.h"
#include "platform/win32/win32_look.h"

namespace volumetra {

/// How a label's caption is drawn (DrawTextW) for its alignment: on one line, or wrapped at word
/// boundaries when the label is tall enough for two lines (WrapsCaption).
UINT LabelTextFormat(const Control& label);

/// The caption of a label as its owner-drawn static draws it. The label's window text stays the
/// whole caption, for assistive tools; this is what is drawn.
///
/// A label of fixed size fits its caption into the room its neighbours leave it (CaptionRoom): in
/// the designed font when it fits, else at the largest smaller size that does (FittingPoints), a
/// member of a size group (a table column) at the group's one size (CaptionSizeGroup); only a
/// caption that fits at no size is shortened with "…", a right-aligned one keeping the end of its
/// text, the others the start. The first line stands on the row's baseline (CaptionBaseline), or
/// else on the designed font's, so a caption drawn smaller still reads in line with its row.
/// A label that sizes itself draws its caption in the designed font, only the characters wholly
/// clear of the siblings in front of it.
class LabelCaption final : public FittedCaption {
 public:
  /// The caption is fitted whether or not the label has a window yet: a hidden label still
  /// counts in its size group and row.
  LabelCaption(Win32Look& look, const Control& label);
  LabelCaption(const LabelCaption&) = delete;
  LabelCaption& operator=(const LabelCaption&) = delete;

  /// The label's window, once it is made: it takes the font the caption is drawn in.
  void attach(HWND window);
  /// The size of the label's client area, where the view places it.
  void resize(SIZE client) { client_ = client; }
  void joinGroup(std::shared_ptr<CaptionSizeGroup> group);
  void joinRow(std::shared_ptr<CaptionBaseline> row);
  /// Fits the caption again when it, the designed font or the label's size changed since.
  void refresh();
  /// Fits the caption anew: the label joined its group and row.
  void fit();
  void setRoom(CaptionRoom room);

  /// The font the caption is drawn in; the window has it too (WM_GETFONT).
  HFONT font() const { return font_; }
  /// The caption as it is drawn.
  const std::string& shown() const { return shown_; }
  /// The room its neighbours leave it.
  const CaptionRoom& room() const { return room_; }
  /// Draws the caption into the window's client area `client` on `dc`, whose colours are set.
  void draw(HDC dc, const RECT& client) const;

  std::optional<float> ownPoints() const override { return sizing_.own(); }
  bool fitsAt(float points) override;
  void showAt(std::optional<float> points) override;
  double designedAscent() const override;
  double pixelRatio() const override { return 1; }

 private:
  /// The client area less the room the neighbours take.
  RECT textArea() const;
  /// How far the top of a line in `font` lies below the top of the text area, so that its
  /// baseline is the row's.
  int drop(HFONT font) const;
  bool fitsIn(HFONT font, const std::string& text) const;
  /// The share of the text area that the caption's wrapped lines need at `points`, across or down.
  double wrappedShare(float points) const;
  void drawClearOfCovered(HDC dc, const RECT& area) const;
  void redraw() const;

  Win32Look& look_;
  const Control& label_;
  HWND window_ = nullptr;
  SIZE client_{0, 0};
  // What the caption was last fitted to.
  std::string caption_;
  FontSpec designed_;
  SIZE size_{-1, -1};
  CaptionRoom room_;
  CaptionSizing sizing_;
  HFONT font_ = nullptr;
  std::string shown_;
  CaptionPlaces places_{*this};
};

}  // namespace volumetra

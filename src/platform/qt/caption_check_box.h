#pragma once

#include <QCheckBox>

#include "platform/qt/caption_label.h"

namespace volumetra {

/// A check box whose caption wraps onto further lines within the box's height, as the designed
/// check boxes do, and is fitted like a fixed-size label's (CaptionLabel). The box keeps its text
/// for keyboard, accessibility and tests; a word-wrapped caption label beside the indicator draws
/// it. A click anywhere on the caption toggles the box, and keyboard focus is shown around the
/// caption's text.
class CaptionCheckBox : public QCheckBox {
 public:
  explicit CaptionCheckBox(QWidget* parent = nullptr);

  void setCaption(const QString& caption);
  const CaptionLabel& captionLabel() const { return *caption_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool hitButton(const QPoint& pos) const override;

 private:
  void placeCaption();

  CaptionLabel* caption_;
};

}  // namespace volumetra

#pragma once

#include <QLabel>
#include <vector>

#include "platform/caption_neighbours.h"

namespace volumetra {

/// A label that sizes itself to its caption. Where siblings in front of it cover stretches of its
/// line (a header line behind the header cells), it draws only the characters that stand wholly
/// clear of those stretches, so no sliver of a covered character shows beside a sibling.
class SelfSizingLabel : public QLabel {
 public:
  explicit SelfSizingLabel(QWidget* parent = nullptr);

  /// The stretches that siblings in front cover, in the label's coordinates.
  void setCoveredSpans(std::vector<Extent> spans);
  const std::vector<Extent>& coveredSpans() const { return covered_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool clear(qreal left, qreal right) const;

  std::vector<Extent> covered_;
};

}  // namespace volumetra

#pragma once

#include <QLabel>
#include <utility>
#include <vector>

namespace volumetra {

/// A label that sizes itself to its caption. Where siblings in front of it cover stretches of its
/// line (a header line behind the header cells), it draws only the characters that stand wholly
/// clear of those stretches, so no sliver of a covered character shows beside a sibling.
class SelfSizingLabel : public QLabel {
 public:
  explicit SelfSizingLabel(QWidget* parent = nullptr);

  /// The stretches that siblings in front cover, from-to across, in the label's coordinates.
  void setCoveredSpans(std::vector<std::pair<qreal, qreal>> spans);
  const std::vector<std::pair<qreal, qreal>>& coveredSpans() const { return covered_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool clear(qreal left, qreal right) const;

  std::vector<std::pair<qreal, qreal>> covered_;
};

}  // namespace volumetra

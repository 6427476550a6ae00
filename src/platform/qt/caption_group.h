#pragma once

#include <QtGlobal>
#include <optional>
#include <vector>

namespace volumetra {

class CaptionLabel;

/// Labels drawn at one size (CaptionSizeGroups): a table column. When a member's caption, size or
/// font changes, the group's size is found again from the sizes its members fit at
/// (SharedFittingPoints) and every member is drawn at it. The members share the group; one that
/// goes leaves it.
class CaptionGroup {
 public:
  void add(CaptionLabel& member);
  void remove(CaptionLabel& member);
  /// Finds the group's size again after `changed` was fitted anew (nullptr: after any change);
  /// while the size stays, only the changed member is drawn again.
  void refit(CaptionLabel* changed = nullptr);

 private:
  std::vector<CaptionLabel*> members_;
  // The size the members are drawn at, once they are.
  std::optional<std::optional<float>> shown_;
};

/// One-line labels whose captions stand on one baseline (CaptionRows): the lowest of the
/// baselines their designed fonts give, on a whole device pixel.
class CaptionRow {
 public:
  void add(CaptionLabel& member);
  void remove(CaptionLabel& member);
  /// Forgets the baseline: a member's designed font changed.
  void invalidate() { baseline_.reset(); }
  qreal baseline();

 private:
  std::vector<CaptionLabel*> members_;
  std::optional<qreal> baseline_;
};

}  // namespace volumetra

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
  void add(CaptionLabel& member) { members_.push_back(&member); }
  void remove(CaptionLabel& member) { std::erase(members_, &member); }
  void refit();

 private:
  std::vector<CaptionLabel*> members_;
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

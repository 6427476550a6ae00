#include "platform/caption_groups.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>

namespace volumetra {
namespace {

constexpr float kTwipsPerPoint = 20.0f;
constexpr float kLineSpacing = 1.2f;

// The controls of `form` grouped by `keyOf` (those without a key left out), the groups in the order
// their first members were designed, groups of one left out.
template <typename Key>
std::vector<std::vector<Control*>> GroupedBy(const Form& form,
                                             const std::function<std::optional<Key>(const Control&)>& keyOf) {
  std::map<Key, std::size_t> slot;
  std::vector<std::vector<Control*>> groups;
  for (const std::unique_ptr<Control>& owned : form.controls()) {
    const auto key = keyOf(*owned);
    if (!key) continue;
    const auto [found, added] = slot.emplace(*key, groups.size());
    if (added) groups.emplace_back();
    groups[found->second].push_back(owned.get());
  }
  std::erase_if(groups, [](const std::vector<Control*>& group) { return group.size() < 2; });
  return groups;
}

}  // namespace

bool FitsCaption(const Control& c) {
  return c.kind() == ControlKind::Label && !c.autoSize();
}

bool WrapsCaption(const Control& c) {
  return FitsCaption(c) && c.height() >= 2 * kLineSpacing * c.font().points * kTwipsPerPoint;
}

std::vector<std::vector<Control*>> CaptionSizeGroups(const Form& form) {
  // A control array is keyed by its name, a design group by its group name; the two never meet,
  // as an array's elements carry an index.
  using Key = std::pair<std::string, bool>;
  return GroupedBy<Key>(form, [](const Control& c) -> std::optional<Key> {
    if (!FitsCaption(c)) return std::nullopt;
    if (c.index() >= 0) return std::pair(c.name(), true);
    if (!c.sizeGroup().empty()) return std::pair(c.sizeGroup(), false);
    return std::nullopt;
  });
}

std::vector<std::vector<Control*>> CaptionRows(const Form& form) {
  using Key = std::tuple<const Control*, int, float>;
  return GroupedBy<Key>(form, [](const Control& c) -> std::optional<Key> {
    if (!FitsCaption(c)) return std::nullopt;
    return std::tuple(c.container(), c.tabPage(), c.designedRect().top);
  });
}

}  // namespace volumetra

#include "platform/linux/drive_letters.h"

#include <set>

namespace volumetra {

namespace {
constexpr char kFirstLetter = 'D';
constexpr char kLastLetter = 'Z';
}  // namespace

DriveLetterMap AssignDriveLetters(const DriveLetterMap& previous,
                                  const std::vector<std::string>& keysInMountOrder) {
  const std::set<std::string> present(keysInMountOrder.begin(), keysInMountOrder.end());
  DriveLetterMap letters;
  std::set<std::string> lettered;
  for (const auto& [letter, key] : previous) {
    if (letter < kFirstLetter || letter > kLastLetter || !present.contains(key)) continue;
    letters[letter] = key;
    lettered.insert(key);
  }
  char candidate = kFirstLetter;
  for (const std::string& key : keysInMountOrder) {
    if (lettered.contains(key)) continue;
    while (candidate <= kLastLetter && letters.contains(candidate)) ++candidate;
    if (candidate > kLastLetter) break;
    letters[candidate] = key;
    lettered.insert(key);
  }
  return letters;
}

}  // namespace volumetra

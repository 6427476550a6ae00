#include "platform/linux/drive_letters.h"

#include <functional>
#include <set>

namespace volumetra {

namespace {

constexpr char kFirstLetter = 'D';
constexpr char kLastLetter = 'Z';

// The same file system: by UUID where both have one, else by source.
bool SameFileSystem(const KnownVolume& a, const KnownVolume& b) {
  if (!a.uuid.empty() && !b.uuid.empty()) return a.uuid == b.uuid;
  return a.source == b.source;
}

bool SamePlace(const KnownVolume& mount, const KnownVolume& known) {
  return mount.mountPoint == known.mountPoint && mount.root == known.root && SameFileSystem(mount, known);
}

bool MountedElsewhere(const KnownVolume& mount, const KnownVolume& known) {
  return !mount.uuid.empty() && mount.uuid == known.uuid && mount.root == known.root;
}

// The lowest letter that is free and `allowed`; 0 when there is none.
char LowestLetter(const DriveLetterMap& letters, const std::function<bool(char)>& allowed) {
  for (char letter = kFirstLetter; letter <= kLastLetter; ++letter)
    if (!letters.contains(letter) && allowed(letter)) return letter;
  return 0;
}

}  // namespace

DriveLetterMap AssignDriveLetters(const DriveLetterMap& previous, const std::vector<LetterRequest>& mounts,
                                  KnownLetters& known) {
  std::map<std::string, const LetterRequest*> byKey;
  for (const LetterRequest& mount : mounts) byKey.emplace(mount.key, &mount);

  DriveLetterMap letters;
  std::set<std::string> lettered;
  for (const auto& [letter, key] : previous) {
    const auto mount = byKey.find(key);
    if (letter < kFirstLetter || letter > kLastLetter || mount == byKey.end()) continue;
    letters[letter] = key;
    lettered.insert(key);
    known[letter] = mount->second->volume;
  }

  std::vector<const LetterRequest*> waiting;
  for (const LetterRequest& mount : mounts)
    if (lettered.insert(mount.key).second) waiting.push_back(&mount);
  const auto take = [&](char letter, const LetterRequest*& mount) {
    letters[letter] = mount->key;
    std::erase_if(known, [&](const auto& entry) { return entry.second == mount->volume; });
    known[letter] = mount->volume;
    mount = nullptr;
  };

  for (const auto& matches : {SamePlace, MountedElsewhere}) {
    for (const LetterRequest*& mount : waiting) {
      if (!mount) continue;
      for (const auto& [letter, volume] : known) {
        if (letters.contains(letter) || !matches(mount->volume, volume)) continue;
        take(letter, mount);
        break;
      }
    }
  }
  for (const LetterRequest*& mount : waiting) {
    if (!mount) continue;
    char letter = LowestLetter(letters, [&](char l) { return !known.contains(l); });
    if (letter == 0) letter = LowestLetter(letters, [](char) { return true; });
    if (letter == 0) break;
    take(letter, mount);
  }
  return letters;
}

}  // namespace volumetra

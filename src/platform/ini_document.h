#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace volumetra {

/// The text of an initialisation file (UTF-8, without a byte-order mark), read and edited the way
/// the Windows profile functions do: "[Section]" lines and "key=value" lines, section and key names
/// matched without regard to case and to surrounding blanks, lines starting with ";" are comments.
/// Editing keeps every other line byte for byte, with its own line end.
class IniDocument {
 public:
  /// `lineEnd` ends the lines added to a text that has no line end of its own yet (a new file).
  explicit IniDocument(std::string_view content, std::string_view lineEnd = "\n");

  /// The value of `key` in the first section named `section`: trimmed of surrounding blanks and of
  /// one pair of matching surrounding quotes (" or '). Empty optional when the key is missing.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;

  /// Stores `value` under `key`: replaces the first matching key line in place, or adds the key
  /// after the last key line of its section, or adds the section at the end of the text. A value
  /// that would not read back unchanged (surrounding blanks, or quotes of its own around it) is
  /// stored inside a pair of double quotes. The caller checks the names and the value first
  /// (`IsStorableIniEntry`).
  void set(std::string_view section, std::string_view key, std::string_view value);

  /// The whole text.
  std::string text() const;

 private:
  struct Line {
    std::string text;  ///< without its line end
    std::string end;   ///< "\r\n", "\n", or empty for a last line without one
  };
  /// The index of the first line of the first section named `section`, if any.
  std::optional<std::size_t> findSection(std::string_view section) const;
  /// One past the last line of the section whose header is at `header`.
  std::size_t sectionEnd(std::size_t header) const;
  void insertLine(std::size_t at, std::string text);

  std::vector<Line> lines_;
  std::string newline_;  ///< the line end of added lines: the file's first one, else the given one
};

/// True when `section`, `key` and `value` can be stored without changing the file's structure: no
/// line break or NUL anywhere, a key that could not be taken for a section or comment line and has
/// no "=", a non-empty section name without "]".
bool IsStorableIniEntry(std::string_view section, std::string_view key, std::string_view value);

}  // namespace volumetra

#include "platform/ini_document.h"

#include <algorithm>
#include <initializer_list>

namespace volumetra {
namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";

enum class LineKind { Blank, Section, Comment, Entry };

bool IsBlank(char c) {
  return kBlanks.find(c) != std::string_view::npos;
}
bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

std::string_view Trim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  a = Trim(a);
  b = Trim(b);
  return std::ranges::equal(a, b, [](char x, char y) { return Lower(x) == Lower(y); });
}

LineKind KindOf(std::string_view text) {
  const std::string_view t = Trim(text);
  if (t.empty()) return LineKind::Blank;
  if (t.front() == '[') return LineKind::Section;
  if (t.front() == ';') return LineKind::Comment;
  return LineKind::Entry;
}

// "[ name ]" gives "name"; a header without "]" names the rest of its line.
std::string_view SectionName(std::string_view text) {
  std::string_view t = Trim(text);
  t.remove_prefix(1);
  return Trim(t.substr(0, t.rfind(']')));
}

std::string_view EntryName(std::string_view text) {
  return Trim(text.substr(0, text.find('=')));
}

std::string Unquoted(std::string_view value) {
  if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

const std::string kCrLf = "\r\n";
const std::string kLf = "\n";

// The pieces joined into one string (built by appending, which also keeps GCC 12's -Wrestrict
// false alarm on chained operator+ away).
std::string Concat(std::initializer_list<std::string_view> pieces) {
  std::string joined;
  for (std::string_view piece : pieces) joined.append(piece);
  return joined;
}

// The stored form that reads back as `value`.
std::string Quoted(std::string_view value) {
  const bool needsQuotes =
      !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) ||
                         (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()));
  return needsQuotes ? Concat({"\"", value, "\""}) : std::string(value);
}

}  // namespace

IniDocument::IniDocument(std::string_view content, std::string_view lineEnd) {
  while (!content.empty()) {
    const std::size_t lf = content.find('\n');
    Line line;
    if (lf == std::string_view::npos) {
      line.text = content;
      content = {};
    } else {
      const bool crlf = lf > 0 && content[lf - 1] == '\r';
      line.text = content.substr(0, crlf ? lf - 1 : lf);
      line.end = crlf ? kCrLf : kLf;
      content.remove_prefix(lf + 1);
      if (newline_.empty()) newline_ = line.end;
    }
    lines_.push_back(std::move(line));
  }
  if (newline_.empty()) newline_ = lineEnd;
}

std::optional<std::size_t> IniDocument::findSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (KindOf(lines_[i].text) == LineKind::Section && SameName(SectionName(lines_[i].text), section))
      return i;
  }
  return std::nullopt;
}

std::size_t IniDocument::sectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  while (i < lines_.size() && KindOf(lines_[i].text) != LineKind::Section) ++i;
  return i;
}

std::optional<std::string> IniDocument::value(std::string_view section, std::string_view key) const {
  const std::optional<std::size_t> header = findSection(section);
  if (!header) return std::nullopt;
  for (std::size_t i = *header + 1, end = sectionEnd(*header); i < end; ++i) {
    const std::string_view text = lines_[i].text;
    if (KindOf(text) != LineKind::Entry || !SameName(EntryName(text), key)) continue;
    const std::size_t eq = text.find('=');
    return eq == std::string_view::npos ? std::string() : Unquoted(Trim(text.substr(eq + 1)));
  }
  return std::nullopt;
}

void IniDocument::insertLine(std::size_t at, std::string text) {
  if (at > 0 && lines_[at - 1].end.empty()) lines_[at - 1].end = newline_;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), newline_});
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string stored = Quoted(value);
  const std::optional<std::size_t> header = findSection(section);
  if (!header) {
    if (!lines_.empty() && KindOf(lines_.back().text) != LineKind::Blank) insertLine(lines_.size(), "");
    insertLine(lines_.size(), Concat({"[", section, "]"}));
    insertLine(lines_.size(), Concat({key, "=", stored}));
    return;
  }
  std::size_t insertAt = *header + 1;
  for (std::size_t i = *header + 1, end = sectionEnd(*header); i < end; ++i) {
    std::string& text = lines_[i].text;
    if (KindOf(text) != LineKind::Entry) continue;
    if (!SameName(EntryName(text), key)) {
      insertAt = i + 1;
      continue;
    }
    // Keep the key as spelled in the file and the blanks after its "=" (all of them when the value
    // is empty), so that writing a value twice gives the same line as writing it once.
    const std::size_t eq = text.find('=');
    if (eq == std::string::npos) {
      text = Concat({Trim(text), "=", stored});
      return;
    }
    std::size_t valueStart = text.find_first_not_of(" \t", eq + 1);
    if (valueStart == std::string::npos) valueStart = text.size();
    text = text.substr(0, valueStart) + stored;
    return;
  }
  insertLine(insertAt, Concat({key, "=", stored}));
}

std::string IniDocument::text() const {
  std::string out;
  for (const Line& line : lines_) out += line.text + line.end;
  return out;
}

bool IsStorableIniEntry(std::string_view section, std::string_view key, std::string_view value) {
  const auto breaksLine = [](std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != s.npos;
  };
  if (breaksLine(section) || breaksLine(key) || breaksLine(value)) return false;
  const std::string_view s = Trim(section);
  const std::string_view k = Trim(key);
  if (s.empty() || s.find(']') != s.npos) return false;
  return !k.empty() && k.find('=') == k.npos && k.front() != '[' && k.front() != ';';
}

}  // namespace volumetra

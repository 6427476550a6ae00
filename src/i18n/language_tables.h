#pragma once

#include <span>

namespace volumetra {

/// The window a text goes to.
enum class TextWindow { Form1, Form2, Form3 };
enum class TextProperty { Caption, ToolTip };

/// One text of the full tables: where it goes and its English and Deutsch wording. A null
/// wording leaves the property alone in that language.
struct LanguageText {
  TextWindow window;
  const char* control;
  int index;  ///< element of a control array, or -1
  TextProperty property;
  const char* english;
  const char* deutsch;
};

/// The header line of the table for both unit modes: titles at fixed character columns.
struct HeaderLines {
  const char* unit1000;
  const char* unitOther;
};

/// A language with a short table: the header line and the words for free and used space.
struct ShortLanguage {
  const char* name;
  const char* freeWord;
  const char* usedWord;
  const HeaderLines& headerLines;
};

/// The full tables in the order they are applied: the header captions, then the size headers of
/// the unit mode (unit 1000 when `unit1000`), then the remaining texts.
std::span<const LanguageText> HeaderCaptionTexts();
std::span<const LanguageText> UnitCaptionTexts(bool unit1000);
std::span<const LanguageText> RemainingTexts();

/// Dutch, Francais, Dansk, Suomi, Italiano and Espanol.
std::span<const ShortLanguage> ShortLanguages();

}  // namespace volumetra

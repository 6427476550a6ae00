#include "app/apply_language.h"

#include <string>

#include "app/form1.h"
#include "app/program.h"
#include "i18n/language_tables.h"
#include "windows/form2.h"
#include "windows/form3.h"

namespace volumetra {
namespace {

enum class FullTable { English, Deutsch };

// Referring to a window creates it (hidden) when it is not loaded.
Form& Window(Program& program, TextWindow window) {
  switch (window) {
    case TextWindow::Form1:
      return program.form1();
    case TextWindow::Form2:
      return program.form2();
    case TextWindow::Form3:
      return program.form3();
  }
  return program.form1();
}

void SetText(Program& program, TextWindow window, const char* name, int index, TextProperty property,
             const std::string& text) {
  Control& control = Window(program, window).control(name, index);
  if (property == TextProperty::Caption) {
    control.setCaption(text);
  } else {
    control.setToolTip(text);
  }
}

void SetCaption(Program& program, TextWindow window, const char* name, const std::string& text) {
  SetText(program, window, name, -1, TextProperty::Caption, text);
}

void ApplyTexts(Program& program, std::span<const LanguageText> texts, FullTable table) {
  for (const LanguageText& t : texts) {
    const char* text = table == FullTable::English ? t.english : t.deutsch;
    if (text) SetText(program, t.window, t.control, t.index, t.property, text);
  }
}

void ApplyFullTable(Program& program, FullTable table, bool unit1000) {
  ApplyTexts(program, HeaderCaptionTexts(), table);
  ApplyTexts(program, UnitCaptionTexts(unit1000), table);
  ApplyTexts(program, RemainingTexts(), table);
}

void ApplyShortTable(Program& program, const ShortLanguage& language, bool unit1000) {
  const HeaderLines& lines = language.headerLines;
  SetCaption(program, TextWindow::Form1, "Label1", unit1000 ? lines.unit1000 : lines.unitOther);
  SetCaption(program, TextWindow::Form1, "Label131", language.freeWord);
  SetCaption(program, TextWindow::Form1, "Label52", language.usedWord);
  SetCaption(program, TextWindow::Form1, "Command3", "About");
  SetCaption(program, TextWindow::Form1, "Command4", "Options");
  SetCaption(program, TextWindow::Form1, "Command5", "Next");
  SetCaption(program, TextWindow::Form2, "Label26", language.freeWord);
  SetCaption(program, TextWindow::Form2, "Label27", "Total");
}

}  // namespace

void ApplyLanguage(Program& program) {
  const std::string& language = program.m.Language;
  const bool unit1000 = program.m.UnitFactor == 1000;
  // Whole, case-sensitive names; no table for any other text, and nothing is reset first.
  if (language == "English") ApplyFullTable(program, FullTable::English, unit1000);
  if (language == "Deutsch") ApplyFullTable(program, FullTable::Deutsch, unit1000);
  for (const ShortLanguage& shortTable : ShortLanguages()) {
    if (language == shortTable.name) ApplyShortTable(program, shortTable, unit1000);
  }
}

}  // namespace volumetra

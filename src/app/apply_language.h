#pragma once

namespace volumetra {

class Program;

/// Puts the captions and tool tips of the current language into the three windows, the column
/// headers chosen by the unit mode. A control the language does not name keeps its text.
void ApplyLanguage(Program& program);

}  // namespace volumetra

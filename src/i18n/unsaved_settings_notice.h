#pragma once

#include <string>

namespace volumetra {

/// What the user is told after the end of a run whose settings could not be saved: `error` is
/// "<path>: <reason>". In German when the program's language is German, else in English (the other
/// languages' tables have no such text).
std::string UnsavedSettingsNotice(const std::string& language, const std::string& error);

}  // namespace volumetra

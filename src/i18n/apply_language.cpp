// Stand-in until the language tables are built.
#include "i18n/apply_language.h"

namespace volumetra {

void ApplyLanguage(Program&) {}

}  // namespace volumetra

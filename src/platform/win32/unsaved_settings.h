#pragma once

#include <string>

namespace volumetra {

/// Tells the user, once the program has ended, that its settings could not be saved (nothing when
/// they were). When the user closed the program: a message box naming the file and the reason.
/// When Windows ends the session: the Application event log and the debugger's output instead, so
/// that nothing holds up the end of the session.
void TellUnsavedSettings(const std::string& language, const std::string& saveError, bool userClosed);

}  // namespace volumetra

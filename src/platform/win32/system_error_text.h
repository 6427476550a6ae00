#pragma once

#include <string>

namespace volumetra {

/// The system's text for a GetLastError() code, without its final full stop and line end.
std::string SystemErrorText(unsigned long error);

}  // namespace volumetra

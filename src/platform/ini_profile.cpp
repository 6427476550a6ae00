// Stand-in until the profile file format is built.
#include "platform/ini_profile.h"

namespace volumetra {

int IniProfile::GetPrivateProfileString(const std::string&, const std::string&, const std::string& defaultValue,
                                        std::string& buffer, int, const std::string&) {
  buffer = defaultValue;
  return static_cast<int>(defaultValue.size());
}
int IniProfile::WritePrivateProfileString(const std::string&, const std::string&, const std::string&,
                                          const std::string&) {
  return 0;
}

}  // namespace volumetra

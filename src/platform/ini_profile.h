#pragma once

#include "platform/profile_service.h"

namespace volumetra {

/// The initialisation-file format of the Windows profile functions, read and written by the
/// program itself: "[Section]" lines and "key=value" lines, names matched without regard to case.
/// A write replaces the whole file atomically (a temporary file renamed over the old one), so an
/// interrupted save leaves the old file or the new one, never a torn one.
class IniProfile : public ProfileService {
 public:
  int GetPrivateProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, std::string& buffer, int size,
                              const std::string& path) override;
  int WritePrivateProfileString(const std::string& section, const std::string& key,
                                const std::string& value, const std::string& path) override;
};

}  // namespace volumetra

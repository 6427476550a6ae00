#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace volumetra {

/// The drives that scripts/wine_prefix.sh adds to the Wine prefix of the Windows tests: a
/// labelled drive, a CD-ROM drive, a drive whose label no ANSI code page holds whole and, where a
/// 20 TiB tmpfs could be mounted, a drive of more than 2^32 clusters of 4 KiB.
inline constexpr char kLabelledDrive = 'M';
inline constexpr const char* kLabelledDriveLabel = "MEDIA";
inline constexpr std::uint32_t kLabelledDriveSerial = 0x1234ABCD;
inline constexpr char kCdRomDrive = 'N';
inline constexpr char kUnicodeLabelDrive = 'P';
inline constexpr const char* kUnicodeLabel = "Fotos für Oma 写真";
inline constexpr char kLargeDrive = 'T';
inline constexpr std::uint64_t kLargeDriveBytes = std::uint64_t{20} << 40;

/// True when the drives were prepared (run_under_wine.sh sets VOLUMETRA_WINE_DRIVES); `large` asks
/// for the large drive too.
bool WineDrivesPrepared(bool large = false);

/// The network drive that tests/platform/win32/dead_share_under_wine.sh adds to a Wine prefix of
/// its own: a FUSE file system whose server answers nothing while the file `silence` exists.
struct DeadShare {
  char letter = 'X';
  std::string silence;  ///< a Windows path
};

/// The dead share when that script runs the tests (VOLUMETRA_DEAD_SHARE: letter, then the path).
std::optional<DeadShare> PreparedDeadShare();

/// A Unix path as Wine shows it under drive Z:.
std::string WindowsPathOf(const std::string& unixPath);

}  // namespace volumetra

#pragma once

#include "support/headless/fake_volumes.h"

namespace volumetra {

/// A machine of today: a 250 GB root disk with 179 GB used, a tmpfs, a FUSE file system, a 20 TiB
/// volume and a serial number of 11 characters.
void AddTodaysDrives(FakeVolumes& volumes);

}  // namespace volumetra

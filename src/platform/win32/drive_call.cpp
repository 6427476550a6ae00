#include "platform/win32/drive_call.h"

namespace volumetra {

DriveCallResult RunDriveCall(VolumeCalls& calls, const DriveCall& call) {
  const std::string root{call.letter, ':', '\\'};
  DriveCallResult result;
  result.ok = true;
  switch (call.kind) {
    case DriveCall::Kind::VolumeInformation:
      result.information = calls.VolumeInformationOf(root);
      break;
    case DriveCall::Kind::FreeSpace:
      result.geometry = call.geometry ? call.geometry : calls.DiskFreeSpace(root);
      if (result.geometry) result.bytes = calls.DiskFreeSpaceEx(root);
      // Without byte counts the call's own counts stand, and those must be fresh.
      if (call.geometry && !result.bytes) result.geometry = calls.DiskFreeSpace(root);
      break;
    case DriveCall::Kind::FirstEntry:
      result.listing = calls.FirstEntry({call.letter, ':', '*'});
      break;
    case DriveCall::Kind::RemoteName:
      result.remoteName = calls.RemoteName(call.letter);
      break;
  }
  return result;
}

}  // namespace volumetra

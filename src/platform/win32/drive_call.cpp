#include "platform/win32/drive_call.h"

namespace volumetra {
namespace {

void AskFreeSpace(VolumeCalls& calls, const DriveCall& call, const std::string& root,
                  DriveCallResult& result) {
  result.geometry = call.geometry ? call.geometry : calls.DiskFreeSpace(root);
  if (result.geometry) result.bytes = calls.DiskFreeSpaceEx(root);
  // Without byte counts the call's own counts stand, and those must be fresh.
  if (call.geometry && !result.bytes) result.geometry = calls.DiskFreeSpace(root);
}

}  // namespace

DriveCallResult RunDriveCall(VolumeCalls& calls, const DriveCall& call) {
  const std::string root{call.letter, ':', '\\'};
  DriveCallResult result;
  result.ok = true;
  switch (call.kind) {
    case DriveCall::Kind::VolumeInformation:
      result.information = calls.VolumeInformationOf(root);
      break;
    case DriveCall::Kind::FreeSpace:
      AskFreeSpace(calls, call, root, result);
      break;
    case DriveCall::Kind::Discovery:
      result.type = calls.DriveType(root);
      if (result.type == kDriveRemote) {
        calls.HoldRoot(call.letter);
      } else {
        calls.ReleaseRoot(call.letter);
      }
      result.listing = calls.FirstEntry({call.letter, ':', '*'});
      AskFreeSpace(calls, call, root, result);
      result.information = calls.VolumeInformationOf(root);
      break;
    case DriveCall::Kind::DriveType:
      result.type = calls.DriveType(root);
      break;
    case DriveCall::Kind::DriveMap:
      result.drives = calls.LogicalDrives();
      break;
    case DriveCall::Kind::RemoteName:
      result.remoteName = calls.RemoteName(call.letter);
      break;
  }
  return result;
}

}  // namespace volumetra

// What a survey of a live network volume costs with its calls in a helper process, beside the
// same on a thread of the program (as before the helper) and the bare system call. The volume is
// the tests' FUSE file system, served like a network share (needs root and /dev/fuse), else the
// root file system, asked the same way.
#include <benchmark/benchmark.h>
#include <sys/statvfs.h>

#include <memory>
#include <string>

#include "platform/linux/hanging_call.h"
#include "platform/linux/helper_channel.h"
#include "platform/linux/linux_volumes.h"
#include "support/linux/test_fuse.h"
#include "support/machine/temp_dir.h"

namespace volumetra {
namespace {

/// The tests' FUSE file system on a scratch directory, for the whole run.
class Share {
 public:
  static Share& Get() {
    static Share share;
    return share;
  }
  /// The live network volume to ask: the FUSE mount point, or "/" where FUSE is not there.
  const std::string& path() const { return path_; }
  bool network() const { return server_ && server_->mounted(); }

 private:
  Share() {
    if (!TestFuse::Unavailable(VOLUMETRA_TEST_FUSE).empty() || !EnterPrivateMountNamespace()) return;
    server_ = std::make_unique<TestFuse>(VOLUMETRA_TEST_FUSE, dir_.str());
    if (server_->mounted()) path_ = dir_.str();
  }
  TempDir dir_;
  std::unique_ptr<TestFuse> server_;
  std::string path_ = "/";
};

void Label(benchmark::State& state) {
  state.SetLabel(Share::Get().network() ? "FUSE share" : "root file system (no FUSE here)");
}

void BM_StatvfsDirect(benchmark::State& state) {
  const std::string& path = Share::Get().path();
  for (auto _ : state) {
    struct statvfs answer {};
    benchmark::DoNotOptimize(statvfs(path.c_str(), &answer));
  }
  Label(state);
}
BENCHMARK(BM_StatvfsDirect);

void Roundtrip(benchmark::State& state, HangingCallChannel& channel) {
  const HangingCall call{HangingCall::Kind::StatFileSystem, Share::Get().path()};
  for (auto _ : state) {
    channel.Start(call);
    benchmark::DoNotOptimize(channel.Collect(std::chrono::steady_clock::now() + std::chrono::seconds(5)));
  }
  Label(state);
}

void BM_StatvfsOnAThread(benchmark::State& state) {
  std::unique_ptr<HangingCallChannel> channel = HangingThreadChannel::Open(
      [system = MakeLinuxSystemCalls("")](const HangingCall& call) { return RunHangingCall(*system, call); });
  Roundtrip(state, *channel);
}
BENCHMARK(BM_StatvfsOnAThread);

void BM_StatvfsInTheHelper(benchmark::State& state) {
  std::unique_ptr<HelperChannel> channel = HelperChannel::Launch(VOLUMETRA_HELPER);
  if (!channel) {
    state.SkipWithError("the volume helper cannot be started");
    return;
  }
  Roundtrip(state, *channel);
}
BENCHMARK(BM_StatvfsInTheHelper);

// One probe pass's questions to the share: its volume information, drive type and free space.
void SurveyShare(benchmark::State& state, const std::string& helper) {
  if (!Share::Get().network()) {
    state.SkipWithError("needs root and /dev/fuse for a network volume");
    return;
  }
  LinuxVolumes volumes{MakeLinuxSystemCalls(helper), {.letterFile = ""}};
  volumes.ListDrive('C');
  char letter = 0;
  for (char l = 'D'; l <= 'Z' && letter == 0; ++l)
    if (volumes.MountPointOf(l) == Share::Get().path()) letter = l;
  const std::string rootPath = std::string(1, letter) + ":\\";
  std::string label(255, ' '), fileSystem(255, ' ');
  std::int32_t serial = 0, nameLength = 0, flags = 0, spc = 0, bps = 0, freeClusters = 0, total = 0;
  for (auto _ : state) {
    volumes.BeginProbePass(std::string(1, letter));
    benchmark::DoNotOptimize(
        volumes.GetVolumeInformation(rootPath, label, serial, nameLength, flags, fileSystem));
    benchmark::DoNotOptimize(volumes.GetDriveType(rootPath));
    benchmark::DoNotOptimize(volumes.GetDiskFreeSpace(rootPath, spc, bps, freeClusters, total));
  }
  state.SetLabel("FUSE share");
}

void BM_SurveyLiveShareOnAThread(benchmark::State& state) {
  SurveyShare(state, "");
}
BENCHMARK(BM_SurveyLiveShareOnAThread);

void BM_SurveyLiveShareInTheHelper(benchmark::State& state) {
  SurveyShare(state, VOLUMETRA_HELPER);
}
BENCHMARK(BM_SurveyLiveShareInTheHelper);

}  // namespace
}  // namespace volumetra

BENCHMARK_MAIN();

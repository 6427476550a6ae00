// One volume query of each kind on the Linux backend for drive C:, and the calls of one survey of
// C:, next to the bare statvfs("/") calls underneath, so that the cost of the layer shows.

#include <benchmark/benchmark.h>
#include <sys/statvfs.h>

#include <string>

#include "platform/linux/linux_volumes.h"

namespace {

using volumetra::LinuxVolumes;

void BareStatvfsRoot(benchmark::State& state) {
  for (auto _ : state) {
    struct statvfs stats {};
    benchmark::DoNotOptimize(statvfs("/", &stats));
  }
}
BENCHMARK(BareStatvfsRoot);

// The system calls one survey of C: needs: statvfs for the volume information and for the free space.
void BareSurveySyscallsRoot(benchmark::State& state) {
  for (auto _ : state) {
    struct statvfs volume {};
    struct statvfs space {};
    benchmark::DoNotOptimize(statvfs("/", &volume));
    benchmark::DoNotOptimize(statvfs("/", &space));
  }
}
BENCHMARK(BareSurveySyscallsRoot);

// One survey's calls for C:, in the order of the probe pass.
void SurveyC(benchmark::State& state) {
  LinuxVolumes volumes{volumetra::MakeLinuxSystemCalls(), {.letterFile = ""}};
  volumes.ListDrive('C');
  std::string label(255, ' '), fileSystem(255, ' ');
  std::int32_t serial = 0, nameLength = 0, flags = 0;
  std::int32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        volumes.GetVolumeInformation("C:\\", label, serial, nameLength, flags, fileSystem));
    benchmark::DoNotOptimize(volumes.GetDriveType("C:\\"));
    benchmark::DoNotOptimize(
        volumes.GetDiskFreeSpace("C:\\", sectorsPerCluster, bytesPerSector, freeClusters, totalClusters));
  }
}
BENCHMARK(SurveyC);

void GetVolumeInformationC(benchmark::State& state) {
  LinuxVolumes volumes{volumetra::MakeLinuxSystemCalls(), {.letterFile = ""}};
  volumes.ListDrive('C');
  std::string label(255, ' '), fileSystem(255, ' ');
  std::int32_t serial = 0, nameLength = 0, flags = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(
        volumes.GetVolumeInformation("C:\\", label, serial, nameLength, flags, fileSystem));
}
BENCHMARK(GetVolumeInformationC);

void GetDiskFreeSpaceC(benchmark::State& state) {
  LinuxVolumes volumes{volumetra::MakeLinuxSystemCalls(), {.letterFile = ""}};
  volumes.ListDrive('C');
  std::int32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(
        volumes.GetDiskFreeSpace("C:\\", sectorsPerCluster, bytesPerSector, freeClusters, totalClusters));
}
BENCHMARK(GetDiskFreeSpaceC);

void GetDriveTypeC(benchmark::State& state) {
  LinuxVolumes volumes{volumetra::MakeLinuxSystemCalls(), {.letterFile = ""}};
  volumes.ListDrive('C');
  for (auto _ : state) benchmark::DoNotOptimize(volumes.GetDriveType("C:\\"));
}
BENCHMARK(GetDriveTypeC);

// ListDrive('C') reads and classifies the whole mount table: once per discovery pass.
void ListDriveC(benchmark::State& state) {
  LinuxVolumes volumes{volumetra::MakeLinuxSystemCalls(), {.letterFile = ""}};
  for (auto _ : state) benchmark::DoNotOptimize(volumes.ListDrive('C'));
}
BENCHMARK(ListDriveC);

}  // namespace

BENCHMARK_MAIN();

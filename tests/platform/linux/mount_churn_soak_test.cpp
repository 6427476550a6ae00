// A day of drives coming and going, failing and hanging, on the whole program over the Linux
// volume services of a scripted machine: the backend's own tables stay as small as they were
// after the first hour.
#include <gtest/gtest.h>

#include <random>

#include "app/form1.h"
#include "platform/linux/linux_program.h"

namespace volumetra {
namespace {

using namespace std::chrono_literals;

constexpr int kSlots = 8;               // places where a volume comes and goes
constexpr std::int64_t kStep = 10'000;  // one change of the machine per drive refresh
constexpr std::int64_t kHour = 3'600'000;

enum class Kind { RamDisk, Image, BindOfImage, Share };

/// A machine whose mounts change: RAM disks, disk images, bind mounts of those images, and
/// network shares that fail or stop answering.
class ChurningMachine {
 public:
  explicit ChurningMachine(FakeSystemCalls& system) : system_(system) {
    FileSystemStats root;
    root.fragmentSize = root.blockSize = 4096;
    root.totalBlocks = 1'000'000;
    root.availableBlocks = 500'000;
    system_.fileSystems["/"] = root;
    for (int i = 0; i < kSlots; ++i) {
      Slot& slot = slots_[i];
      slot.kind = static_cast<Kind>(i % 4);
      const std::string device = "/sys/dev/block/7:" + std::to_string(i);
      system_.files[device + "/uevent"] = "DEVNAME=loop" + std::to_string(i) + "\n";
      system_.files[device + "/loop/backing_file"] = "/images/" + std::to_string(i) + ".img\n";
      system_.identities["/dev/loop" + std::to_string(i)] = {"IMG" + std::to_string(i),
                                                             "0000-" + std::to_string(1000 + i)};
    }
    Write();
  }

  /// One random change.
  void Change(std::mt19937& random) {
    const int i = static_cast<int>(random() % kSlots);
    Slot& slot = slots_[i];
    const unsigned what = random() % 4;
    if (slot.kind == Kind::Share && slot.mounted && what == 0) {
      slot.hanging = !slot.hanging;
    } else if (slot.kind == Kind::Share && slot.mounted && what == 1) {
      slot.failing = !slot.failing;
    } else {
      slot.mounted = !slot.mounted;
      slot.mountId = nextId_++;
      slot.hanging = slot.failing = false;
    }
    Write();
  }

  /// Every volume mounted afresh, answering.
  void MountAllAfresh() {
    for (Slot& slot : slots_) slot = Slot{slot.kind, true, nextId_++, false, false};
    Write();
  }

 private:
  struct Slot {
    Kind kind = Kind::RamDisk;
    bool mounted = false;
    int mountId = 0;
    bool hanging = false;
    bool failing = false;
  };

  static std::string MountPoint(int i) { return "/mnt/v" + std::to_string(i); }

  // The image a bind mount shows is the one of the slot before it.
  bool Mountable(int i) const {
    return slots_[i].kind != Kind::BindOfImage ||
           (slots_[i - 1].mounted && slots_[i - 1].kind == Kind::Image);
  }

  void Write() {
    std::string table = "27 1 8:2 / / rw - ext4 /dev/sda2 rw\n";
    for (int i = 0; i < kSlots; ++i) {
      const Slot& slot = slots_[i];
      const std::string point = MountPoint(i);
      system_.Release(point);
      system_.fileSystems.erase(point);
      if (!slot.mounted || !Mountable(i)) continue;
      const std::string id = std::to_string(slot.mountId);
      switch (slot.kind) {
        case Kind::RamDisk:
          table += id + " 27 0:" + id + " / " + point + " rw - tmpfs tmpfs rw\n";
          break;
        case Kind::Image:
          table += id + " 27 7:" + std::to_string(i) + " / " + point + " rw - ext4 /dev/loop" +
                   std::to_string(i) + " rw\n";
          break;
        case Kind::BindOfImage:
          table += id + " 27 7:" + std::to_string(i - 1) + " /sub " + point + " rw - ext4 /dev/loop" +
                   std::to_string(i - 1) + " rw\n";
          break;
        case Kind::Share:
          table +=
              id + " 27 0:" + id + " / " + point + " rw - nfs4 server" + std::to_string(i) + ":/export rw\n";
          break;
      }
      FileSystemStats stats;
      stats.fragmentSize = stats.blockSize = 4096;
      stats.totalBlocks = 10'000u + static_cast<unsigned>(slot.mountId % 1000);
      stats.availableBlocks = 5'000;
      stats.fileSystemId = static_cast<unsigned>(slot.mountId);
      if (!slot.failing) system_.fileSystems[point] = stats;
      if (slot.hanging) system_.Hang(point);
    }
    system_.SetMountInfo(table);
  }

  FakeSystemCalls& system_;
  Slot slots_[kSlots];
  int nextId_ = 100;
};

std::vector<std::size_t> Sizes(const LinuxVolumes::Footprint& f, int openChannels) {
  return {f.drives,       f.letters,    f.mountVolumes,
          f.knownLetters, f.identities, f.passAnswers,
          f.guardKeys,    f.guardCalls, static_cast<std::size_t>(openChannels)};
}

TEST(MountChurnSoak, ADayOfChurnLeavesTheBackendsTablesNoLargerThanAfterTheFirstHour) {
  auto system = std::make_shared<FakeSystemCalls>();
  ChurningMachine machine(*system);
  LinuxProgram program(system, {.callLimit = 5000ms, .letterFile = "", .clock = system->Clock()});
  TieToLoop(*system, program.loop);
  program.start().form1().Slider1.setValue(5000);  // a survey every 5 s

  std::mt19937 random(20261208);
  const auto settle = [&] {
    // Past a time-out reset, so that drives timed out before are asked again.
    machine.MountAllAfresh();
    program.advance(8 * kStep);
    program.program->form1().Timer1_Timer();  // measured just after a survey
    return Sizes(program.volumes.footprint(), system->OpenChannels());
  };
  std::vector<std::size_t> afterFirstHour;
  for (std::int64_t hour = 1; hour <= 24; ++hour) {
    for (std::int64_t t = 0; t < kHour; t += kStep) {
      machine.Change(random);
      program.advance(kStep);
      system->directoryChecks.clear();  // the fake's own record of calls
      const LinuxVolumes::Footprint f = program.volumes.footprint();
      // Bounded by the drives there are, whatever came and went before.
      ASSERT_LE(f.drives, 24u);
      ASSERT_LE(f.knownLetters, 23u);
      ASSERT_LE(f.mountVolumes, f.letters);
      ASSERT_LE(f.identities, f.drives);
      ASSERT_LE(f.guardKeys, f.drives);
      ASSERT_LE(f.guardCalls, 2 * f.guardKeys);
      ASSERT_LE(static_cast<std::size_t>(system->OpenChannels()), f.guardKeys);
    }
    const std::vector<std::size_t> sizes = settle();
    if (hour == 1) afterFirstHour = sizes;
    for (std::size_t i = 0; i < sizes.size(); ++i)
      ASSERT_LE(sizes[i], afterFirstHour[i]) << "hour " << hour << ", size " << i;
  }
  EXPECT_EQ(afterFirstHour[0], 1u + kSlots);  // all volumes were there when measured
}

}  // namespace
}  // namespace volumetra

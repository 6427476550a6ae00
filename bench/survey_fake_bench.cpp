// One survey (probe pass + report cycle) on the fake backend for 1, 8 and 24 drives, next to the
// bare fake calls the survey makes, so the cost of our own layers shows as a ratio.
#include <benchmark/benchmark.h>

#include "app/form1.h"
#include "support/machine/test_machine.h"

namespace volumetra {
namespace {

struct BenchMachine : TestMachine<FakeVolumes> {
  explicit BenchMachine(int drives) : TestMachine({.platform = "Linux"}, ScriptedVolumes) {
    for (int i = 0; i < drives; ++i) volumes.add(static_cast<char>('C' + i), 500000, 123456.5, "DISK");
    start();
    program->form1().Timer1_Timer();  // the first survey paints every cell once
  }
};

void BM_SurveyFake(benchmark::State& state) {
  BenchMachine machine(static_cast<int>(state.range(0)));
  Form1& f = machine.program->form1();
  for (auto _ : state) f.Timer1_Timer();
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SurveyFake)->Arg(1)->Arg(8)->Arg(24);

// The reference: exactly the OS calls one survey makes on the fake, with nothing around them.
void BM_BareFakeCalls(benchmark::State& state) {
  BenchMachine machine(static_cast<int>(state.range(0)));
  const std::string letters = machine.program->m.DriveLetters;
  for (auto _ : state) {
    for (char letter : letters) {
      const std::string root = std::string(1, letter) + ":\\";
      std::string name(255, ' '), fs(255, ' ');
      std::int32_t serial, length, flags, spc, bps, freeClusters, totalClusters;
      machine.clock.Now();
      machine.volumes.GetVolumeInformation(root, name, serial, length, flags, fs);
      machine.clock.Now();
      benchmark::DoNotOptimize(machine.volumes.GetDriveType(root));
      machine.volumes.GetDiskFreeSpace(root, spc, bps, freeClusters, totalClusters);
      benchmark::DoNotOptimize(freeClusters);
    }
    benchmark::DoNotOptimize(machine.clock.ShortDate(machine.clock.Now()));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BareFakeCalls)->Arg(1)->Arg(8)->Arg(24);

}  // namespace
}  // namespace volumetra

BENCHMARK_MAIN();

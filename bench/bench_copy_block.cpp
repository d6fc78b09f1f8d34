// CopyBlock of a whole 4096 × 4096 true-colour picture against memcpy of the same bytes.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "buffers/copy_block.h"
#include "buffers/dib_true.h"
#include "ratio_report.h"

namespace {

constexpr int kSide = 4096;

struct Pictures {
  Pictures() {
    src.Alloc(kSide, kSide);
    dst.Alloc(kSide, kSide);
    src.FillRect(0, 0, kSide, kSide, 0x336699);
  }
  mirasketch::CDibTrue src, dst;
};

Pictures& Shared() {
  static Pictures pictures;
  return pictures;
}

void BM_CopyBlock(benchmark::State& state) {
  Pictures& p = Shared();
  for (auto _ : state) {
    mirasketch::CopyBlock(p.dst, 0, 0, p.src, 0, 0, kSide, kSide);
    benchmark::DoNotOptimize(p.dst.Bits());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * 3LL * kSide * kSide);
}

void BM_Memcpy(benchmark::State& state) {
  Pictures& p = Shared();
  for (auto _ : state) {
    std::memcpy(p.dst.Bits(), p.src.Bits(), 3ULL * kSide * kSide);
    benchmark::DoNotOptimize(p.dst.Bits());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * 3LL * kSide * kSide);
}

// Five repetitions of each; the ratio compares their mean times.
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_CopyBlock)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
  return mirasketch::bench::RunWithRatios(argc, argv,
                                          {{"copy_block", "BM_CopyBlock", "BM_Memcpy"}});
}

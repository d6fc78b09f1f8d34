// Writing and reading a 10-layer 2048 × 2048 project file in /tmp against writing and reading
// the same number of bytes with plain stdio, in the same run.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_files.h"
#include "platform/headless_platform.h"
#include "platform/views.h"
#include "project/kvl_file.h"
#include "ratio_report.h"
#include "shell/studio.h"

namespace {

using namespace mirasketch;

constexpr int kSide = 2048;
constexpr int kLayers = 10;

using mirasketch::bench::TempPath;

struct KvlFixture {
  KvlFixture() : studio(platform, views) {
    LayerProject& p = studio.project;
    p.InitLayers();
    p.NewProject(1, kSide, kSide);
    for (int i = 1; i < kLayers; ++i) p.InsertLayer(i, true, kSide, kSide);
    for (int i = 0; i < kLayers; ++i) {
      std::uint8_t* px = p.Layer(i).Bits();
      for (std::size_t n = 0; n < 3ULL * kSide * kSide; ++n)
        px[n] = static_cast<std::uint8_t>(n * 7 + i);
    }
    p.AfterNewProject();
    bytes = 32 + kLayers * (64 + 4ULL * kSide * kSide);
    data.assign(bytes, 0x5A);
  }
  ~KvlFixture() {
    std::remove(kvlPath.c_str());
    std::remove(rawPath.c_str());
  }
  HeadlessPlatform platform;
  NoViews views;
  Studio studio;
  std::string kvlPath = TempPath("p.kvl");
  std::string rawPath = TempPath("raw.bin");
  std::size_t bytes = 0;
  std::vector<std::uint8_t> data;
};

KvlFixture& Fixture() {
  static KvlFixture fixture;
  return fixture;
}

void BM_KvlWrite(benchmark::State& state) {
  KvlFixture& f = Fixture();
  for (auto _ : state) WriteProjectFile(f.studio.project, f.kvlPath);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes));
}

// The reference also flushes the file to disk before closing it, as every save does.
void BM_StdioWrite(benchmark::State& state) {
  KvlFixture& f = Fixture();
  for (auto _ : state) {
    bench::WriteSynced(f.rawPath, f.data.data(), f.bytes);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes));
}

void BM_KvlRead(benchmark::State& state) {
  KvlFixture& f = Fixture();
  WriteProjectFile(f.studio.project, f.kvlPath);
  for (auto _ : state) ReadProjectFile(f.studio.project, f.kvlPath);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes));
}

// The reference reads into freshly allocated memory, as a read of a project does.
void BM_StdioRead(benchmark::State& state) {
  KvlFixture& f = Fixture();
  {
    std::FILE* out = std::fopen(f.rawPath.c_str(), "wb");
    std::fwrite(f.data.data(), 1, f.bytes, out);
    std::fclose(out);
  }
  for (auto _ : state) {
    auto* buffer = static_cast<std::uint8_t*>(std::malloc(f.bytes));
    std::FILE* in = std::fopen(f.rawPath.c_str(), "rb");
    benchmark::DoNotOptimize(std::fread(buffer, 1, f.bytes, in));
    std::fclose(in);
    benchmark::DoNotOptimize(buffer);
    std::free(buffer);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.bytes));
}

BENCHMARK(BM_StdioWrite)->Unit(benchmark::kMillisecond)->Repetitions(3)->Iterations(3);
BENCHMARK(BM_KvlWrite)->Unit(benchmark::kMillisecond)->Repetitions(3)->Iterations(3);
BENCHMARK(BM_StdioRead)->Unit(benchmark::kMillisecond)->Repetitions(3)->Iterations(3);
BENCHMARK(BM_KvlRead)->Unit(benchmark::kMillisecond)->Repetitions(3)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  return mirasketch::bench::RunWithRatios(
      argc, argv,
      {{"kvl_write", "BM_KvlWrite", "BM_StdioWrite"}, {"kvl_read", "BM_KvlRead", "BM_StdioRead"}});
}

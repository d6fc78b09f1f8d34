// Starting a recovery copy of a 10-layer 4096 × 4096 project: how long the user's thread is held
// (the child process is made; the pixels are shared, not copied) against copying the layers into
// buffers already in memory, which a write on a worker thread would have to do first. Also the
// write itself, done by the child; a stroke whose end starts a write, and a stroke drawn while the
// child writes (the system copies each page the stroke changes).

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_canvas.h"
#include "bench_files.h"
#include "bench_timing.h"
#include "platform/headless_platform.h"
#include "platform/views.h"
#include "shell/studio.h"

namespace {

using namespace mirasketch;
using bench::Clock;
using bench::Median;
using bench::Millis;

constexpr int kSide = 4096;
constexpr int kLayers = 10;
constexpr int kRuns = 7;

struct RecoveryBench {
  RecoveryBench() : studio(platform, views) {
    studio.StartUp();
    LayerProject& p = studio.project;
    bench::SquareLayers(p, kSide, kLayers);
    for (int i = 0; i < kLayers; ++i) {
      CDibTM& layer = p.Layer(i);
      std::memset(layer.Bits(), 40 + i, 3ULL * kSide * kSide);
      std::memset(layer.mask.Bits(), i * 8, static_cast<std::size_t>(kSide) * kSide);
    }
    studio.autosave.Enable(folder, 0);
  }
  ~RecoveryBench() {
    studio.autosave.RemoveCopy();
    std::string command = "rm -rf '" + folder + "'";
    if (std::system(command.c_str()) != 0)
      std::fprintf(stderr, "cannot remove %s\n", folder.c_str());
  }

  // A short stroke of the pen; its end starts a write when none is running.
  double Stroke(int y) {
    const Clock::time_point start = Clock::now();
    studio.frmM.pbxAMouseDown(MouseButton::kLeft, 100, y);
    studio.frmM.pbxAMouseMove(300, y);
    studio.frmM.pbxAMouseUp(MouseButton::kLeft, 300, y);
    return Millis(Clock::now() - start);
  }

  std::string folder = bench::TempPath("recovery");
  HeadlessPlatform platform;
  NoViews views;
  Studio studio;
};

}  // namespace

int main() {
  RecoveryBench bench;
  Studio& studio = bench.studio;
  LayerProject& project = studio.project;
  std::vector<std::vector<std::uint8_t>> copies(kLayers);
  std::vector<double> starts, copiesMs, writes, startingStrokes, busyStrokes;
  for (int run = 0; run < kRuns; ++run) {
    // The reference: every layer's pixels and mask into memory that already holds a copy.
    Clock::time_point start = Clock::now();
    for (int i = 0; i < kLayers; ++i) {
      const CDibTM& layer = project.Layer(i);
      const std::size_t pixels = static_cast<std::size_t>(kSide) * kSide;
      copies[i].resize(pixels * 4);
      std::memcpy(copies[i].data(), layer.Bits(), pixels * 3);
      std::memcpy(copies[i].data() + pixels * 3, layer.mask.Bits(), pixels);
    }
    copiesMs.push_back(Millis(Clock::now() - start));

    startingStrokes.push_back(bench.Stroke(200 + run));  // starts the write at its end
    studio.autosave.WaitForWrite();
    studio.frmM.modified = true;
    ++studio.frmM.changeCount;
    start = Clock::now();
    studio.autosave.ChangeEnded();
    starts.push_back(Millis(Clock::now() - start));
    if (!studio.autosave.Writing()) {
      std::fprintf(stderr, "no write started\n");
      return 1;
    }
    busyStrokes.push_back(bench.Stroke(400 + run));
    studio.autosave.WaitForWrite();
    writes.push_back(Millis(Clock::now() - start));
  }
  if (!std::filesystem::exists(studio.autosave.Folder().CopyPath())) {
    std::fprintf(stderr, "no recovery copy was written\n");
    return 1;
  }
  std::printf("metric: recovery_start_ms %.2f\n", Median(starts));
  std::printf("metric: layer_copy_ms %.2f\n", Median(copiesMs));
  std::printf("metric: recovery_write_ms %.1f\n", Median(writes));
  std::printf("metric: stroke_starting_write_ms %.2f\n", Median(startingStrokes));
  std::printf("metric: stroke_while_writing_ms %.2f\n", Median(busyStrokes));
  std::printf("ratio: recovery_start_vs_layer_copy %.2f\n", Median(copiesMs) / Median(starts));
  return 0;
}

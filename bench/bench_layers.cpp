// Clicking through the layers of a 30-layer 4096 × 4096 project in the layer window: a click on a
// cell that changes the active layer (the tool suspended and resumed, the undo ring restarted, the
// canvas recomposed and shown, the strip painted), and the strip's painting alone, against one
// whole-canvas composition of the same project in the same run.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench_canvas.h"
#include "bench_timing.h"
#include "buffers/dib_surface.h"
#include "platform/headless_platform.h"
#include "platform/views.h"
#include "project/compose_mode.h"
#include "project/compositor.h"
#include "shell/studio.h"

namespace {

using namespace mirasketch;
using bench::Clock;
using bench::Median;
using bench::Micros;

constexpr int kSide = 4096;
constexpr int kLayers = 30;
constexpr int kColumns = 6;  // the strip shows all 30 cells: 6 × 5
constexpr int kRuns = 12;

struct LayersBench {
  LayersBench() : studio(platform, views), surface(viewport) {
    studio.StartUp();
    LayerProject& p = studio.project;
    bench::SquareLayers(p, kSide, kLayers);
    for (int i = 0; i < kLayers; ++i) {
      CDibTM& layer = p.Layer(i);
      // No layer above the first copies over the others, so all 30 are composed.
      layer.composeMode = i == 0 ? cmSimple : 1 + (i - 1) % 5;
      std::uint8_t* px = layer.Bits();
      for (std::size_t k = 0; k < 3ULL * kSide * kSide; k += 4096)
        px[k] = static_cast<std::uint8_t>(k / 4096 + i);
      std::memset(layer.mask.Bits(), i * 8, static_cast<std::size_t>(kSide) * kSide);
    }
    viewport.Alloc(1024, 768);
    TfrmM& canvas = studio.frmM;
    canvas.paintBox = &surface;
    canvas.view.clientWidth = 1024;
    canvas.view.clientHeight = 768;
    TfrmL& layers = studio.frmL;
    layers.visible = true;
    layers.FormResize(kColumns * TfrmL::kCellWidth,
                      TfrmL::kStripTop + kLayers / kColumns * TfrmL::kCellHeight);
    layers.RefreshLayerWindow();
  }

  HeadlessPlatform platform;
  NoViews views;
  Studio studio;
  CDibTrue viewport;
  DibSurface surface;
};

}  // namespace

int main() {
  LayersBench bench;
  TfrmL& layers = bench.studio.frmL;
  LayerProject& project = bench.studio.project;
  std::vector<double> switches, strips, composes;
  for (int run = 0; run < kRuns; ++run) {
    // A cell away from its diamond, never the active one.
    const int cell = (project.activeLayer + 7) % kLayers;
    const int x = cell % kColumns * TfrmL::kCellWidth + 40;
    const int y = cell / kColumns * TfrmL::kCellHeight + 30;
    Clock::time_point start = Clock::now();
    layers.MouseDown("pbxA", 1, x, y, 0);
    layers.Paint("pbxA");
    switches.push_back(Micros(Clock::now() - start));
    if (project.activeLayer != cell) {
      std::fprintf(stderr, "the click did not change the active layer\n");
      return 1;
    }
    start = Clock::now();
    layers.Paint("pbxA");
    strips.push_back(Micros(Clock::now() - start));
    start = Clock::now();
    ComposeRect(project, 0, 0, project.CanvasWidth(), project.CanvasHeight());
    composes.push_back(Micros(Clock::now() - start));
  }
  std::printf("metric: layer_switch_us %.1f\n", Median(switches));
  std::printf("metric: layer_strip_paint_us %.1f\n", Median(strips));
  std::printf("metric: whole_canvas_compose_us %.1f\n", Median(composes));
  std::printf("ratio: layer_switch_vs_compose %.3f\n", Median(composes) / Median(switches));
  return 0;
}

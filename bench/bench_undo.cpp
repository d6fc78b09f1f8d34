// The undo ring's tile size: for tiles of 16 … 256 pixels a side, a 2000-event brush drag and a
// pen drag across a 4096 × 4096 layer (their time with the undo saves, and the bytes the ring then
// holds), a paint-bucket fill of the whole layer (every tile saved), and the undo of the drag.
// Also the press of the pen on a 256 × 256 layer, next to which bench_scale's press on a
// 30000 × 30000 layer can be read.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench_canvas.h"
#include "bench_timing.h"
#include "painting/tool_settings.h"
#include "painting/undo_tiles.h"
#include "platform/headless_platform.h"
#include "platform/views.h"
#include "shell/studio.h"

namespace {

using namespace mirasketch;
using bench::Clock;
using bench::Micros;

constexpr int kSide = 4096;
constexpr int kEvents = 2000;

struct UndoBench {
  UndoBench() : platform(nullptr), studio(platform, views) {
    studio.project.InitLayers();
    studio.project.NewProject(1, kSide, kSide);
    studio.project.AfterNewProject();
    studio.toolEngine.LoadBrushImage(MIRASKETCH_DATA_DIR "/brush.bmp", platform);
    studio.frmCol.SetDrawColour(MakeColour(200, 40, 90));
  }
  // A drag with the tool along the figure of eight, in microseconds.
  double Drag(int tool) {
    studio.frmC.SelectTool(tool);
    TfrmM& canvas = studio.frmM;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < kEvents; ++i) {
      const auto [x, y] = bench::FigureEight(i, kEvents, 2048, 2048, 1800, 1500);
      bench::DragEvent(canvas, i, kEvents, x, y);
    }
    return Micros(Clock::now() - start);
  }
  double Fill() {
    studio.frmC.SelectTool(tkPenki);
    studio.frmCol.SetDrawColour(MakeColour(10, 200, 30 + fills++));
    const Clock::time_point start = Clock::now();
    studio.frmM.pbxAMouseDown(MouseButton::kLeft, 5, 5);
    studio.frmM.pbxAMouseUp(MouseButton::kLeft, 5, 5);
    return Micros(Clock::now() - start);
  }
  double Undo() {
    const Clock::time_point start = Clock::now();
    studio.frmM.Undo();
    return Micros(Clock::now() - start);
  }

  HeadlessPlatform platform;
  NoViews views;
  Studio studio;
  int fills = 0;
};

}  // namespace

int main() {
  UndoBench bench;
  for (int shift = 4; shift <= 8; ++shift) {
    std::vector<double> brush, pen, fill, undo;
    std::size_t brushBytes = 0, penBytes = 0;
    // One level: each press starts an empty slot, so the bytes held are those of the last drag.
    bench.studio.frmM.SetUndoLevels(1);
    bench.studio.frmM.SetUndoTileShift(shift);
    for (int run = 0; run < 3; ++run) {
      brush.push_back(bench.Drag(tkBrush));
      brushBytes = bench.studio.frmM.UndoBytes();
      undo.push_back(bench.Undo());
      pen.push_back(bench.Drag(tkPen));
      penBytes = bench.studio.frmM.UndoBytes();
      fill.push_back(bench.Fill());
    }
    const int side = 1 << shift;
    std::printf("metric: undo_brush_drag_ms_%d %.1f\n", side, bench::Median(brush) / 1000);
    std::printf("metric: undo_brush_drag_kb_%d %zu\n", side, brushBytes / 1024);
    std::printf("metric: undo_pen_drag_ms_%d %.1f\n", side, bench::Median(pen) / 1000);
    std::printf("metric: undo_pen_drag_kb_%d %zu\n", side, penBytes / 1024);
    std::printf("metric: undo_whole_fill_ms_%d %.1f\n", side, bench::Median(fill) / 1000);
    std::printf("metric: undo_of_drag_ms_%d %.2f\n", side, bench::Median(undo) / 1000);
  }
  // The press of the pen on the 4096 × 4096 layer against a copy of the layer's bytes into memory
  // already touched (what a press cost while a snapshot was a whole copy of the layer).
  bench.studio.frmM.SetUndoTileShift(UndoTiles::kDefaultShift);
  bench.studio.frmC.SelectTool(tkPen);
  const CDibTM& layer = bench.studio.project.Active();
  const std::size_t bytes = static_cast<std::size_t>(layer.Width()) * layer.Height() * 3;
  std::vector<std::uint8_t> copy(bytes, 1);
  std::vector<double> presses, copies;
  for (int run = 0; run < 20; ++run) {
    Clock::time_point start = Clock::now();
    bench.studio.frmM.pbxAMouseDown(MouseButton::kLeft, 100 + run, 100);
    presses.push_back(Micros(Clock::now() - start));
    bench.studio.frmM.pbxAMouseUp(MouseButton::kLeft, 100 + run, 100);
    start = Clock::now();
    std::memcpy(copy.data(), layer.Bits(), bytes);
    copies.push_back(Micros(Clock::now() - start));
  }
  std::printf("metric: stroke_start_4096_us %.0f\n", bench::Median(presses));
  std::printf("metric: layer_copy_4096_us %.0f\n", bench::Median(copies));
  std::printf("ratio: stroke_start_vs_layer_copy %.1f\n",
              bench::Median(copies) / bench::Median(presses));
  // The press of the pen on a small layer: the same work as on the largest one.
  presses.clear();
  bench.studio.project.NewProject(1, 256, 256);
  bench.studio.project.AfterNewProject();
  bench.studio.frmC.SelectTool(tkPen);
  for (int run = 0; run < 20; ++run) {
    const Clock::time_point start = Clock::now();
    bench.studio.frmM.pbxAMouseDown(MouseButton::kLeft, 128, 128);
    presses.push_back(Micros(Clock::now() - start));
    bench.studio.frmM.pbxAMouseUp(MouseButton::kLeft, 128, 128);
  }
  std::printf("metric: stroke_start_256_us %.0f\n", bench::Median(presses));
  return 0;
}

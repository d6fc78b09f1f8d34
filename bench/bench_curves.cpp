// The curve tools as the canvas window drives them. An inking stroke of 200 events over a
// 2048 × 2048 pencil sketch: each event re-corrects every control point against the sketch,
// redraws the whole stroke from the snapshot and repaints the visible part of the canvas; its
// median per event is set against a repaint of the same view alone, measured in the same run.
// The ruler at scale 5 on a 4096 × 4096 canvas: one whole overlay (the canvas recomposed, the
// cloud, its rail and the handles drawn), set against recomposing the canvas alone; and the
// events of a turning drag, which only put back the pixels under the last outline.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "bench_canvas.h"
#include "bench_timing.h"
#include "buffers/dib_surface.h"
#include "painting/tool_settings.h"
#include "platform/headless_platform.h"
#include "platform/views.h"
#include "project/compositor.h"
#include "shell/studio.h"

namespace {

using namespace mirasketch;
using bench::Clock;
using bench::Median;
using bench::Micros;

constexpr int kSide = 2048;
constexpr int kEvents = 200;
constexpr int kClientWidth = 1280;
constexpr int kClientHeight = 1000;

// The pencil line the stroke traces: a gentle wave across the view.
int SketchY(int x) {
  return 500 + static_cast<int>(120 * std::sin(x * 2 * std::numbers::pi / 900));
}

// A studio on a side × side canvas of faint paper grain, shown in a 1280 × 1000 view.
struct BenchStudio {
  explicit BenchStudio(int side) : platform(nullptr), studio(platform, views), surface(viewport) {
    LayerProject& p = studio.project;
    p.InitLayers();
    p.NewProject(1, side, side);
    CDibTM& layer = p.Layer(0);
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x)
        layer.SetPixel(x, y, (x * 7 + y * 13) % 5 ? 0xF4F4F4 : 0xEAEAEA);
    studio.toolEngine.LoadBrushImage(MIRASKETCH_DATA_DIR "/brush.bmp", platform);
    studio.rulerTool.LoadRulerData(MIRASKETCH_DATA_DIR "/Ruler.dat", platform);
    bench::ShowCanvasIn(studio.frmM, viewport, surface, kClientWidth, kClientHeight);
    studio.frmCol.SetDrawColour(MakeColour(20, 20, 160));
  }

  HeadlessPlatform platform;
  NoViews views;
  Studio studio;
  CDibTrue viewport;
  DibSurface surface;
};

struct CurveBench : BenchStudio {
  CurveBench() : BenchStudio(kSide) {
    // A two-pixel grey pencil line over the grain.
    CDibTM& layer = studio.project.Layer(0);
    for (int x = 0; x < kSide; ++x)
      for (int d = 0; d < 2; ++d) layer.SetPixel(x, SketchY(x) + d, 0x505050);
  }

  // One inking stroke a little off the pencil line, 2 pixels an event (about 50 control points);
  // the time of each event.
  std::vector<double> InkStroke() {
    studio.frmC.SelectTool(tkPenLine);
    studio.toolEngine.settings.penLineBrush = 2;
    std::vector<double> times;
    TfrmM& canvas = studio.frmM;
    for (int i = 0; i < kEvents; ++i) {
      const int x = 300 + i * 2;
      const int y = SketchY(x) - 2 + i % 3;
      const Clock::time_point start = Clock::now();
      bench::DragEvent(canvas, i, kEvents, x, y);
      times.push_back(Micros(Clock::now() - start));
    }
    canvas.Undo();
    return times;
  }
};

struct RulerBench : BenchStudio {
  static constexpr int kRulerSide = 4096;
  RulerBench() : BenchStudio(kRulerSide) {
    studio.toolEngine.settings.rulerKind = 2;
    studio.toolEngine.settings.rulerScale = 5.0f;
    studio.frmC.SelectTool(tkRuler);
    studio.rulerTool.rulerCenter = {kRulerSide / 2, kRulerSide / 2};
  }
  double Overlay() {
    const Clock::time_point start = Clock::now();
    studio.rulerTool.DrawRulerOverlay(studio.toolEngine, RulerTool::kNone);
    return Micros(Clock::now() - start);
  }
  double Compose() {
    LayerProject& p = studio.project;
    const Clock::time_point start = Clock::now();
    DrawChecker(p, 0, 0, kRulerSide, kRulerSide);
    ComposeRect(p, 0, 0, kRulerSide, kRulerSide);
    return Micros(Clock::now() - start);
  }
  // A turn by the handle through 100 events (each also repaints the view); their times.
  std::vector<double> Turn() {
    TfrmM& canvas = studio.frmM;
    RulerTool& ruler = studio.rulerTool;
    ruler.rulerAngle = 0;
    const int cx = ruler.rulerCenter.x, cy = ruler.rulerCenter.y;
    canvas.pbxAMouseDown(MouseButton::kLeft, cx + 24, cy);
    std::vector<double> times;
    for (int i = 1; i <= 100; ++i) {
      const double a = i * std::numbers::pi / 100;
      const Clock::time_point start = Clock::now();
      canvas.pbxAMouseMove(cx + static_cast<int>(200 * std::cos(a)),
                           cy + static_cast<int>(200 * std::sin(a)));
      times.push_back(Micros(Clock::now() - start));
    }
    canvas.pbxAMouseUp(MouseButton::kLeft, cx - 200, cy);
    return times;
  }
};

}  // namespace

int main() {
  CurveBench bench;
  std::vector<double> ink, repaint;
  for (int run = 0; run < 5; ++run) {
    std::vector<double> times = bench.InkStroke();
    times.erase(times.begin());  // the press starts the stroke: not a per-event cost
    ink.push_back(Median(times));
    std::vector<double> view;
    for (int i = 0; i < 20; ++i) {
      const Clock::time_point start = Clock::now();
      bench.studio.frmM.RedrawVisible();
      view.push_back(Micros(Clock::now() - start));
    }
    repaint.push_back(Median(view));
    std::printf("run %d: ink event median %.1f us, max %.1f us; view repaint %.1f us\n", run,
                ink.back(), *std::max_element(times.begin(), times.end()), repaint.back());
  }
  std::printf("metric: ink_stroke_us %.1f\n", Median(ink));
  std::printf("ratio: ink_vs_view_repaint %.3f\n", Median(repaint) / Median(ink));

  RulerBench ruler;
  std::vector<double> overlay, compose, turn;
  for (int run = 0; run < 5; ++run) {
    overlay.push_back(ruler.Overlay());
    compose.push_back(ruler.Compose());
    const std::vector<double> times = ruler.Turn();
    turn.push_back(Median(times));
    std::printf(
        "run %d: ruler overlay %.1f us, canvas recomposed %.1f us; turn event median %.1f "
        "us, max %.1f us\n",
        run, overlay.back(), compose.back(), turn.back(),
        *std::max_element(times.begin(), times.end()));
  }
  std::printf("metric: ruler_overlay_us %.1f\n", Median(overlay));
  std::printf("metric: ruler_turn_event_us %.1f\n", Median(turn));
  std::printf("ratio: ruler_overlay_vs_compose %.3f\n", Median(compose) / Median(overlay));
  return 0;
}

// ComposeRect of a 10-layer 4096 × 4096 project holding every compose mode, per mode against
// memcpy of the same layer's picture bytes, and the whole stack in megapixels per second. Where
// pixman is installed, the mask blend also against pixman's masked OVER of the same pixels.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#ifdef MIRASKETCH_BENCH_PIXMAN
#include <pixman.h>
#endif

#include "platform/headless_platform.h"
#include "platform/views.h"
#include "project/compose_mode.h"
#include "project/compositor.h"
#include "ratio_report.h"
#include "shell/studio.h"

namespace {

using namespace mirasketch;

constexpr int kSide = 4096;
constexpr int kLayers = 10;
constexpr int kModes[kLayers] = {cmSimple,      cmMaskBlend,   cmMaskBelow, cmMaskAbove,
                                 cmBrightBelow, cmBrightAbove, cmSimple,    cmMaskBlend,
                                 cmMaskBelow,   cmBrightAbove};

// The project, built once: layer i has mode kModes[i], a colour pattern and a mask that varies
// across the picture (gradients and noise), so that every threshold test takes both branches.
struct ComposeFixture {
  ComposeFixture() : studio(platform, views) {
    LayerProject& p = studio.project;
    p.InitLayers();
    p.NewProject(1, kSide, kSide);
    for (int i = 1; i < kLayers; ++i) p.InsertLayer(i, true, kSide, kSide);
    std::uint32_t noise = 12345;
    for (int i = 0; i < kLayers; ++i) {
      CDibTM& layer = p.Layer(i);
      layer.composeMode = kModes[i];
      layer.threshold = kModes[i] >= cmBrightBelow ? 380 : 128;
      std::uint8_t* px = layer.Bits();
      std::uint8_t* m = layer.mask.Bits();
      for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x, px += 3, ++m) {
          noise = noise * 1664525u + 1013904223u;
          px[0] = static_cast<std::uint8_t>(x + i * 31);
          px[1] = static_cast<std::uint8_t>(y + i * 17);
          px[2] = static_cast<std::uint8_t>(noise >> 24);
          *m = static_cast<std::uint8_t>(((x + y) >> 5) + (noise >> 28));
        }
      }
    }
  }
  void OnlyVisible(int mode) {
    bool shown = false;
    for (int i = 0; i < kLayers; ++i) {
      CDibTM& layer = studio.project.Layer(i);
      layer.visible = !shown && (mode < 0 || kModes[i] == mode);
      if (mode >= 0 && layer.visible) shown = true;
    }
  }
  HeadlessPlatform platform;
  NoViews views;
  Studio studio;
};

ComposeFixture& Fixture() {
  static ComposeFixture fixture;
  return fixture;
}

// Shown as "pixels/s" in the console table (1.0G/s is 1000 megapixels per second).
void SetPixelRate(benchmark::State& state, double pixelsPerIteration) {
  state.counters["pixels/s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * pixelsPerIteration, benchmark::Counter::kIsRate);
}

void BM_ComposeMode(benchmark::State& state) {
  ComposeFixture& f = Fixture();
  f.OnlyVisible(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    ComposeRect(f.studio.project, 0, 0, kSide, kSide);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, 1.0 * kSide * kSide);
}

void BM_ComposeAllLayers(benchmark::State& state) {
  ComposeFixture& f = Fixture();
  f.OnlyVisible(-1);
  for (auto _ : state) {
    ComposeRect(f.studio.project, 0, 0, kSide, kSide);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, 1.0 * kSide * kSide * kLayers);
}

void BM_MemcpyLayer(benchmark::State& state) {
  ComposeFixture& f = Fixture();
  LayerProject& p = f.studio.project;
  for (auto _ : state) {
    std::memcpy(p.compositeDib.Bits(), p.Layer(0).Bits(), 3ULL * kSide * kSide);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, 1.0 * kSide * kSide);
}

#ifdef MIRASKETCH_BENCH_PIXMAN
// pixman_image_composite32(OVER) of the cmMaskBlend layer's pixels (x8r8g8b8) through its mask
// (a8) onto a picture (x8r8g8b8), all 4096 × 4096: the same pixels and mask bytes as our blend.
void BM_PixmanMaskBlend(benchmark::State& state) {
  ComposeFixture& f = Fixture();
  const CDibTM& layer = f.studio.project.Layer(1);
  std::vector<std::uint32_t> src(1ULL * kSide * kSide), dst(src.size());
  const std::uint8_t* px = layer.Bits();
  for (std::size_t i = 0; i < src.size(); ++i, px += 3) src[i] = px[0] | px[1] << 8 | px[2] << 16;
  // Rows of both pictures are 4096 bytes or more, a multiple of 4 as pixman requires.
  std::vector<std::uint8_t> mask(layer.mask.Bits(), layer.mask.Bits() + src.size());
  for (std::size_t i = 0; i < dst.size(); ++i) dst[i] = static_cast<std::uint32_t>(i * 2654435761u);
  pixman_image_t* s =
      pixman_image_create_bits(PIXMAN_x8r8g8b8, kSide, kSide, src.data(), 4 * kSide);
  pixman_image_t* m = pixman_image_create_bits(
      PIXMAN_a8, kSide, kSide, reinterpret_cast<std::uint32_t*>(mask.data()), kSide);
  pixman_image_t* d =
      pixman_image_create_bits(PIXMAN_x8r8g8b8, kSide, kSide, dst.data(), 4 * kSide);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, s, m, d, 0, 0, 0, 0, 0, 0, kSide, kSide);
    benchmark::ClobberMemory();
  }
  SetPixelRate(state, 1.0 * kSide * kSide);
  pixman_image_unref(d);
  pixman_image_unref(m);
  pixman_image_unref(s);
}
BENCHMARK(BM_PixmanMaskBlend)->Unit(benchmark::kMillisecond)->Repetitions(5);
#endif

BENCHMARK(BM_MemcpyLayer)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_ComposeMode)
    ->Unit(benchmark::kMillisecond)
    ->DenseRange(cmSimple, cmBrightAbove)
    ->Repetitions(5);
BENCHMARK(BM_ComposeAllLayers)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
  using mirasketch::bench::Ratio;
  const char* names[] = {"compose_simple",    "compose_maskblend",   "compose_maskbelow",
                         "compose_maskabove", "compose_brightbelow", "compose_brightabove"};
  std::vector<Ratio> ratios;
  for (int mode = 0; mode < 6; ++mode)
    ratios.push_back({names[mode], "BM_ComposeMode/" + std::to_string(mode), "BM_MemcpyLayer"});
#ifdef MIRASKETCH_BENCH_PIXMAN
  ratios.push_back({"compose_maskblend_vs_pixman", "BM_ComposeMode/1", "BM_PixmanMaskBlend"});
#endif
  return mirasketch::bench::RunWithRatios(argc, argv, ratios);
}

// The mask effects on a 4096 × 4096 plane of fixed pseudo-random bytes, stored bottom row first
// like the layers' masks. The neighbourhood passes run 25 times, ping-ponging between two planes
// as the effect window does, and are set against 25 memcpy calls of the plane (the cost of just
// moving the bytes) and, where OpenCV is installed, 25 runs of OpenCV's 3 × 3 blur on the same
// bytes.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#ifdef MIRASKETCH_BENCH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

#include "bench_timing.h"
#include "mask/mask_effects.h"
#include "platform/uniform_random.h"

namespace {

using namespace mirasketch;
using bench::Clock;
using bench::Median;
using bench::Millis;

constexpr int kSide = 4096;
constexpr std::size_t kBytes = static_cast<std::size_t>(kSide) * kSide;
constexpr int kPasses = 25;
constexpr int kRuns = 7;

// The program's generator from a fixed seed: the same plane on every machine.
std::vector<std::uint8_t> MakePattern() {
  std::vector<std::uint8_t> bytes(kBytes);
  UniformRandom random;
  random.Seed(20240611);
  for (std::size_t i = 0; i < kBytes; i += 8) {
    const std::uint64_t z = random.Next();
    std::memcpy(bytes.data() + i, &z, 8);
  }
  return bytes;
}

MaskPlane BottomUp(std::vector<std::uint8_t>& bytes) {
  return MaskPlane{bytes.data() + static_cast<std::ptrdiff_t>(kSide - 1) * kSide, -kSide, kSide,
                   kSide};
}

struct EffectsBench {
  EffectsBench() : pattern(MakePattern()), a(pattern), b(kBytes, 0) {}

  // Times `pass` run kPasses times from the pattern, each pass reading the last one's result.
  double Passes(const std::function<void(const MaskPlane&, const MaskPlane&)>& pass) {
    std::memcpy(a.data(), pattern.data(), kBytes);
    MaskPlane from = BottomUp(a), to = BottomUp(b);
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < kPasses; ++i) {
      pass(from, to);
      std::swap(from, to);
    }
    const double ms = Millis(Clock::now() - start);
    sink = sink + from.top[0];
    return ms;
  }

  double Copies() {
    std::uint8_t* from = a.data();
    std::uint8_t* to = b.data();
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < kPasses; ++i) {
      std::memcpy(to, from, kBytes);
      std::swap(from, to);
    }
    const double ms = Millis(Clock::now() - start);
    sink = sink + from[kBytes / 2];
    return ms;
  }

  double Whole(const std::function<void(const MaskPlane&)>& effect) {
    const MaskPlane plane = BottomUp(a);
    const Clock::time_point start = Clock::now();
    effect(plane);
    const double ms = Millis(Clock::now() - start);
    sink = sink + a[kBytes / 3];
    return ms;
  }

#ifdef MIRASKETCH_BENCH_OPENCV
  // OpenCV's blur offers no wrapping border, so it runs with its default (BORDER_REFLECT_101):
  // its bytes differ from the melt's at the edges, and it serves as a measure of speed only.
  double OpenCvBlur() {
    cv::Mat from(kSide, kSide, CV_8UC1, pattern.data()), to(kSide, kSide, CV_8UC1);
    from = from.clone();
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < kPasses; ++i) {
      cv::blur(from, to, cv::Size(3, 3));
      std::swap(from, to);
    }
    const double ms = Millis(Clock::now() - start);
    sink = sink + from.ptr<std::uint8_t>(0)[0];
    return ms;
  }
#endif

  std::vector<std::uint8_t> pattern, a, b;
  volatile unsigned sink = 0;  // keeps every result in use
};

}  // namespace

int main() {
  EffectsBench bench;
  std::vector<double> melt, vote, rug, halo, haloOld, copies, gradation, light, opencv;
  for (int run = 0; run < kRuns; ++run) {
    copies.push_back(bench.Copies());
    melt.push_back(
        bench.Passes([](const MaskPlane& f, const MaskPlane& t) { MeltPass(f, t, false); }));
    vote.push_back(bench.Passes(VotePass));
    rug.push_back(bench.Passes(RugPass));
    halo.push_back(bench.Passes([](const MaskPlane& f, const MaskPlane& t) { HaloPass(f, t, 5); }));
    haloOld.push_back(
        bench.Passes([](const MaskPlane& f, const MaskPlane& t) { HaloOldPass(f, t, 124); }));
    gradation.push_back(
        bench.Whole([](const MaskPlane& p) { GradationMask(p, 2048, 2048, 30, 100); }));
    light.push_back(
        bench.Whole([](const MaskPlane& p) { LightMask(p, 2048, 2048, 0, 100, 10, 3); }));
#ifdef MIRASKETCH_BENCH_OPENCV
    opencv.push_back(bench.OpenCvBlur());
#endif
  }
  std::printf("metric: memcpy25_ms %.2f\n", Median(copies));
  std::printf("metric: melt25_ms %.2f\n", Median(melt));
  std::printf("metric: vote25_ms %.2f\n", Median(vote));
  std::printf("metric: rug25_ms %.2f\n", Median(rug));
  std::printf("metric: halo25_ms %.2f\n", Median(halo));
  std::printf("metric: halo_old25_ms %.2f\n", Median(haloOld));
  std::printf("metric: gradation_ms %.2f\n", Median(gradation));
  std::printf("metric: light_ms %.2f\n", Median(light));
  std::printf("ratio: melt25 %.3f\n", Median(copies) / Median(melt));
  std::printf("ratio: vote25 %.3f\n", Median(copies) / Median(vote));
#ifdef MIRASKETCH_BENCH_OPENCV
  std::printf("metric: opencv_blur25_ms %.2f\n", Median(opencv));
  std::printf("metric: opencv_threads %d\n", cv::getNumThreads());
  std::printf("ratio: melt_vs_opencv %.3f\n", Median(opencv) / Median(melt));
#endif
  return 0;
}

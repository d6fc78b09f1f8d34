// The transform window's resampling of a 4096 × 4096 piece of fixed pseudo-random colours: the
// turn by 30° without and with smoothing, and the smoothing reduction to 1024 × 1024. Where
// OpenCV is installed each is set against its counterpart in the same run: warpAffine with the
// same mapping (INTER_NEAREST, INTER_LINEAR; its bilinear kernel differs from the smoothing, so
// that pair compares speed only) and resize with INTER_AREA. Every figure is the median of kRuns.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#ifdef MIRASKETCH_BENCH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

#include "bench_timing.h"
#include "platform/message_sink.h"
#include "platform/uniform_random.h"
#include "transform/resample.h"

namespace {

using namespace mirasketch;
using bench::Clock;
using bench::Median;
using bench::Millis;

constexpr int kSide = 4096;
constexpr int kReduced = 1024;
constexpr float kAngle = 30.0f;
constexpr int kRuns = 5;

struct ResampleBench {
  // The turns and the reduction work in states of their own, so that neither resizes the
  // other's result between runs and the timings do not include growing it again.
  ResampleBench() {
    Fill(state);
    Fill(reduction);
    state.angle = kAngle;
  }

  void Fill(ResampleState& s) {
    s.srcPiece.SetSize(kSide, kSide, messages);
    s.srcWidth = s.srcHeight = kSide;
    UniformRandom random;
    random.Seed(20240611);
    std::uint8_t* bits = s.srcPiece.Bits();
    const std::size_t bytes = static_cast<std::size_t>(kSide) * kSide * 3;
    for (std::size_t i = 0; i < bytes; i += 8) {
      const std::uint64_t z = random.Next();
      std::memcpy(bits + i, &z, std::min<std::size_t>(8, bytes - i));
    }
  }

  double Rotate(bool smooth) {
    state.smoothing = smooth;
    const Clock::time_point start = Clock::now();
    ComputeRotation(state, messages);
    const double ms = Millis(Clock::now() - start);
    sink = sink + state.resultPicture.Bits()[state.resultPicture.Width() * 3 / 2];
    return ms;
  }

  double Reduce() {
    reduction.smoothing = true;
    reduction.targetWidth = reduction.targetHeight = kReduced;
    const Clock::time_point start = Clock::now();
    ComputeScale(reduction, messages);
    const double ms = Millis(Clock::now() - start);
    sink = sink + reduction.resultPicture.Bits()[kReduced];
    return ms;
  }

#ifdef MIRASKETCH_BENCH_OPENCV
  // The source top row first, as OpenCV holds it (the piece is stored bottom row first).
  cv::Mat SourceMat() {
    cv::Mat mat(kSide, kSide, CV_8UC3);
    for (int y = 0; y < kSide; ++y)
      std::memcpy(mat.ptr<std::uint8_t>(y),
                  state.srcPiece.Bits() + state.srcPiece.PixelOffset(0, y),
                  static_cast<std::size_t>(kSide) * 3);
    return mat;
  }

  // The mapping of ComputeRotation: result pixel (j, i) reads source point
  // RotatePoint(−angle, j + minX + 0.5, i + minY + 0.5). OpenCV's pixel centres lie on whole
  // numbers, so its coordinates are ours less 0.5.
  cv::Mat RotationMap() {
    double x[4] = {0, 0, 0, 0}, y[4] = {0, 0, 0, 0};
    RotatePoint(kAngle, kSide, 0, x[1], y[1]);
    RotatePoint(kAngle, kSide, kSide, x[2], y[2]);
    RotatePoint(kAngle, 0, kSide, x[3], y[3]);
    double minX = 0, minY = 0;
    for (int k = 1; k < 4; ++k) {
      minX = std::min(minX, std::floor(x[k]));
      minY = std::min(minY, std::floor(y[k]));
    }
    double c = 0, ns = 0;
    RotatePoint(-kAngle, 1, 0, c, ns);  // (cos, −sin) of the turn back
    const double bx = minX + 0.5, by = minY + 0.5;
    cv::Mat map =
        (cv::Mat_<double>(2, 3) << c, -ns, bx * c - by * ns - 0.5, ns, c, bx * ns + by * c - 0.5);
    return map;
  }

  double OpenCvRotate(const cv::Mat& src, cv::Mat& dst, int interpolation) {
    const cv::Mat map = RotationMap();
    const cv::Size size(state.resultWidth, state.resultHeight);
    const Clock::time_point start = Clock::now();
    cv::warpAffine(src, dst, map, size, interpolation | cv::WARP_INVERSE_MAP, cv::BORDER_CONSTANT,
                   cv::Scalar(255, 255, 255));
    const double ms = Millis(Clock::now() - start);
    sink = sink + dst.ptr<std::uint8_t>(dst.rows / 2)[0];
    return ms;
  }

  double OpenCvReduce(const cv::Mat& src, cv::Mat& dst) {
    const Clock::time_point start = Clock::now();
    cv::resize(src, dst, cv::Size(kReduced, kReduced), 0, 0, cv::INTER_AREA);
    const double ms = Millis(Clock::now() - start);
    sink = sink + dst.ptr<std::uint8_t>(kReduced / 2)[0];
    return ms;
  }

  // The share of result pixels equal to OpenCV's: a check that both ran the same mapping (they
  // round coordinates differently, so a few pixels along source pixel borders differ).
  double SamePixels(const cv::Mat& dst) {
    long long same = 0;
    for (int y = 0; y < dst.rows; ++y) {
      const std::uint8_t* ours = state.resultPicture.Bits() + state.resultPicture.PixelOffset(0, y);
      const std::uint8_t* theirs = dst.ptr<std::uint8_t>(y);
      for (int x = 0; x < dst.cols * 3; x += 3)
        same +=
            ours[x] == theirs[x] && ours[x + 1] == theirs[x + 1] && ours[x + 2] == theirs[x + 2];
    }
    return 100.0 * static_cast<double>(same) / (static_cast<double>(dst.rows) * dst.cols);
  }
#endif

  ResampleState state;
  ResampleState reduction;
  SilentMessages messages;
  volatile unsigned sink = 0;  // keeps every result in use
};

}  // namespace

int main() {
  ResampleBench bench;
  std::vector<double> nearest, smooth, reduce, cvNearest, cvLinear, cvArea;
#ifdef MIRASKETCH_BENCH_OPENCV
  const cv::Mat src = bench.SourceMat();
  cv::Mat dst, reduced;
  double samePercent = 0;
#endif
  for (int run = 0; run < kRuns; ++run) {
    nearest.push_back(bench.Rotate(false));
#ifdef MIRASKETCH_BENCH_OPENCV
    cvNearest.push_back(bench.OpenCvRotate(src, dst, cv::INTER_NEAREST));
    if (run == 0) samePercent = bench.SamePixels(dst);
#endif
    smooth.push_back(bench.Rotate(true));
#ifdef MIRASKETCH_BENCH_OPENCV
    cvLinear.push_back(bench.OpenCvRotate(src, dst, cv::INTER_LINEAR));
#endif
    reduce.push_back(bench.Reduce());
#ifdef MIRASKETCH_BENCH_OPENCV
    cvArea.push_back(bench.OpenCvReduce(src, reduced));
#endif
  }
  std::printf("metric: rotate_nearest_ms %.2f\n", Median(nearest));
  std::printf("metric: rotate_smooth_ms %.2f\n", Median(smooth));
  std::printf("metric: reduce_smooth_ms %.2f\n", Median(reduce));
#ifdef MIRASKETCH_BENCH_OPENCV
  std::printf("metric: opencv_rotate_nearest_ms %.2f\n", Median(cvNearest));
  std::printf("metric: opencv_rotate_linear_ms %.2f\n", Median(cvLinear));
  std::printf("metric: opencv_reduce_area_ms %.2f\n", Median(cvArea));
  std::printf("metric: rotate_nearest_same_pixels_percent %.3f\n", samePercent);
  std::printf("metric: opencv_threads %d\n", cv::getNumThreads());
  std::printf("ratio: rotate_nearest_vs_opencv %.3f\n", Median(cvNearest) / Median(nearest));
  std::printf("ratio: rotate_smooth_vs_opencv %.3f\n", Median(cvLinear) / Median(smooth));
  std::printf("ratio: reduce_vs_opencv %.3f\n", Median(cvArea) / Median(reduce));
#endif
  return 0;
}

// Decoding and encoding a 4096 × 4096 24-bit PNG: our DecodePng and EncodePng against libpng's
// own API doing the same work with the same settings, in the same run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <png.h>

#include "bench_files.h"
#include "buffers/dib_true.h"
#include "platform/files.h"
#include "platform/system_memory.h"
#include "project/png_codec.h"
#include "ratio_report.h"

namespace {

using namespace mirasketch;

constexpr int kSide = 4096;

using mirasketch::bench::TempPath;

void AppendBytes(png_structp png, png_bytep data, png_size_t count) {
  auto& out = *static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out.insert(out.end(), data, data + count);
}

// Compresses the picture to memory with libpng alone: 8-bit RGB, not interlaced, the library's
// default compression and filters, the rows straight from the bottom-up blue-green-red buffer.
void LibpngEncode(const CDibTrue& picture, std::vector<std::uint8_t>& out) {
  out.clear();
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, AppendBytes, nullptr);
  png_set_IHDR(png, info, kSide, kSide, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_bgr(png);
  const std::size_t stride = 3ULL * kSide;
  const std::uint8_t* top = picture.Bits() + (kSide - 1) * stride;
  for (int y = 0; y < kSide; ++y) png_write_row(png, top - y * stride);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
}

struct MemoryReader {
  const std::uint8_t* data;
  std::size_t left;
};

void ReadMemory(png_structp png, png_bytep out, png_size_t count) {
  auto& in = *static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (count > in.left) png_error(png, "short");
  std::memcpy(out, in.data, count);
  in.data += count;
  in.left -= count;
}

struct PngFixture {
  PngFixture() {
    picture.Alloc(kSide, kSide);
    // Smooth gradients with a little noise and a fine pattern in some squares, so the filters and
    // the deflate coder have real work.
    std::uint32_t noise = 12345;
    std::uint8_t* p = picture.Bits();
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x, p += 3) {
        noise = noise * 1664525u + 1013904223u;
        const int n = static_cast<int>(noise >> 29) - 4;
        const bool detail = ((x >> 6) + (y >> 6)) % 5 == 0 && ((x ^ y) & 4);
        const int base = detail ? 200 : 0;
        p[0] = static_cast<std::uint8_t>(std::clamp(x / 16 + n + base / 2, 0, 255));
        p[1] = static_cast<std::uint8_t>(std::clamp(y / 16 + n, 0, 255));
        p[2] = static_cast<std::uint8_t>(std::clamp((x + y) / 32 + n + base / 4, 0, 255));
      }
    LibpngEncode(picture, encoded);
    decoded.resize(3ULL * kSide * kSide);
  }
  ~PngFixture() {
    std::remove(oursPath.c_str());
    std::remove(referencePath.c_str());
  }
  CDibTrue picture;
  CDibTrue target;
  std::vector<std::uint8_t> encoded;
  std::vector<std::uint8_t> referenceOut;
  std::vector<std::uint8_t> decoded;
  std::string oursPath = TempPath("ours.png");
  std::string referencePath = TempPath("reference.png");
};

PngFixture& Fixture() {
  static PngFixture fixture;
  return fixture;
}

// Ours reads through an InFile over the encoded bytes into a reused buffer.
void BM_DecodePng(benchmark::State& state) {
  PngFixture& f = Fixture();
  for (auto _ : state) {
    InFile file(f.encoded.data(), f.encoded.size(), "bench.png");
    int width = 0;
    int height = 0;
    if (DecodePng(file, f.target, width, height, SystemAvailableMemory()) != ImportResult::kOk) {
      state.SkipWithError("decode failed");
      break;
    }
    benchmark::DoNotOptimize(f.target.Bits());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

// The reference decodes the same bytes from memory, row by row into one reused buffer, as
// blue-green-red.
void BM_LibpngDecode(benchmark::State& state) {
  PngFixture& f = Fixture();
  for (auto _ : state) {
    MemoryReader in{f.encoded.data(), f.encoded.size()};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_read_fn(png, &in, ReadMemory);
    png_read_info(png, info);
    png_set_bgr(png);
    png_read_update_info(png, info);
    const std::size_t stride = 3ULL * kSide;
    for (int y = 0; y < kSide; ++y) png_read_row(png, f.decoded.data() + y * stride, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    benchmark::DoNotOptimize(f.decoded.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void BM_EncodePng(benchmark::State& state) {
  PngFixture& f = Fixture();
  for (auto _ : state) {
    if (!EncodePng(f.picture, kSide, kSide, f.oursPath)) {
      state.SkipWithError("encode failed");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

// Ours writes a file and flushes it to disk, as every save does; so the reference, after encoding
// into reused memory, writes the same bytes to a file in /tmp with the same flush.
void BM_LibpngEncode(benchmark::State& state) {
  PngFixture& f = Fixture();
  for (auto _ : state) {
    LibpngEncode(f.picture, f.referenceOut);
    bench::WriteSynced(f.referencePath, f.referenceOut.data(), f.referenceOut.size());
  }
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

BENCHMARK(BM_LibpngDecode)->Unit(benchmark::kMillisecond)->Repetitions(3)->Iterations(3);
BENCHMARK(BM_DecodePng)->Unit(benchmark::kMillisecond)->Repetitions(3)->Iterations(3);
BENCHMARK(BM_LibpngEncode)->Unit(benchmark::kMillisecond)->Repetitions(3)->Iterations(1);
BENCHMARK(BM_EncodePng)->Unit(benchmark::kMillisecond)->Repetitions(3)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  return mirasketch::bench::RunWithRatios(argc, argv,
                                          {{"png_decode", "BM_DecodePng", "BM_LibpngDecode"},
                                           {"png_encode", "BM_EncodePng", "BM_LibpngEncode"}});
}

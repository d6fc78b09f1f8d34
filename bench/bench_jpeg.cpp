// Decoding and encoding a 4096 × 4096 picture as a quality-100 JPEG: our DecodeJpeg and
// EncodeJpeg against libjpeg alone doing the same work with the same settings, in the same run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "bench_files.h"
#include "buffers/dib_true.h"
#include "platform/files.h"
#include "platform/system_memory.h"
#include "project/jpeg_codec.h"
#include "ratio_report.h"

namespace {

using namespace mirasketch;

constexpr int kSide = 4096;
constexpr int kQuality = 100;

using mirasketch::bench::TempPath;

// Compresses the picture to memory with libjpeg alone: the rows straight from the bottom-up
// buffer, blue-green-red input, the library's defaults. `out`/`size` keep the buffer between calls.
void LibjpegEncode(const CDibTrue& picture, unsigned char*& out, unsigned long& size) {
  jpeg_compress_struct c;
  jpeg_error_mgr errors;
  c.err = jpeg_std_error(&errors);
  jpeg_create_compress(&c);
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = kSide;
  c.image_height = kSide;
  c.input_components = 3;
  c.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, kQuality, TRUE);
  jpeg_start_compress(&c, TRUE);
  const std::size_t stride = 3ULL * kSide;
  std::uint8_t* top = picture.Bits() + (kSide - 1) * stride;
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = top - c.next_scanline * stride;
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
}

struct JpegFixture {
  JpegFixture() {
    picture.Alloc(kSide, kSide);
    // Smooth gradients with a little noise and a fine pattern in some squares, so the entropy
    // coder has real work at quality 100.
    std::uint32_t noise = 12345;
    std::uint8_t* p = picture.Bits();
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x, p += 3) {
        noise = noise * 1664525u + 1013904223u;
        const int n = static_cast<int>(noise >> 28) - 8;
        const bool detail = ((x >> 6) + (y >> 6)) % 5 == 0 && ((x ^ y) & 4);
        const int base = detail ? 200 : 0;
        p[0] = static_cast<std::uint8_t>(std::clamp(x / 16 + n + base / 2, 0, 255));
        p[1] = static_cast<std::uint8_t>(std::clamp(y / 16 + n, 0, 255));
        p[2] = static_cast<std::uint8_t>(std::clamp((x + y) / 32 + n + base / 4, 0, 255));
      }
    LibjpegEncode(picture, encoded, encodedSize);
    bench::WriteSynced(decodePath, encoded, encodedSize);
    decoded.resize(3ULL * kSide * kSide);
    // Ours decodes into a buffer of the picture's size whose pages are already in place, as the
    // reference's vector is, so neither pays for first touching its memory inside the timing.
    target.Alloc(kSide, kSide);
    target.FillRect(0, 0, kSide, kSide, 0);
  }
  ~JpegFixture() {
    std::free(encoded);
    std::free(referenceOut);
    std::remove(oursPath.c_str());
    std::remove(referencePath.c_str());
    std::remove(decodePath.c_str());
  }
  CDibTrue picture;
  CDibTrue target;
  unsigned char* encoded = nullptr;
  unsigned long encodedSize = 0;
  unsigned char* referenceOut = nullptr;
  unsigned long referenceSize = 0;
  std::vector<std::uint8_t> decoded;
  std::string oursPath = TempPath("ours.jpg");
  std::string referencePath = TempPath("reference.jpg");
  std::string decodePath = TempPath("decode.jpg");
};

JpegFixture& Fixture() {
  static JpegFixture fixture;
  return fixture;
}

// Ours opens the encoded picture as a file in /tmp, as the program's import does (the bytes are in
// the page cache after the first pass, as the reference's are in memory), and decodes it into a
// reused buffer.
void BM_DecodeJpeg(benchmark::State& state) {
  JpegFixture& f = Fixture();
  for (auto _ : state) {
    InFile file(f.decodePath);
    int width = 0;
    int height = 0;
    if (DecodeJpeg(file, f.target, width, height, SystemAvailableMemory()) != ImportResult::kOk) {
      state.SkipWithError("decode failed");
      break;
    }
    benchmark::DoNotOptimize(f.target.Bits());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

// The reference decodes the same bytes from memory, row by row into one reused buffer.
void BM_LibjpegDecode(benchmark::State& state) {
  JpegFixture& f = Fixture();
  for (auto _ : state) {
    jpeg_decompress_struct d;
    jpeg_error_mgr errors;
    d.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, f.encoded, f.encodedSize);
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&d);
    const std::size_t stride = 3ULL * d.output_width;
    while (d.output_scanline < d.output_height) {
      JSAMPROW row = f.decoded.data() + d.output_scanline * stride;
      jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    benchmark::DoNotOptimize(f.decoded.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void BM_EncodeJpeg(benchmark::State& state) {
  JpegFixture& f = Fixture();
  for (auto _ : state) {
    if (!EncodeJpeg(f.picture, kSide, kSide, kQuality, f.oursPath)) {
      state.SkipWithError("encode failed");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

// Ours writes a file and flushes it to disk, as every save does; so the reference, after encoding
// into reused memory, writes the same bytes to a file in /tmp with the same flush.
void BM_LibjpegEncode(benchmark::State& state) {
  JpegFixture& f = Fixture();
  for (auto _ : state) {
    LibjpegEncode(f.picture, f.referenceOut, f.referenceSize);
    bench::WriteSynced(f.referencePath, f.referenceOut, f.referenceSize);
  }
  state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

BENCHMARK(BM_LibjpegDecode)->Unit(benchmark::kMillisecond)->Repetitions(3)->Iterations(3);
BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMillisecond)->Repetitions(3)->Iterations(3);
BENCHMARK(BM_LibjpegEncode)->Unit(benchmark::kMillisecond)->Repetitions(3)->Iterations(3);
BENCHMARK(BM_EncodeJpeg)->Unit(benchmark::kMillisecond)->Repetitions(3)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  return mirasketch::bench::RunWithRatios(argc, argv,
                                          {{"jpeg_decode", "BM_DecodeJpeg", "BM_LibjpegDecode"},
                                           {"jpeg_encode", "BM_EncodeJpeg", "BM_LibjpegEncode"}});
}

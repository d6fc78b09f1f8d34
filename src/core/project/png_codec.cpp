#include "project/png_codec.h"

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <new>
#include <vector>

#include <png.h>

#include "buffers/dib_format.h"
#include "buffers/dib_true.h"
#include "platform/files.h"
#include "platform/system_memory.h"

namespace mirasketch {
namespace {

// libpng reports a fatal error through its error function, which must not return. Ours jumps
// back into Guarded(), so the library never ends the program, and its messages and warnings never
// reach stderr. The jump passes over the frames of the job's body and of libpng's callbacks, so
// none of them may hold an object with a destructor at a point where libpng can fail; everything
// that needs one lives in the caller of Guarded().
struct ErrorJump {
  std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(png_structp png, png_const_charp) {
  std::longjmp(static_cast<ErrorJump*>(png_get_error_ptr(png))->jump, 1);
}

void DropWarning(png_structp, png_const_charp) {}

template <typename Body>
bool Guarded(ErrorJump& errors, const Body& body) {
  if (setjmp(errors.jump) != 0) return false;
  body();
  return true;
}

// White under a transparent pixel: each channel c with alpha a becomes (c·a + 255·(255 − a)) / 255,
// rounded. `bgra` and `bgr` are one row of `width` pixels.
void OverWhite(const std::uint8_t* bgra, std::uint8_t* bgr, int width) {
  for (int x = 0; x < width; ++x, bgra += 4, bgr += 3) {
    const unsigned a = bgra[3];
    const unsigned white = 255 * (255 - a) + 127;
    bgr[0] = static_cast<std::uint8_t>((bgra[0] * a + white) / 255);
    bgr[1] = static_cast<std::uint8_t>((bgra[1] * a + white) / 255);
    bgr[2] = static_cast<std::uint8_t>((bgra[2] * a + white) / 255);
  }
}

struct DecodeJob {
  ErrorJump errors;
  png_structp png;
  png_infop info;
  InFile* file;
  std::exception_ptr* readError;
  std::vector<std::uint8_t>* alphaRows;  // the picture with its alpha, before it meets white
  CDibTrue* target;
  std::int64_t availableMemory;
  int width;
  int height;
  ImportResult result;
};

// libpng's reads come from the file; a short file or a read failure ends the decode (the failure
// is kept and rethrown once libpng has been left, as an exception must not pass through it).
void ReadFromFile(png_structp png, png_bytep out, png_size_t count) {
  DecodeJob& job = *static_cast<DecodeJob*>(png_get_io_ptr(png));
  bool complete = false;
  try {
    complete = job.file->ReadExact(out, count);
  } catch (...) {
    *job.readError = std::current_exception();
  }
  if (!complete) png_error(png, "file cut short");
}

// The most the library may allocate at once. Its own buffers are a few rows of at most 30000
// pixels; a chunk's length, though, is taken from the file before its bytes are read, so a damaged
// text chunk claiming gigabytes would be allocated whole. Such a request is refused (the library
// then skips the chunk or reports the file as malformed).
constexpr png_alloc_size_t kMaxLibraryAllocation = 16u << 20;

png_voidp LimitedMalloc(png_structp, png_alloc_size_t size) {
  return size <= kMaxLibraryAllocation ? std::malloc(size) : nullptr;
}

void LibraryFree(png_structp, png_voidp p) {
  std::free(p);
}

void RunDecode(DecodeJob& job) {
  job.png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &job.errors, JumpOnError, DropWarning,
                                     nullptr, LimitedMalloc, LibraryFree);
  if (job.png == nullptr) return;
  job.info = png_create_info_struct(job.png);
  if (job.info == nullptr) return;
  png_structp png = job.png;
  png_infop info = job.info;
  png_set_read_fn(png, &job, ReadFromFile);
  // The library's own size limit would make a huge header a malformed file; it is ours to refuse
  // as too large.
  png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
  png_read_info(png, info);
  const png_uint_32 fileWidth = png_get_image_width(png, info);
  const png_uint_32 fileHeight = png_get_image_height(png, info);
  if (fileWidth > static_cast<png_uint_32>(kMaxDibSide) ||
      fileHeight > static_cast<png_uint_32>(kMaxDibSide)) {
    job.result = ImportResult::kTooLarge;
    return;
  }
  const int w = static_cast<int>(fileWidth);
  const int h = static_cast<int>(fileHeight);

  // Everything becomes 8-bit blue-green-red, with an alpha channel when the file has any
  // transparency.
  png_set_scale_16(png);
  png_set_packing(png);
  png_set_palette_to_rgb(png);
  png_set_expand_gray_1_2_4_to_8(png);
  png_set_tRNS_to_alpha(png);
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const int channels = png_get_channels(png, info);
  if ((channels != 3 && channels != 4) || png_get_bit_depth(png, info) != 8 ||
      png_get_rowbytes(png, info) != static_cast<png_size_t>(channels) * fileWidth)
    return;
  const bool alpha = channels == 4;
  // An interlaced file with transparency is held whole until its last pass has been read;
  // otherwise one row is enough.
  const std::uint64_t alphaBytes =
      alpha ? 4ULL * static_cast<std::uint64_t>(w) * (passes > 1 ? h : 1) : 0;
  CDibTrue& target = *job.target;
  if (!MemoryFits(job.availableMemory, PictureBufferGrowth(target, w, h) + alphaBytes) ||
      !AllocPictureBuffer(target, w, h)) {
    job.result = ImportResult::kTooLarge;
    return;
  }
  bool haveRows = true;
  try {
    job.alphaRows->resize(alphaBytes);
  } catch (const std::bad_alloc&) {
    haveRows = false;
  }
  if (!haveRows) {
    job.result = ImportResult::kTooLarge;
    return;
  }

  // Picture row y is storage row (buffer height − 1 − y). Without alpha, libpng writes each row
  // (and, interlaced, each pass over it) straight into the buffer.
  const std::ptrdiff_t stride = 3 * static_cast<std::ptrdiff_t>(target.Width());
  std::uint8_t* const top = target.Bits() + (target.Height() - 1) * stride;
  std::uint8_t* const held = job.alphaRows->data();
  const std::ptrdiff_t heldStride = passes > 1 ? 4 * static_cast<std::ptrdiff_t>(w) : 0;
  for (int pass = 0; pass < passes; ++pass)
    for (int y = 0; y < h; ++y) {
      if (!alpha) {
        png_read_row(png, top - y * stride, nullptr);
      } else {
        png_read_row(png, held + y * heldStride, nullptr);
        if (passes == 1) OverWhite(held, top - y * stride, w);
      }
    }
  if (alpha && passes > 1)
    for (int y = 0; y < h; ++y) OverWhite(held + y * heldStride, top - y * stride, w);
  // The chunks after the picture data are not read: a file cut short after its last row still
  // holds the whole picture.
  WhitenOutsidePicture(target, w, h);
  job.width = w;
  job.height = h;
  job.result = ImportResult::kOk;
}

struct EncodeJob {
  ErrorJump errors;
  png_structp png;
  png_infop info;
  SafeFileWriter* out;
  std::exception_ptr* writeError;
  const CDibTrue* source;
  int width;
  int height;
  bool written;
};

void WriteToFile(png_structp png, png_bytep data, png_size_t count) {
  EncodeJob& job = *static_cast<EncodeJob*>(png_get_io_ptr(png));
  bool written = false;
  try {
    job.out->Write(data, count);
    written = true;
  } catch (...) {
    *job.writeError = std::current_exception();
  }
  if (!written) png_error(png, "write failed");
}

// The writer flushes once, when it commits.
void FlushNothing(png_structp) {}

void RunEncode(EncodeJob& job) {
  job.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &job.errors, JumpOnError, DropWarning);
  if (job.png == nullptr) return;
  job.info = png_create_info_struct(job.png);
  if (job.info == nullptr) return;
  png_structp png = job.png;
  png_set_write_fn(png, &job, WriteToFile, FlushNothing);
  png_set_IHDR(png, job.info, static_cast<png_uint_32>(job.width),
               static_cast<png_uint_32>(job.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, job.info);
  png_set_bgr(png);
  // Rows are read straight from the buffer, top picture row (top storage row) first.
  const CDibTrue& source = *job.source;
  const std::ptrdiff_t stride = 3 * static_cast<std::ptrdiff_t>(source.Width());
  const std::uint8_t* const top = source.Bits() + (source.Height() - 1) * stride;
  for (int y = 0; y < job.height; ++y) png_write_row(png, top - y * stride);
  png_write_end(png, nullptr);
  job.written = true;
}

}  // namespace

ImportResult DecodePng(InFile& file, CDibTrue& target, int& width, int& height,
                       std::int64_t availableMemory) {
  std::vector<std::uint8_t> alphaRows;
  std::exception_ptr readError;
  DecodeJob job{};
  job.file = &file;
  job.readError = &readError;
  job.alphaRows = &alphaRows;
  job.target = &target;
  job.availableMemory = availableMemory;
  job.result = ImportResult::kNotPicture;

  Guarded(job.errors, [&job] { RunDecode(job); });
  if (job.png != nullptr) png_destroy_read_struct(&job.png, &job.info, nullptr);
  if (readError) std::rethrow_exception(readError);
  if (job.result == ImportResult::kOk) {
    width = job.width;
    height = job.height;
  }
  return job.result;
}

bool EncodePng(const CDibTrue& source, int width, int height, const std::string& fileName) {
  if (source.Bits() == nullptr || width < 1 || height < 1 || width > source.Width() ||
      height > source.Height())
    return false;
  SafeFileWriter out(fileName);
  std::exception_ptr writeError;
  EncodeJob job{};
  job.out = &out;
  job.writeError = &writeError;
  job.source = &source;
  job.width = width;
  job.height = height;

  Guarded(job.errors, [&job] { RunEncode(job); });
  if (job.png != nullptr) png_destroy_write_struct(&job.png, &job.info);
  if (writeError) std::rethrow_exception(writeError);
  if (!job.written) return false;  // the writer removes its temporary file
  out.Commit();
  return true;
}

}  // namespace mirasketch

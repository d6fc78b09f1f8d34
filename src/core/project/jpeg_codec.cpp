#include "project/jpeg_codec.h"

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <vector>

#include <jpeglib.h>
// jerror.h after jpeglib.h, which it relies on.
#include <jerror.h>

#include "buffers/dib_format.h"
#include "buffers/dib_true.h"
#include "platform/files.h"
#include "platform/system_memory.h"

namespace mirasketch {
namespace {

// Bytes moved between the file and libjpeg at a time.
constexpr std::size_t kIoChunk = 1 << 16;
// Rows handed to libjpeg per call.
constexpr int kRowsPerCall = 16;
// Every scan of a progressive file passes over the whole picture, so a small file of endless
// scans could keep the decoder busy for minutes; real files have at most a few dozen.
constexpr int kMaxScans = 500;

// libjpeg reports a fatal error through error_exit, which must not return. Ours jumps back into
// Guarded(), so the library never ends the program and its messages never reach stderr.
struct ErrorJump {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorJump*>(cinfo->err)->jump, 1);
}

void DropMessage(j_common_ptr) {}

void InitErrors(ErrorJump& errors) {
  jpeg_std_error(&errors.manager);
  errors.manager.error_exit = JumpOnError;
  errors.manager.output_message = DropMessage;
}

// Our own refusals from inside libjpeg's callbacks take the same way out.
[[noreturn]] void Fail(j_common_ptr cinfo, int code) {
  cinfo->err->msg_code = code;
  JumpOnError(cinfo);
}

// Runs `body` so that a libjpeg error ends it early; false when one did. The jump passes over the
// frames of `body` and of the callbacks, so none of them may hold an object with a destructor at
// a point where libjpeg can fail; everything that needs one lives in the caller.
template <typename Body>
bool Guarded(ErrorJump& errors, const Body& body) {
  if (setjmp(errors.jump) != 0) return false;
  body();
  return true;
}

// A data source reading the file in chunks. A read failure is kept and rethrown once libjpeg has
// been left, as an exception must not pass through the library.
struct FileSource {
  jpeg_source_mgr manager;
  InFile* file;
  JOCTET* buffer;
  std::exception_ptr* readError;
  bool rowsDone;  // every row has been read: a missing end marker no longer matters
  JOCTET endMarker[2];
};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

boolean FillSource(j_decompress_ptr cinfo) {
  FileSource* src = reinterpret_cast<FileSource*>(cinfo->src);
  std::size_t got = 0;
  bool failed = false;
  try {
    got = src->file->Read(src->buffer, kIoChunk);
  } catch (...) {
    *src->readError = std::current_exception();
    failed = true;
  }
  if (failed) Fail(reinterpret_cast<j_common_ptr>(cinfo), JERR_FILE_READ);
  if (got == 0) {
    // A file that ends before its last row is cut short; after that, an end marker is supplied.
    if (!src->rowsDone) Fail(reinterpret_cast<j_common_ptr>(cinfo), JERR_INPUT_EOF);
    src->endMarker[0] = 0xFF;
    src->endMarker[1] = JPEG_EOI;
    src->manager.next_input_byte = src->endMarker;
    src->manager.bytes_in_buffer = 2;
    return TRUE;
  }
  src->manager.next_input_byte = src->buffer;
  src->manager.bytes_in_buffer = got;
  return TRUE;
}

void SkipSource(j_decompress_ptr cinfo, long count) {
  if (count <= 0) return;
  jpeg_source_mgr* src = cinfo->src;
  std::size_t left = static_cast<std::size_t>(count);
  while (left > src->bytes_in_buffer) {
    left -= src->bytes_in_buffer;
    FillSource(cinfo);
  }
  src->next_input_byte += left;
  src->bytes_in_buffer -= left;
}

// The coefficient arrays libjpeg keeps for a file of several scans (progressive, or components
// sent in separate scans) until its last scan: each component's blocks, its rows and columns of
// blocks rounded up to its sampling factors, as the library allocates them.
std::uint64_t CoefficientBytes(const jpeg_decompress_struct& cinfo) {
  const auto roundUp = [](std::uint64_t blocks, int factor) {
    const auto f = static_cast<std::uint64_t>(factor);
    return (blocks + f - 1) / f * f;
  };
  std::uint64_t bytes = 0;
  for (int c = 0; c < cinfo.num_components; ++c) {
    const jpeg_component_info& comp = cinfo.comp_info[c];
    bytes += roundUp(comp.width_in_blocks, comp.h_samp_factor) *
             roundUp(comp.height_in_blocks, comp.v_samp_factor) * sizeof(JBLOCK);
  }
  return bytes;
}

void LimitScans(j_common_ptr cinfo) {
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
    Fail(cinfo, JERR_NOT_COMPILED);
}

struct DecodeJob {
  jpeg_decompress_struct cinfo;
  ErrorJump errors;
  FileSource source;
  jpeg_progress_mgr progress;
  CDibTrue* target;
  std::int64_t availableMemory;
  int width;
  int height;
  ImportResult result;
};

void RunDecode(DecodeJob& job) {
  j_decompress_ptr cinfo = &job.cinfo;
  jpeg_create_decompress(cinfo);
  cinfo->src = &job.source.manager;
  cinfo->progress = &job.progress;
  if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) return;
  if (cinfo->image_width > static_cast<JDIMENSION>(kMaxDibSide) ||
      cinfo->image_height > static_cast<JDIMENSION>(kMaxDibSide)) {
    job.result = ImportResult::kTooLarge;
    return;
  }
  // Greyscale and RGB are widened and YCbCr converted by libjpeg; it cannot give CMYK as BGR.
  if (cinfo->jpeg_color_space != JCS_GRAYSCALE && cinfo->jpeg_color_space != JCS_YCbCr &&
      cinfo->jpeg_color_space != JCS_RGB)
    return;
  cinfo->out_color_space = JCS_EXT_BGR;
  const int w = static_cast<int>(cinfo->image_width);
  const int h = static_cast<int>(cinfo->image_height);
  // Both the picture buffer and, for a file of several scans, the coefficients that
  // jpeg_start_decompress gathers must fit in memory; they are measured from the frame header.
  std::uint64_t needed = PictureBufferGrowth(*job.target, w, h);
  if (jpeg_has_multiple_scans(cinfo)) needed += CoefficientBytes(*cinfo);
  if (!MemoryFits(job.availableMemory, needed)) {
    job.result = ImportResult::kTooLarge;
    return;
  }
  // The buffer is sized once libjpeg has checked the tables (and, for a progressive file, read
  // every scan), so a bare header claiming a huge frame costs no picture-sized allocation.
  jpeg_start_decompress(cinfo);
  if (cinfo->output_width != cinfo->image_width || cinfo->output_height != cinfo->image_height ||
      cinfo->output_components != 3)
    return;
  CDibTrue& target = *job.target;
  if (!AllocPictureBuffer(target, w, h)) {
    job.result = ImportResult::kTooLarge;
    return;
  }
  // libjpeg writes each row straight into the buffer. Picture row y is storage row
  // (buffer height − 1 − y), so the rows are handed out from the top storage row down.
  const std::ptrdiff_t stride = 3 * static_cast<std::ptrdiff_t>(target.Width());
  std::uint8_t* const top = target.Bits() + (target.Height() - 1) * stride;
  JSAMPROW rows[kRowsPerCall];
  while (cinfo->output_scanline < cinfo->output_height) {
    const int first = static_cast<int>(cinfo->output_scanline);
    const int n = std::min(kRowsPerCall, h - first);
    for (int i = 0; i < n; ++i) rows[i] = top - (first + i) * stride;
    // Our source never suspends, so every call yields rows; a call that does not is refused
    // rather than repeated.
    if (jpeg_read_scanlines(cinfo, rows, static_cast<JDIMENSION>(n)) == 0) return;
  }
  job.source.rowsDone = true;
  jpeg_finish_decompress(cinfo);
  WhitenOutsidePicture(target, w, h);
  job.width = w;
  job.height = h;
  job.result = ImportResult::kOk;
}

// A destination writing full chunks through the safe writer; its failures are kept as above.
struct WriterDestination {
  jpeg_destination_mgr manager;
  SafeFileWriter* out;
  JOCTET* buffer;
  std::exception_ptr* writeError;
};

void WriteChunk(j_compress_ptr cinfo, std::size_t count) {
  WriterDestination* dest = reinterpret_cast<WriterDestination*>(cinfo->dest);
  bool failed = false;
  try {
    dest->out->Write(dest->buffer, count);
  } catch (...) {
    *dest->writeError = std::current_exception();
    failed = true;
  }
  if (failed) Fail(reinterpret_cast<j_common_ptr>(cinfo), JERR_FILE_WRITE);
  dest->manager.next_output_byte = dest->buffer;
  dest->manager.free_in_buffer = kIoChunk;
}

void InitDestination(j_compress_ptr cinfo) {
  WriterDestination* dest = reinterpret_cast<WriterDestination*>(cinfo->dest);
  dest->manager.next_output_byte = dest->buffer;
  dest->manager.free_in_buffer = kIoChunk;
}

boolean EmptyDestination(j_compress_ptr cinfo) {
  // libjpeg asks for the whole buffer to be written, whatever free_in_buffer says.
  WriteChunk(cinfo, kIoChunk);
  return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
  WriteChunk(cinfo, kIoChunk - cinfo->dest->free_in_buffer);
}

struct EncodeJob {
  jpeg_compress_struct cinfo;
  ErrorJump errors;
  WriterDestination destination;
  const CDibTrue* source;
  int width;
  int height;
  int quality;
};

void RunEncode(EncodeJob& job) {
  j_compress_ptr cinfo = &job.cinfo;
  jpeg_create_compress(cinfo);
  cinfo->dest = &job.destination.manager;
  cinfo->image_width = static_cast<JDIMENSION>(job.width);
  cinfo->image_height = static_cast<JDIMENSION>(job.height);
  cinfo->input_components = 3;
  cinfo->in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, job.quality, TRUE);
  jpeg_start_compress(cinfo, TRUE);
  // Rows are read straight from the buffer, top picture row (top storage row) first.
  const CDibTrue& source = *job.source;
  const std::ptrdiff_t stride = 3 * static_cast<std::ptrdiff_t>(source.Width());
  std::uint8_t* const top = source.Bits() + (source.Height() - 1) * stride;
  JSAMPROW rows[kRowsPerCall];
  while (cinfo->next_scanline < cinfo->image_height) {
    const int first = static_cast<int>(cinfo->next_scanline);
    const int n = std::min(kRowsPerCall, job.height - first);
    for (int i = 0; i < n; ++i) rows[i] = top - (first + i) * stride;
    if (jpeg_write_scanlines(cinfo, rows, static_cast<JDIMENSION>(n)) == 0)
      Fail(reinterpret_cast<j_common_ptr>(cinfo), JERR_FILE_WRITE);
  }
  jpeg_finish_compress(cinfo);
}

}  // namespace

ImportResult DecodeJpeg(InFile& file, CDibTrue& target, int& width, int& height,
                        std::int64_t availableMemory) {
  std::vector<JOCTET> buffer(kIoChunk);
  std::exception_ptr readError;
  DecodeJob job{};
  InitErrors(job.errors);
  job.cinfo.err = &job.errors.manager;
  job.source.manager.init_source = InitSource;
  job.source.manager.fill_input_buffer = FillSource;
  job.source.manager.skip_input_data = SkipSource;
  job.source.manager.resync_to_restart = jpeg_resync_to_restart;
  job.source.manager.term_source = TermSource;
  job.source.file = &file;
  job.source.buffer = buffer.data();
  job.source.readError = &readError;
  job.progress.progress_monitor = LimitScans;
  job.target = &target;
  job.availableMemory = availableMemory;
  job.result = ImportResult::kNotPicture;

  const bool finished = Guarded(job.errors, [&job] { RunDecode(job); });
  jpeg_destroy_decompress(&job.cinfo);
  if (readError) std::rethrow_exception(readError);
  if (!finished) {
    // libjpeg's own limit on the frame size is still a picture too large for us.
    return job.errors.manager.msg_code == JERR_IMAGE_TOO_BIG ? ImportResult::kTooLarge
                                                             : ImportResult::kNotPicture;
  }
  if (job.result == ImportResult::kOk) {
    width = job.width;
    height = job.height;
  }
  return job.result;
}

bool EncodeJpeg(const CDibTrue& source, int width, int height, int quality,
                const std::string& fileName) {
  if (source.Bits() == nullptr || width < 1 || height < 1 || width > source.Width() ||
      height > source.Height())
    return false;
  SafeFileWriter out(fileName);
  std::vector<JOCTET> buffer(kIoChunk);
  std::exception_ptr writeError;
  EncodeJob job{};
  InitErrors(job.errors);
  job.cinfo.err = &job.errors.manager;
  job.destination.manager.init_destination = InitDestination;
  job.destination.manager.empty_output_buffer = EmptyDestination;
  job.destination.manager.term_destination = TermDestination;
  job.destination.out = &out;
  job.destination.buffer = buffer.data();
  job.destination.writeError = &writeError;
  job.source = &source;
  job.width = width;
  job.height = height;
  job.quality = std::clamp(quality, 1, 100);

  const bool finished = Guarded(job.errors, [&job] { RunEncode(job); });
  jpeg_destroy_compress(&job.cinfo);
  if (writeError) std::rethrow_exception(writeError);
  if (!finished) return false;  // the writer removes its temporary file
  out.Commit();
  return true;
}

}  // namespace mirasketch

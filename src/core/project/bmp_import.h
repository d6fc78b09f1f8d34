#pragma once

#include <cstdint>

namespace mirasketch {

class CDibTrue;
class InFile;

// How reading a picture file into a buffer ended.
enum class ImportResult { kOk, kNotPicture, kTooLarge };

// Decodes a BMP file from `file` into `target`. On kOk the target was sized with
// target.Alloc(width, height) (the width rounded up to a multiple of 4, a side under 4 raised to
// 4), holds the picture with (0, 0) at its top-left in the buffer's usual bottom-up storage, and
// every pixel outside the picture's own width × height is white (0xFFFFFF). `width` and
// `height` receive the picture's own size, and are only written on kOk.
//
// Read: 1-, 4- and 8-bit colour tables (indices beyond the table are black); 16-bit 5-5-5 and
// 32-bit blue-green-red-unused pixels, or any channel masks (BI_BITFIELDS, alpha ignored);
// 24-bit; 8- and 4-bit run-length codes, where pixels the codes skip stay white and runs past the
// end of a row are cut there; rows stored top-down (uncompressed only); information headers of
// 12 (OS/2), 40, 52, 56, 108 and 124 bytes.
//
// kTooLarge when the picture's width or height exceeds kMaxDibSide, or when sizing the target
// would newly take more than `availableMemory` bytes, decided from the headers before anything
// is allocated, or when the buffer cannot get the memory; kNotPicture for
// anything malformed, cut short or unsupported (the target may then have been resized with
// unspecified content). Throws only IoError, when the file cannot be read.
ImportResult DecodeBmp(InFile& file, CDibTrue& target, int& width, int& height,
                       std::int64_t availableMemory);

// The buffer rule shared by the picture decoders: sizes `target` for a width × height picture
// (each side at least kMinDibSide); false when the buffer refuses that size or the memory.
bool AllocPictureBuffer(CDibTrue& target, int width, int height);
// The bytes AllocPictureBuffer would newly take in `target` for a width × height picture.
std::uint64_t PictureBufferGrowth(const CDibTrue& target, int width, int height);
// Paints white every pixel of `target` outside its top-left width × height.
void WhitenOutsidePicture(CDibTrue& target, int width, int height);

}  // namespace mirasketch

#pragma once

#include <cstdint>
#include <string>

#include "project/bmp_import.h"

namespace mirasketch {

class CDibTrue;
class InFile;

// Decodes a PNG file (every bit depth; grey, grey with alpha, palette, RGB and RGBA; interlaced
// or not) into `target` with the contract of DecodeBmp: the picture at the top-left of a buffer
// sized by AllocPictureBuffer, everything outside it white, `width`/`height` written only on kOk.
// Transparency (an alpha channel or a tRNS chunk) is laid over white and 16-bit samples are
// rounded to 8 bits. kTooLarge comes from the header, before anything picture-sized is allocated:
// for a side beyond kMaxDibSide, or when the target's growth (plus, for an interlaced file with
// transparency, the whole picture held until its last pass) would take more than
// `availableMemory` bytes, or when the buffer cannot get the memory. Malformed and cut-short
// files, and files whose critical chunks fail their checksum, give kNotPicture. Throws only
// IoError, when the file cannot be read.
ImportResult DecodePng(InFile& file, CDibTrue& target, int& width, int& height,
                       std::int64_t availableMemory);

// Encodes the top-left width × height pixels of `source` as a 24-bit (8 bits per channel RGB),
// non-interlaced PNG and writes it through SafeFileWriter: a temporary file renamed into place.
// False, with no file touched, when the size is not inside `source`, and false, with the old file
// kept, when the encoder fails; file failures throw IoError and keep the old file too.
bool EncodePng(const CDibTrue& source, int width, int height, const std::string& fileName);

}  // namespace mirasketch

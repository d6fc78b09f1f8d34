#pragma once

#include <cstdint>
#include <string>

#include "project/bmp_import.h"

namespace mirasketch {

class CDibTrue;
class InFile;

// Decodes a JPEG file (baseline or progressive; greyscale, YCbCr or RGB) into `target` with the
// contract of DecodeBmp: the picture at the top-left of a buffer sized by AllocPictureBuffer,
// everything outside it white, `width`/`height` written only on kOk. kTooLarge comes from the
// frame header, before the decoder allocates the picture and before `target` is sized: for a
// side beyond kMaxDibSide, or when the target's growth plus, for a file of several scans, the
// coefficients libjpeg keeps until the last scan would take more than `availableMemory` bytes
// (or when the buffer cannot get the memory). Malformed, cut-short and CMYK files, and files with
// more than 500 scans, give kNotPicture; damaged entropy-coded data that the decoder can step over
// is accepted, as is a file that ends without its end marker once every row is decoded. Throws only
// IoError, when the file cannot be read.
ImportResult DecodeJpeg(InFile& file, CDibTrue& target, int& width, int& height,
                        std::int64_t availableMemory);

// Encodes the top-left width × height pixels of `source` as a baseline JPEG (4:2:0, quality
// clamped to 1 … 100) and writes it through SafeFileWriter: a temporary file renamed into place.
// False, with no file touched, when the size is not inside `source`, and false, with the old file
// kept, when the encoder fails; file failures throw IoError and keep the old file too.
bool EncodeJpeg(const CDibTrue& source, int width, int height, int quality,
                const std::string& fileName);

}  // namespace mirasketch

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "buffers/dib_format.h"
#include "buffers/dib_storage.h"
#include "platform/surface.h"

namespace mirasketch {

class InFile;
class MessageSink;

// The 32-byte head of an 8-bit block as old project files hold it: the plane size it declares and
// how its data is stored.
struct Block8Head {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint32_t compression = 0;  // 1: run-length coded rows, otherwise raw
  std::uint32_t length = 0;       // bytes of data after the head
};

// Reads a block head at the file's position; false when the file is short, the magic or version
// is wrong, or the data would run past the end of the file.
bool ReadBlock8Head(InFile& file, Block8Head& head);

// An 8-bit plane with a 256-entry colour table, bottom-up like `CDibTrue`: pixel (x, y) is the
// byte at x + (height − 1 − y) × width. Used for masks, work planes and the brush sheet; a byte is
// a palette index when shown and a plain 0 … 255 value when computed with.
class CDib256 {
 public:
  // An empty plane with an all-zero palette.
  CDib256() = default;
  CDib256(const CDib256&) = delete;
  CDib256& operator=(const CDib256&) = delete;

  // Sizing as `CDibTrue::Alloc` with one byte per pixel; the palette is not touched.
  bool Alloc(int width, int height);
  // The same as `Alloc`; planes show no message.
  bool SetSize(int width, int height) { return Alloc(width, height); }
  // Sets every pixel to 0, as a fill of the whole plane does, without writing what holds zeros.
  void Clear() { storage_.Zero(); }
  // The bytes sizing the plane to width × height would newly take beyond the storage it holds.
  std::uint64_t GrowthFor(int width, int height) const {
    return storage_.GrowthTo(DibBytes(width, height, 8));
  }

  int Width() const { return header.width; }
  int Height() const { return header.height; }
  std::uint8_t* Bits() const { return storage_.Data(); }
  void GetBits(std::uint8_t*& bits, int& width, int& height) const;

  // Byte offset of (x, y), or −1 when empty or outside.
  // 64-bit: a 30000 × 30000 picture holds more bytes than an int counts.
  std::ptrdiff_t PixelOffset(int x, int y) const;
  // The byte at (x, y), or −1 outside.
  int GetPixel(int x, int y) const;
  // Writes the byte; ignored outside.
  void SetPixel(int x, int y, int value);
  // Fills the clipped rectangle with one byte.
  void FillRect(int x, int y, int width, int height, int value);
  // One-pixel line, the end point not drawn.
  void Line(int x1, int y1, int x2, int y2, int value);

  // Sets palette entry `index` (0 … 255); the reserved byte is left alone.
  void SetPaletteEntry(int index, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
  const RgbQuad* PaletteEntries() const { return palette; }
  RgbQuad* PaletteEntries() { return palette; }

  // Loads an 8-bit BMP file (palette and rows). False with the reader's message for a missing or
  // malformed file; false without a message for a 4- or 24-bit file, which leaves the plane
  // resized but unfilled. Read failures of an existing file throw IoError.
  bool LoadFromBmp(const std::string& fileName, MessageSink& messages);
  // As `LoadFromBmp`, from an open file.
  bool LoadFromBmpFile(InFile& file, MessageSink& messages);
  // Reads one 8-bit block (32-byte header, raw or run-length rows) from the file's position.
  // False for a wrong magic or version, a refused size, or data that does not fit the plane.
  bool LoadFromStream(InFile& file);

  // Scaled drawing as `CDibTrue::StretchDraw`; the palette gives the colours.
  void StretchDraw(Surface& surface, int dx, int dy, int dw, int dh, int sx, int sy, int sw,
                   int sh) const;
  DibView View() const;

  BitmapInfoHeader header{};
  RgbQuad palette[256]{};

 private:
  DibStorage storage_;
};

}  // namespace mirasketch

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "buffers/dib_format.h"
#include "buffers/dib_storage.h"
#include "platform/surface.h"

namespace mirasketch {

class MessageSink;

// What the user is told when a buffer cannot be sized, for a refused size or for lack of memory.
inline constexpr const char* kBitsAllocError = "ClsDibTrue- Bits Alloc Error";

// A 24-bit picture in bottom-up device-independent-bitmap layout: 3 bytes per pixel (blue, green,
// red), width a multiple of 4, so rows carry no padding. Pixel (x, y) with y = 0 at the top lies
// at byte (x + (height − 1 − y) × width) × 3. Colours are 0x00BBGGRR values.
class CDibTrue {
 public:
  // An empty buffer: no storage, 0 × 0.
  CDibTrue() = default;
  CDibTrue(const CDibTrue&) = delete;
  CDibTrue& operator=(const CDibTrue&) = delete;

  // Sizes the buffer silently (width rounded up to a multiple of 4). False for sizes outside
  // 4 … 30000 or when memory runs out; the buffer then reads as 0 × 0 but keeps its storage.
  // A first allocation is black; a resize keeps the bytes where they lie.
  bool Alloc(int width, int height);
  // `Alloc`, telling the user "ClsDibTrue- Bits Alloc Error" when it fails.
  bool SetSize(int width, int height, MessageSink& messages);
  // The bytes sizing the buffer to width × height would newly take beyond the storage it holds.
  std::uint64_t GrowthFor(int width, int height) const {
    return storage_.GrowthTo(DibBytes(width, height, 24));
  }

  int Width() const { return header.width; }
  int Height() const { return header.height; }
  std::uint8_t* Bits() const { return storage_.Data(); }
  // The storage and size as they stand (null, 0, 0 for an empty buffer).
  void GetBits(std::uint8_t*& bits, int& width, int& height) const;

  // Byte offset of the pixel's blue byte, or −1 when empty or outside.
  // 64-bit: a 30000 × 30000 picture holds more bytes than an int counts.
  std::ptrdiff_t PixelOffset(int x, int y) const;
  // The colour at (x, y), or −1 outside.
  int GetPixel(int x, int y) const;
  // The channel bytes at (x, y); false (outputs untouched) outside.
  bool GetRGB(int x, int y, std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue) const;
  // Writes a pixel; nothing happens outside.
  void SetPixel(int x, int y, int colour);
  void SetRGB(int x, int y, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
  // Fills the rectangle clipped to the buffer.
  void FillRect(int x, int y, int width, int height, int colour);
  // One-pixel line from (x1, y1) to (x2, y2), the end point not drawn.
  void Line(int x1, int y1, int x2, int y2, int colour);

  // Writes a 24-bit BMP file (safely: a temporary file renamed into place). An empty buffer
  // gives "CDibTrue- Dib is empty." and false; file failures throw IoError.
  bool SaveToBmp(const std::string& fileName, MessageSink& messages) const;

  // Draws the whole buffer 1:1 with its top-left at the surface origin.
  void Draw(Surface& surface) const;
  // Draws the source rectangle (source y from the top) scaled into the destination rectangle;
  // nothing for an empty buffer.
  void StretchDraw(Surface& surface, int dx, int dy, int dw, int dh, int sx, int sy, int sw,
                   int sh) const;
  DibView View() const;

  BitmapInfoHeader header{};

 private:
  DibStorage storage_;
};

// Colour form helpers: 0x00BBGGRR.
constexpr int MakeColour(int red, int green, int blue) {
  return red | green << 8 | blue << 16;
}

}  // namespace mirasketch

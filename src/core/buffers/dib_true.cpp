#include "buffers/dib_true.h"

#include "buffers/bmp_file.h"
#include "platform/message_sink.h"

namespace mirasketch {

bool CDibTrue::Alloc(int width, int height) {
  return AllocDib(header, storage_, width, height, 24);
}

bool CDibTrue::SetSize(int width, int height, MessageSink& messages) {
  if (Alloc(width, height)) return true;
  messages.ShowMessage(kBitsAllocError);
  return false;
}

void CDibTrue::GetBits(std::uint8_t*& bits, int& width, int& height) const {
  bits = storage_.Data();
  width = header.width;
  height = header.height;
}

std::ptrdiff_t CDibTrue::PixelOffset(int x, int y) const {
  if (storage_.Data() == nullptr || x < 0 || y < 0 || x >= header.width || y >= header.height)
    return -1;
  return (x + static_cast<std::ptrdiff_t>(header.height - 1 - y) * header.width) * 3;
}

int CDibTrue::GetPixel(int x, int y) const {
  std::ptrdiff_t at = PixelOffset(x, y);
  if (at < 0) return -1;
  const std::uint8_t* p = storage_.Data() + at;
  return p[0] << 16 | p[1] << 8 | p[2];
}

bool CDibTrue::GetRGB(int x, int y, std::uint8_t& red, std::uint8_t& green,
                      std::uint8_t& blue) const {
  std::ptrdiff_t at = PixelOffset(x, y);
  if (at < 0) return false;
  const std::uint8_t* p = storage_.Data() + at;
  blue = p[0];
  green = p[1];
  red = p[2];
  return true;
}

void CDibTrue::SetPixel(int x, int y, int colour) {
  SetRGB(x, y, static_cast<std::uint8_t>(colour), static_cast<std::uint8_t>(colour >> 8),
         static_cast<std::uint8_t>(colour >> 16));
}

void CDibTrue::SetRGB(int x, int y, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  std::ptrdiff_t at = PixelOffset(x, y);
  if (at < 0) return;
  std::uint8_t* p = storage_.Data() + at;
  p[0] = blue;
  p[1] = green;
  p[2] = red;
}

void CDibTrue::FillRect(int x, int y, int width, int height, int colour) {
  if (storage_.Data() == nullptr || !ClipFillRect(x, y, width, height, header.width, header.height))
    return;
  const std::uint8_t blue = static_cast<std::uint8_t>(colour >> 16);
  const std::uint8_t green = static_cast<std::uint8_t>(colour >> 8);
  const std::uint8_t red = static_cast<std::uint8_t>(colour);
  const std::ptrdiff_t rowStep = -static_cast<std::ptrdiff_t>(header.width + width) * 3;
  std::uint8_t* p = storage_.Data() + PixelOffset(x, y);
  for (int row = 0; row < height; ++row, p += rowStep) {
    for (int n = 0; n < width; ++n, p += 3) {
      p[0] = blue;
      p[1] = green;
      p[2] = red;
    }
  }
}

void CDibTrue::Line(int x1, int y1, int x2, int y2, int colour) {
  WalkPlainLine(x1, y1, x2, y2, [&](int x, int y) { SetPixel(x, y, colour); });
}

bool CDibTrue::SaveToBmp(const std::string& fileName, MessageSink& messages) const {
  // A buffer whose last sizing was refused reads as 0 × 0 and counts as empty too.
  if (storage_.Data() == nullptr || header.width == 0) {
    messages.ShowMessage("CDibTrue- Dib is empty.");
    return false;
  }
  WriteBmpFile(fileName, header, nullptr, 0, storage_.Data());
  return true;
}

DibView CDibTrue::View() const {
  return DibView{storage_.Data(), header.width, header.height, 24, nullptr};
}

void CDibTrue::Draw(Surface& surface) const {
  if (storage_.Data() == nullptr) return;
  PixelRect all{0, 0, header.width, header.height};
  surface.StretchBits(View(), all, all);
}

void CDibTrue::StretchDraw(Surface& surface, int dx, int dy, int dw, int dh, int sx, int sy, int sw,
                           int sh) const {
  if (storage_.Data() == nullptr) return;
  surface.StretchBits(View(), {dx, dy, dw, dh}, {sx, header.height - sh - sy, sw, sh});
}

}  // namespace mirasketch

#include "buffers/dib256.h"

#include <cstring>
#include <vector>

#include "buffers/bmp_file.h"
#include "buffers/rle.h"
#include "platform/files.h"
#include "platform/io_error.h"
#include "platform/message_sink.h"

namespace mirasketch {

bool CDib256::Alloc(int width, int height) {
  return AllocDib(header, storage_, width, height, 8);
}

void CDib256::GetBits(std::uint8_t*& bits, int& width, int& height) const {
  bits = storage_.Data();
  width = header.width;
  height = header.height;
}

std::ptrdiff_t CDib256::PixelOffset(int x, int y) const {
  if (storage_.Data() == nullptr || x < 0 || y < 0 || x >= header.width || y >= header.height)
    return -1;
  return x + static_cast<std::ptrdiff_t>(header.height - 1 - y) * header.width;
}

int CDib256::GetPixel(int x, int y) const {
  std::ptrdiff_t at = PixelOffset(x, y);
  return at < 0 ? -1 : storage_.Data()[at];
}

void CDib256::SetPixel(int x, int y, int value) {
  std::ptrdiff_t at = PixelOffset(x, y);
  if (at >= 0) storage_.Data()[at] = static_cast<std::uint8_t>(value);
}

void CDib256::FillRect(int x, int y, int width, int height, int value) {
  if (storage_.Data() == nullptr || !ClipFillRect(x, y, width, height, header.width, header.height))
    return;
  std::uint8_t* row = storage_.Data() + PixelOffset(x, y);
  for (int n = 0; n < height; ++n, row -= static_cast<std::ptrdiff_t>(header.width))
    std::memset(row, static_cast<std::uint8_t>(value), static_cast<std::size_t>(width));
}

void CDib256::Line(int x1, int y1, int x2, int y2, int value) {
  WalkPlainLine(x1, y1, x2, y2, [&](int x, int y) { SetPixel(x, y, value); });
}

void CDib256::SetPaletteEntry(int index, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  if (index < 0 || index > 255) return;
  palette[index].blue = blue;
  palette[index].green = green;
  palette[index].red = red;
}

bool CDib256::LoadFromBmp(const std::string& fileName, MessageSink& messages) {
  if (!InFile::Exists(fileName)) {
    messages.ShowMessage("ファイルがありません。-" + fileName);
    return false;
  }
  InFile file(fileName);
  return LoadFromBmpFile(file, messages);
}

bool CDib256::LoadFromBmpFile(InFile& file, MessageSink& messages) {
  std::optional<BmpLayout> layout = ReadBmpLayout(file, messages);
  if (!layout) return false;
  if (!Alloc(layout->info.width, layout->info.height)) return false;
  if (layout->info.bitCount != 8) return false;
  std::memcpy(palette, layout->palette, sizeof palette);
  // An 8-bit row rounded up to 4 bytes is exactly the plane's rounded width, so the stored rows
  // (bottom-up, padding included) are the plane's bytes as they stand; the layout check has made
  // sure the file holds all of them.
  if (!file.ReadExact(storage_.Data(), storage_.Bytes()))
    throw IoError("I/O error: cannot read " + file.Name());
  return true;
}

bool ReadBlock8Head(InFile& file, Block8Head& head) {
  std::uint8_t bytes[32];
  if (!file.ReadExact(bytes, sizeof bytes)) return false;
  if (ReadLe16(bytes + 0) != 0x5D05 || ReadLe16(bytes + 2) != 200) return false;
  head.width = static_cast<std::int32_t>(ReadLe32(bytes + 8));
  head.height = static_cast<std::int32_t>(ReadLe32(bytes + 12));
  head.compression = ReadLe32(bytes + 20);
  head.length = ReadLe32(bytes + 24);
  return head.length <= file.Remaining();
}

bool CDib256::LoadFromStream(InFile& file) {
  Block8Head head;
  // The length is checked before sizing, so that a short file cannot make the plane allocate.
  if (!ReadBlock8Head(file, head) || !Alloc(head.width, head.height)) return false;

  if (head.compression == 1) {
    std::vector<std::uint8_t> packed(head.length);
    if (!file.ReadExact(packed.data(), packed.size())) return false;
    // The run code counts pixels of the block's own width; it never exceeds the plane.
    const std::size_t pixels =
        static_cast<std::size_t>(head.width) * static_cast<std::size_t>(head.height);
    return DecodeRun8(packed.data(), packed.size(), storage_.Data(), pixels) > 0;
  }
  if (head.length > storage_.Bytes()) return false;
  return file.ReadExact(storage_.Data(), head.length);
}

DibView CDib256::View() const {
  return DibView{storage_.Data(), header.width, header.height, 8, palette};
}

void CDib256::StretchDraw(Surface& surface, int dx, int dy, int dw, int dh, int sx, int sy, int sw,
                          int sh) const {
  if (storage_.Data() == nullptr) return;
  surface.StretchBits(View(), {dx, dy, dw, dh}, {sx, header.height - sh - sy, sw, sh});
}

}  // namespace mirasketch

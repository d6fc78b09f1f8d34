#include "support/bmp_bytes.h"

#include <algorithm>

#include "buffers/dib_format.h"

namespace mirasketch::test {

std::vector<std::uint8_t> MakeBmp(const BmpSpec& spec) {
  int entries = spec.paletteEntries;
  if (entries < 0) entries = spec.bitCount == 8 ? 256 : spec.bitCount == 4 ? 16 : 0;
  const long long rowBytes =
      ((static_cast<long long>(spec.width) * spec.bitCount + 7) / 8 + 3) / 4 * 4;
  const long long rowCount = spec.height < 0 ? -static_cast<long long>(spec.height) : spec.height;
  std::vector<std::uint8_t> rows = spec.rows;
  if (rows.empty() && spec.width > 0 && rowCount > 0) {
    rows.resize(static_cast<std::size_t>(rowBytes * rowCount));
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<std::uint8_t>(i * 7 + 1);
  }
  const bool core = spec.headerBytes == 12;
  const std::size_t entryBytes = core ? 3 : 4;
  const std::size_t masksAfter = spec.headerBytes == 40 ? 4 * spec.masks.size() : 0;
  const std::size_t tableAt = 14 + static_cast<std::size_t>(spec.headerBytes) + masksAfter;
  const std::size_t headBytes =
      tableAt + static_cast<std::size_t>(entries) * entryBytes + spec.gapBytes;
  std::vector<std::uint8_t> out(headBytes + rows.size());
  std::copy(rows.begin(), rows.end(), out.begin() + static_cast<std::ptrdiff_t>(headBytes));
  std::fill(out.begin() + static_cast<std::ptrdiff_t>(headBytes - spec.gapBytes),
            out.begin() + static_cast<std::ptrdiff_t>(headBytes), 0xEE);
  WriteLe16(&out[0], 0x4D42);
  WriteLe32(&out[2], static_cast<std::uint32_t>(out.size()));
  WriteLe32(&out[10], static_cast<std::uint32_t>(headBytes));
  if (core) {
    WriteLe32(&out[14], 12);
    WriteLe16(&out[18], static_cast<std::uint32_t>(spec.width));
    WriteLe16(&out[20], static_cast<std::uint32_t>(spec.height));
    WriteLe16(&out[22], static_cast<std::uint32_t>(spec.planes));
    WriteLe16(&out[24], static_cast<std::uint32_t>(spec.bitCount));
  } else {
    BitmapInfoHeader h;
    h.size = static_cast<std::uint32_t>(spec.headerBytes);
    h.width = spec.width;
    h.height = spec.height;
    h.planes = static_cast<std::uint16_t>(spec.planes);
    h.bitCount = static_cast<std::uint16_t>(spec.bitCount);
    h.compression = spec.compression;
    h.sizeImage = static_cast<std::uint32_t>(rows.size());
    h.clrUsed = spec.clrUsed;
    EncodeInfoHeader(h, &out[14]);
    for (std::size_t i = 0; i < spec.masks.size(); ++i) WriteLe32(&out[54 + 4 * i], spec.masks[i]);
  }
  for (int i = 0; i < entries; ++i) {
    std::uint8_t* e = &out[tableAt + static_cast<std::size_t>(i) * entryBytes];
    e[0] = static_cast<std::uint8_t>(i);
    e[1] = static_cast<std::uint8_t>(255 - i);
    e[2] = static_cast<std::uint8_t>(i / 2);
  }
  return out;
}

std::vector<std::uint8_t> MakeBlock8(int width, int height, int compression,
                                     const std::vector<std::uint8_t>& data, int magic,
                                     int version) {
  std::vector<std::uint8_t> out(32 + data.size());
  std::copy(data.begin(), data.end(), out.begin() + 32);
  WriteLe16(&out[0], static_cast<std::uint32_t>(magic));
  WriteLe16(&out[2], static_cast<std::uint32_t>(version));
  WriteLe32(&out[8], static_cast<std::uint32_t>(width));
  WriteLe32(&out[12], static_cast<std::uint32_t>(height));
  WriteLe32(&out[20], static_cast<std::uint32_t>(compression));
  WriteLe32(&out[24], static_cast<std::uint32_t>(data.size()));
  return out;
}

std::vector<std::uint8_t> MakeSparseKvl(int layers, int width, int height) {
  std::vector<std::uint8_t> out(32);
  WriteLe16(&out[0], 0x5D08);
  WriteLe16(&out[2], 100);
  WriteLe32(&out[8], static_cast<std::uint32_t>(layers));
  WriteLe16(&out[12], 256);
  WriteLe16(&out[14], 256);
  const std::vector<std::uint8_t> pixels = {2, 255, 10, 20, 30, 0};  // 255 pixels, end
  const std::vector<std::uint8_t> mask = MakeBlock8(width, height, 1, {0, 0, 255});
  for (int i = 0; i < layers; ++i) {
    std::vector<std::uint8_t> header(64);
    WriteLe32(&header[0], static_cast<std::uint32_t>(width));
    WriteLe32(&header[4], static_cast<std::uint32_t>(height));
    WriteLe32(&header[8], static_cast<std::uint32_t>(pixels.size()));
    WriteLe32(&header[12], 1);
    out.insert(out.end(), header.begin(), header.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    out.insert(out.end(), mask.begin(), mask.end());
  }
  return out;
}

}  // namespace mirasketch::test

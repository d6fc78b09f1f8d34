#include "support/bmp_bytes.h"

#include <algorithm>

#include "buffers/dib_format.h"

namespace mirasketch::test {

std::vector<std::uint8_t> MakeBmp(const BmpSpec& spec) {
  int entries = spec.paletteEntries;
  if (entries < 0) entries = spec.bitCount == 8 ? 256 : spec.bitCount == 4 ? 16 : 0;
  const long long rowBytes =
      ((static_cast<long long>(spec.width) * spec.bitCount + 7) / 8 + 3) / 4 * 4;
  std::vector<std::uint8_t> rows = spec.rows;
  if (rows.empty() && spec.width > 0 && spec.height > 0) {
    rows.resize(static_cast<std::size_t>(rowBytes * spec.height));
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<std::uint8_t>(i * 7 + 1);
  }
  const std::size_t headBytes = 54 + static_cast<std::size_t>(entries) * 4;
  std::vector<std::uint8_t> out(headBytes + rows.size());
  std::copy(rows.begin(), rows.end(), out.begin() + static_cast<std::ptrdiff_t>(headBytes));
  WriteLe16(&out[0], 0x4D42);
  WriteLe32(&out[2], static_cast<std::uint32_t>(out.size()));
  WriteLe32(&out[10], static_cast<std::uint32_t>(headBytes));
  BitmapInfoHeader h;
  h.width = spec.width;
  h.height = spec.height;
  h.planes = static_cast<std::uint16_t>(spec.planes);
  h.bitCount = static_cast<std::uint16_t>(spec.bitCount);
  h.sizeImage = static_cast<std::uint32_t>(rows.size());
  EncodeInfoHeader(h, &out[14]);
  for (int i = 0; i < entries; ++i) {
    out[54 + i * 4 + 0] = static_cast<std::uint8_t>(i);
    out[54 + i * 4 + 1] = static_cast<std::uint8_t>(255 - i);
    out[54 + i * 4 + 2] = static_cast<std::uint8_t>(i / 2);
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

}  // namespace mirasketch::test

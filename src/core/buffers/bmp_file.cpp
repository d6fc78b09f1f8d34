#include "buffers/bmp_file.h"

#include <vector>

#include "platform/files.h"
#include "platform/message_sink.h"

namespace mirasketch {

void EncodeInfoHeader(const BitmapInfoHeader& h, std::uint8_t out[40]) {
  WriteLe32(out + 0, h.size);
  WriteLe32(out + 4, static_cast<std::uint32_t>(h.width));
  WriteLe32(out + 8, static_cast<std::uint32_t>(h.height));
  WriteLe16(out + 12, h.planes);
  WriteLe16(out + 14, h.bitCount);
  WriteLe32(out + 16, h.compression);
  WriteLe32(out + 20, h.sizeImage);
  WriteLe32(out + 24, static_cast<std::uint32_t>(h.xPelsPerMeter));
  WriteLe32(out + 28, static_cast<std::uint32_t>(h.yPelsPerMeter));
  WriteLe32(out + 32, h.clrUsed);
  WriteLe32(out + 36, h.clrImportant);
}

BitmapInfoHeader DecodeInfoHeader(const std::uint8_t in[40]) {
  BitmapInfoHeader h;
  h.size = ReadLe32(in + 0);
  h.width = static_cast<std::int32_t>(ReadLe32(in + 4));
  h.height = static_cast<std::int32_t>(ReadLe32(in + 8));
  h.planes = ReadLe16(in + 12);
  h.bitCount = ReadLe16(in + 14);
  h.compression = ReadLe32(in + 16);
  h.sizeImage = ReadLe32(in + 20);
  h.xPelsPerMeter = static_cast<std::int32_t>(ReadLe32(in + 24));
  h.yPelsPerMeter = static_cast<std::int32_t>(ReadLe32(in + 28));
  h.clrUsed = ReadLe32(in + 32);
  h.clrImportant = ReadLe32(in + 36);
  return h;
}

std::optional<BmpLayout> ReadBmpLayout(InFile& file, MessageSink& messages) {
  auto notBmp = [&] {
    messages.ShowMessage("This file is not BmpFile. -" + file.Name());
    return std::nullopt;
  };
  std::uint8_t headers[54];
  if (!file.ReadExact(headers, sizeof headers)) return notBmp();
  BmpLayout layout;
  layout.info = DecodeInfoHeader(headers + 14);
  const BitmapInfoHeader& info = layout.info;
  if (info.width <= 0 || info.height <= 0 || info.width > 32000 || info.height > 32000 ||
      info.planes != 1)
    return notBmp();

  std::uint64_t rowBytes = 0;
  switch (info.bitCount) {
    case 8:
      layout.paletteEntries = 256;
      rowBytes = static_cast<std::uint64_t>(info.width);
      break;
    case 4:
      layout.paletteEntries = 16;
      rowBytes = (static_cast<std::uint64_t>(info.width) + 1) / 2;
      break;
    case 24:
      rowBytes = 3 * static_cast<std::uint64_t>(info.width);
      break;
    default:
      messages.ShowMessage("このビットマップには非対応 -" + file.Name());
      return std::nullopt;
  }
  std::uint8_t table[256 * 4];
  const std::size_t tableBytes = static_cast<std::size_t>(layout.paletteEntries) * 4;
  if (!file.ReadExact(table, tableBytes)) return notBmp();
  for (int i = 0; i < layout.paletteEntries; ++i) {
    const std::uint8_t* e = table + i * 4;
    layout.palette[i] = RgbQuad{e[0], e[1], e[2], e[3]};
  }
  layout.rowBytes = (rowBytes + 3) / 4 * 4;
  // At most 96000 × 32000 bytes, so the product cannot overflow 64 bits.
  if (layout.rowBytes * static_cast<std::uint64_t>(info.height) > file.Remaining()) return notBmp();
  return layout;
}

void WriteBmpFile(const std::string& fileName, const BitmapInfoHeader& header,
                  const RgbQuad* palette, int paletteEntries, const std::uint8_t* bits) {
  const std::uint32_t tableBytes = static_cast<std::uint32_t>(paletteEntries) * 4;
  const std::uint32_t dataOffset = 14 + 40 + tableBytes;
  std::uint8_t head[54];
  WriteLe16(head + 0, 0x4D42);
  WriteLe32(head + 2, dataOffset + header.sizeImage);
  WriteLe32(head + 6, 0);
  WriteLe32(head + 10, dataOffset);
  EncodeInfoHeader(header, head + 14);

  SafeFileWriter out(fileName);
  out.Write(head, sizeof head);
  if (tableBytes > 0) {
    std::vector<std::uint8_t> table(tableBytes);
    for (int i = 0; i < paletteEntries; ++i) {
      table[i * 4 + 0] = palette[i].blue;
      table[i * 4 + 1] = palette[i].green;
      table[i * 4 + 2] = palette[i].red;
      table[i * 4 + 3] = palette[i].reserved;
    }
    out.Write(table.data(), table.size());
  }
  out.Write(bits, header.sizeImage);
  out.Commit();
}

}  // namespace mirasketch

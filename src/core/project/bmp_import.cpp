#include "project/bmp_import.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "buffers/dib_format.h"
#include "buffers/dib_true.h"
#include "platform/files.h"
#include "platform/system_memory.h"

namespace mirasketch {
namespace {

// Compression codes of the information header.
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kLargestInfoHeader = 124;

// One channel of a masked 16- or 32-bit pixel: the pixel shifted right by `shift` and cut to
// `mask` (at most 8 bits) indexes `scale`, which stretches that range to 0 … 255. Masks wider
// than 8 bits keep their top 8; an empty mask reads 0.
struct Channel {
  int shift = 0;
  std::uint32_t mask = 0;
  std::uint8_t scale[256]{};
};

Channel MakeChannel(std::uint32_t mask) {
  Channel c;
  if (mask == 0) return c;
  // The mask is taken as the span from its lowest to its highest set bit; holes in a malformed
  // mask only change colours.
  const int low = std::countr_zero(mask);
  const int bits = std::bit_width(mask) - low;
  const int kept = std::min(bits, 8);
  c.shift = low + bits - kept;
  c.mask = (1u << kept) - 1;
  for (std::uint32_t v = 0; v <= c.mask; ++v)
    c.scale[v] = static_cast<std::uint8_t>((v * 255 + c.mask / 2) / c.mask);
  return c;
}

// What the headers say about the pixels, with the file positioned at the first pixel byte.
struct Layout {
  int width = 0;
  int height = 0;  // always positive; `topDown` tells the row order
  bool topDown = false;
  int bitCount = 0;
  std::uint32_t compression = kBiRgb;
  bool masked = false;       // 16- or 32-bit pixels read through `masks`
  std::uint32_t masks[3]{};  // red, green, blue
  RgbQuad palette[256]{};    // entries the file does not give stay black
};

ImportResult ReadLayout(InFile& file, Layout& layout) {
  std::uint8_t head[kFileHeaderBytes + kLargestInfoHeader];
  if (!file.ReadExact(head, kFileHeaderBytes + 4)) return ImportResult::kNotPicture;
  if (head[0] != 'B' || head[1] != 'M') return ImportResult::kNotPicture;
  const std::uint64_t pixelOffset = ReadLe32(head + 10);
  const std::uint32_t infoBytes = ReadLe32(head + 14);
  if (infoBytes != 12 && infoBytes != 40 && infoBytes != 52 && infoBytes != 56 &&
      infoBytes != 108 && infoBytes != 124)
    return ImportResult::kNotPicture;
  std::uint8_t* info = head + kFileHeaderBytes;
  if (!file.ReadExact(info + 4, infoBytes - 4)) return ImportResult::kNotPicture;

  std::int64_t width = 0;
  std::int64_t height = 0;
  int planes = 0;
  std::uint32_t paletteUsed = 0;
  std::size_t entryBytes = 4;
  if (infoBytes == 12) {
    // The OS/2 core header: 16-bit sizes, no compression, 3-byte colour entries.
    width = ReadLe16(info + 4);
    height = ReadLe16(info + 6);
    planes = ReadLe16(info + 8);
    layout.bitCount = ReadLe16(info + 10);
    entryBytes = 3;
  } else {
    const BitmapInfoHeader h = DecodeInfoHeader(info);
    width = h.width;
    height = h.height;
    planes = h.planes;
    layout.bitCount = h.bitCount;
    layout.compression = h.compression;
    paletteUsed = h.clrUsed;
  }
  if (planes != 1 || width <= 0 || height == 0) return ImportResult::kNotPicture;
  layout.topDown = height < 0;
  if (layout.topDown) height = -height;

  const int bits = layout.bitCount;
  switch (layout.compression) {
    case kBiRgb:
      if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return ImportResult::kNotPicture;
      if (bits == 16) {
        layout.masked = true;
        layout.masks[0] = 0x7C00;
        layout.masks[1] = 0x03E0;
        layout.masks[2] = 0x001F;
      }
      break;
    case kBiRle8:
    case kBiRle4:
      // Run-length rows are always stored bottom-up.
      if (bits != (layout.compression == kBiRle8 ? 8 : 4) || layout.topDown)
        return ImportResult::kNotPicture;
      break;
    case kBiBitfields:
    case kBiAlphaBitfields: {
      if (bits != 16 && bits != 32) return ImportResult::kNotPicture;
      layout.masked = true;
      const std::uint8_t* masks = info + 40;
      if (infoBytes == 12) return ImportResult::kNotPicture;
      if (infoBytes == 40) {
        // A plain header is followed by the masks (with an alpha mask for the alpha variant).
        const std::size_t maskBytes = layout.compression == kBiBitfields ? 12 : 16;
        if (!file.ReadExact(info + 40, maskBytes)) return ImportResult::kNotPicture;
      }
      for (int i = 0; i < 3; ++i) layout.masks[i] = ReadLe32(masks + 4 * i);
      break;
    }
    default:
      return ImportResult::kNotPicture;
  }
  if (width > kMaxDibSide || height > kMaxDibSide) return ImportResult::kTooLarge;
  layout.width = static_cast<int>(width);
  layout.height = static_cast<int>(height);

  // The colour table follows the headers and cannot reach into the pixels.
  const std::uint64_t paletteStart = file.Position();
  if (pixelOffset < paletteStart) return ImportResult::kNotPicture;
  if (bits <= 8) {
    std::uint64_t entries = 1u << bits;
    if (paletteUsed != 0) entries = std::min<std::uint64_t>(entries, paletteUsed);
    entries = std::min<std::uint64_t>(entries, (pixelOffset - paletteStart) / entryBytes);
    std::uint8_t table[256 * 4];
    if (!file.ReadExact(table, static_cast<std::size_t>(entries * entryBytes)))
      return ImportResult::kNotPicture;
    const std::uint8_t* e = table;
    for (std::uint64_t i = 0; i < entries; ++i, e += entryBytes)
      layout.palette[i] = RgbQuad{e[0], e[1], e[2], 0};
  }
  if (!file.Skip(pixelOffset - file.Position())) return ImportResult::kNotPicture;
  return ImportResult::kOk;
}

// Bytes of one stored uncompressed row, padded to 4 bytes.
std::uint64_t StoredRowBytes(const Layout& layout) {
  return (static_cast<std::uint64_t>(layout.width) * static_cast<std::uint64_t>(layout.bitCount) +
          31) /
         32 * 4;
}

inline void PutColour(std::uint8_t* dst, const RgbQuad& c) {
  dst[0] = c.blue;
  dst[1] = c.green;
  dst[2] = c.red;
}

void ExpandRow1(const std::uint8_t* src, std::uint8_t* dst, int width, const RgbQuad* palette) {
  for (int x = 0; x < width; x += 8, ++src) {
    unsigned byte = *src;
    const int n = std::min(8, width - x);
    for (int k = 0; k < n; ++k, byte <<= 1, dst += 3) PutColour(dst, palette[(byte >> 7) & 1]);
  }
}

void ExpandRow4(const std::uint8_t* src, std::uint8_t* dst, int width, const RgbQuad* palette) {
  const int pairs = width / 2;
  for (int n = 0; n < pairs; ++n, ++src, dst += 6) {
    PutColour(dst, palette[*src >> 4]);
    PutColour(dst + 3, palette[*src & 15]);
  }
  if (width & 1) PutColour(dst, palette[*src >> 4]);
}

void ExpandRow8(const std::uint8_t* src, std::uint8_t* dst, int width, const RgbQuad* palette) {
  for (const std::uint8_t* end = src + width; src != end; ++src, dst += 3)
    PutColour(dst, palette[*src]);
}

void ExpandRow32(const std::uint8_t* src, std::uint8_t* dst, int width) {
  for (const std::uint8_t* end = src + 4 * static_cast<std::size_t>(width); src != end;
       src += 4, dst += 3) {
    dst[0] = src[0];
    dst[1] = src[1];
    dst[2] = src[2];
  }
}

template <int kBytes>
void ExpandMaskedRow(const std::uint8_t* src, std::uint8_t* dst, int width, const Channel& red,
                     const Channel& green, const Channel& blue) {
  for (const std::uint8_t* end = src + kBytes * static_cast<std::size_t>(width); src != end;
       src += kBytes, dst += 3) {
    std::uint32_t p;
    if constexpr (kBytes == 2)
      p = ReadLe16(src);
    else
      p = ReadLe32(src);
    dst[0] = blue.scale[(p >> blue.shift) & blue.mask];
    dst[1] = green.scale[(p >> green.shift) & green.mask];
    dst[2] = red.scale[(p >> red.shift) & red.mask];
  }
}

ImportResult DecodeRows(InFile& file, const Layout& layout, CDibTrue& target) {
  const std::size_t rowBytes = static_cast<std::size_t>(StoredRowBytes(layout));
  std::vector<std::uint8_t> row(rowBytes);
  const Channel red = MakeChannel(layout.masks[0]);
  const Channel green = MakeChannel(layout.masks[1]);
  const Channel blue = MakeChannel(layout.masks[2]);
  const std::size_t stride = 3 * static_cast<std::size_t>(target.Width());
  const int h = layout.height;
  const int w = layout.width;
  for (int i = 0; i < h; ++i) {
    if (!file.ReadExact(row.data(), rowBytes)) return ImportResult::kNotPicture;
    // Picture row y lies in storage row (buffer height − 1 − y).
    const int y = layout.topDown ? i : h - 1 - i;
    std::uint8_t* dst = target.Bits() + static_cast<std::size_t>(target.Height() - 1 - y) * stride;
    const std::uint8_t* src = row.data();
    switch (layout.bitCount) {
      case 1:
        ExpandRow1(src, dst, w, layout.palette);
        break;
      case 4:
        ExpandRow4(src, dst, w, layout.palette);
        break;
      case 8:
        ExpandRow8(src, dst, w, layout.palette);
        break;
      case 16:
        ExpandMaskedRow<2>(src, dst, w, red, green, blue);
        break;
      case 24:
        std::memcpy(dst, src, 3 * static_cast<std::size_t>(w));
        break;
      default:
        if (layout.masked)
          ExpandMaskedRow<4>(src, dst, w, red, green, blue);
        else
          ExpandRow32(src, dst, w);
        break;
    }
  }
  WhitenOutsidePicture(target, w, h);
  return ImportResult::kOk;
}

// Buffered reading for the run-length codes, so each code can be taken from memory after one
// check that all its bytes are there.
class CodeReader {
 public:
  static constexpr std::size_t kChunk = 1 << 16;

  explicit CodeReader(InFile& file) : file_(file), buffer_(kChunk) {}

  // Makes at least `count` (at most kChunk) unread bytes available at Next(); false when the
  // file ends first.
  bool Ensure(std::size_t count) {
    if (end_ - next_ >= count) return true;
    const std::size_t kept = end_ - next_;
    std::memmove(buffer_.data(), buffer_.data() + next_, kept);
    next_ = 0;
    end_ = kept;
    while (end_ < count) {
      const std::size_t got = file_.Read(buffer_.data() + end_, kChunk - end_);
      if (got == 0) return false;
      end_ += got;
    }
    return true;
  }
  const std::uint8_t* Next() const { return buffer_.data() + next_; }
  void Consume(std::size_t count) { next_ += count; }

 private:
  InFile& file_;
  std::vector<std::uint8_t> buffer_;
  std::size_t next_ = 0;
  std::size_t end_ = 0;
};

// Expands 8- or 4-bit run-length codes over a white picture. Writing stops at the end-of-picture
// code or once the rows are used up (anything after that is ignored); runs and deltas past the
// end of a row are cut there. Data that ends before either is a file cut short.
ImportResult DecodeRunCodes(InFile& file, const Layout& layout, CDibTrue& target) {
  std::memset(
      target.Bits(), 0xFF,
      3 * static_cast<std::size_t>(target.Width()) * static_cast<std::size_t>(target.Height()));
  const bool nibbles = layout.compression == kBiRle4;
  const RgbQuad* palette = layout.palette;
  const int w = layout.width;
  const std::int64_t h = layout.height;
  const std::size_t stride = 3 * static_cast<std::size_t>(target.Width());
  // File rows count from the picture's bottom row, which is storage row (buffer height − h).
  std::uint8_t* const bottom =
      target.Bits() + static_cast<std::size_t>(target.Height() - layout.height) * stride;
  CodeReader in(file);
  std::int64_t row = 0;
  int x = 0;
  while (row < h) {
    if (!in.Ensure(2)) return ImportResult::kNotPicture;
    const int count = in.Next()[0];
    const int value = in.Next()[1];
    in.Consume(2);
    std::uint8_t* dst = bottom + static_cast<std::size_t>(row) * stride + 3 * x;
    if (count > 0) {
      // A run of `count` pixels: one index, or two alternating nibbles starting with the high.
      const int n = std::min(count, w - x);
      const RgbQuad& first = palette[nibbles ? value >> 4 : value];
      const RgbQuad& second = palette[nibbles ? value & 15 : value];
      int k = 0;
      for (; k + 1 < n; k += 2, dst += 6) {
        PutColour(dst, first);
        PutColour(dst + 3, second);
      }
      if (k < n) PutColour(dst, first);
      x += n;
    } else if (value == 0) {  // end of row
      x = 0;
      ++row;
    } else if (value == 1) {  // end of picture
      break;
    } else if (value == 2) {  // move right and up
      if (!in.Ensure(2)) return ImportResult::kNotPicture;
      x = std::min(x + in.Next()[0], w);
      row += in.Next()[1];
      in.Consume(2);
    } else {
      // `value` literal pixels, one byte or one nibble each, padded to an even byte count.
      const std::size_t bytes = nibbles ? (value + 1) / 2 : value;
      const std::size_t padded = (bytes + 1) & ~std::size_t{1};
      if (!in.Ensure(padded)) return ImportResult::kNotPicture;
      const int n = std::min(value, w - x);
      const std::uint8_t* src = in.Next();
      if (nibbles)
        ExpandRow4(src, dst, n, palette);
      else
        ExpandRow8(src, dst, n, palette);
      x += n;
      in.Consume(padded);
    }
  }
  return ImportResult::kOk;
}

}  // namespace

bool AllocPictureBuffer(CDibTrue& target, int width, int height) {
  return target.Alloc(std::max(width, kMinDibSide), std::max(height, kMinDibSide));
}

std::uint64_t PictureBufferGrowth(const CDibTrue& target, int width, int height) {
  return target.GrowthFor(std::max(width, kMinDibSide), std::max(height, kMinDibSide));
}

void WhitenOutsidePicture(CDibTrue& target, int width, int height) {
  const int bufferW = target.Width();
  const int bufferH = target.Height();
  if (target.Bits() == nullptr || bufferW == 0) return;
  width = std::clamp(width, 0, bufferW);
  height = std::clamp(height, 0, bufferH);
  const std::size_t stride = 3 * static_cast<std::size_t>(bufferW);
  const std::size_t tail = 3 * static_cast<std::size_t>(bufferW - width);
  // Storage rows run bottom-up: the rows below the picture come first.
  std::uint8_t* p = target.Bits();
  const int below = bufferH - height;
  std::memset(p, 0xFF, stride * static_cast<std::size_t>(below));
  p += stride * static_cast<std::size_t>(below) + 3 * static_cast<std::size_t>(width);
  if (tail == 0) return;
  for (int y = 0; y < height; ++y, p += stride) std::memset(p, 0xFF, tail);
}

ImportResult DecodeBmp(InFile& file, CDibTrue& target, int& width, int& height,
                       std::int64_t availableMemory) {
  Layout layout;
  const ImportResult read = ReadLayout(file, layout);
  if (read != ImportResult::kOk) return read;
  const bool runCodes = layout.compression == kBiRle8 || layout.compression == kBiRle4;
  // Uncompressed rows must all be in the file before the buffer is sized for them; run codes
  // have no fixed length and are checked as they are read.
  if (!runCodes &&
      StoredRowBytes(layout) * static_cast<std::uint64_t>(layout.height) > file.Remaining())
    return ImportResult::kNotPicture;
  if (!MemoryFits(availableMemory, PictureBufferGrowth(target, layout.width, layout.height)) ||
      !AllocPictureBuffer(target, layout.width, layout.height))
    return ImportResult::kTooLarge;
  const ImportResult decoded =
      runCodes ? DecodeRunCodes(file, layout, target) : DecodeRows(file, layout, target);
  if (decoded != ImportResult::kOk) return decoded;
  width = layout.width;
  height = layout.height;
  return ImportResult::kOk;
}

}  // namespace mirasketch

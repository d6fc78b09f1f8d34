#include "project/kvl_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "buffers/dib_format.h"
#include "buffers/dib_tm.h"
#include "buffers/rle.h"
#include "platform/files.h"
#include "platform/message_sink.h"
#include "project/layer_project.h"

namespace mirasketch {
namespace {

constexpr std::size_t kFileHeaderBytes = 32;
constexpr std::size_t kLayerHeaderBytes = 64;

bool FitsInt16(long long v) {
  return v >= std::numeric_limits<std::int16_t>::min() &&
         v <= std::numeric_limits<std::int16_t>::max();
}

std::int32_t ReadSigned16(const std::uint8_t* p) {
  return static_cast<std::int16_t>(ReadLe16(p));
}
std::int32_t ReadSigned32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(ReadLe32(p));
}

// An offset only matters while the layer meets the canvas: any offset at or beyond the canvas's
// far edge, or at or before minus the layer's size, leaves it wholly outside. Such offsets are
// stored as the nearest value with the same effect, which always fits the 16-bit field.
std::int32_t StorableOffset(std::int32_t offset, int layerSize, int canvasSize) {
  return static_cast<std::int32_t>(std::clamp<long long>(offset, -layerSize, canvasSize));
}

std::string CheckStorable(const LayerProject& project, const std::string& fileName) {
  if (project.CanvasWidth() < kMinDibSide || project.CanvasHeight() < kMinDibSide)
    return "キャンバスが空なので保存できません。-" + fileName;
  for (int i = 0; i < project.layerCount; ++i) {
    const CDibTM& layer = project.Layer(i);
    if (layer.Width() < kMinDibSide || layer.Height() < kMinDibSide)
      return "空のレイヤーがあるので保存できません。-" + fileName;
    if (!FitsInt16(layer.composeMode) || !FitsInt16(layer.threshold))
      return "レイヤー" + std::to_string(i) +
             "の合成モードか閾値が保存できる範囲(-32768～32767)を超えています。-" + fileName;
  }
  return {};
}

void EncodeLayerHeader(const LayerProject& project, const CDibTM& layer, std::uint8_t* h) {
  std::fill(h, h + kLayerHeaderBytes, 0);
  WriteLe32(h + 0, static_cast<std::uint32_t>(layer.Width()));
  WriteLe32(h + 4, static_cast<std::uint32_t>(layer.Height()));
  WriteLe32(h + 8, static_cast<std::uint32_t>(layer.Width() * layer.Height()));
  WriteLe32(h + 12, layer.visible ? 1 : 0);
  WriteLe16(h + 16, static_cast<std::uint32_t>(layer.composeMode));
  WriteLe16(h + 18, static_cast<std::uint32_t>(layer.threshold));
  WriteLe16(h + 20, static_cast<std::uint32_t>(
                        StorableOffset(layer.offsetX, layer.Width(), project.CanvasWidth())));
  WriteLe16(h + 22, static_cast<std::uint32_t>(
                        StorableOffset(layer.offsetY, layer.Height(), project.CanvasHeight())));
}

// Reads one layer record into a fresh layer; false when the record is malformed or cut short.
class LayerRecordReader {
 public:
  LayerRecordReader(InFile& file, int format, MessageSink& messages)
      : file_(file), format_(format), messages_(messages) {}

  std::unique_ptr<CDibTM> Read() {
    std::uint8_t h[kLayerHeaderBytes];
    if (!file_.ReadExact(h, sizeof h)) return nullptr;
    const std::int32_t width = ReadSigned32(h + 0);
    const std::int32_t height = ReadSigned32(h + 4);
    if (!DibSizeAllowed(width, height)) return nullptr;
    auto layer = std::make_unique<CDibTM>();
    layer->visible = ReadLe32(h + 12) != 0;
    layer->composeMode = ReadSigned16(h + 16);
    layer->threshold = ReadSigned16(h + 18);
    layer->offsetX = ReadSigned16(h + 20);
    layer->offsetY = ReadSigned16(h + 22);
    const bool ok = format_ == kKvlFormat ? ReadPlain(*layer, width, height)
                                          : ReadPacked(*layer, width, height, ReadSigned32(h + 8));
    return ok ? std::move(layer) : nullptr;
  }

 private:
  bool Size(CDibTM& layer, int width, int height, bool withMask) {
    if (layer.Alloc(width, height) && (!withMask || layer.mask.Alloc(width, height))) return true;
    messages_.ShowMessage("ClsDibTrue- Bits Alloc Error");
    return false;
  }

  // Format 110: the picture and mask storage exactly as held in memory.
  bool ReadPlain(CDibTM& layer, int width, int height) {
    // Rows carry no padding only for widths that are a multiple of 4.
    if (width % 4 != 0) return false;
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * height;
    if (pixels * 4 > file_.Remaining()) return false;
    if (!Size(layer, width, height, true)) return false;
    return file_.ReadExact(layer.Bits(), pixels * 3) && file_.ReadExact(layer.mask.Bits(), pixels);
  }

  // Format 100: packed pixels, then the mask as an 8-bit block of its own.
  bool ReadPacked(CDibTM& layer, int width, int height, std::int32_t packedBytes) {
    if (packedBytes < 0 || static_cast<std::uint64_t>(packedBytes) > file_.Remaining())
      return false;
    std::vector<std::uint8_t> packed(static_cast<std::size_t>(packedBytes));
    if (!file_.ReadExact(packed.data(), packed.size())) return false;
    if (!Size(layer, width, height, false)) return false;
    const std::size_t storage = static_cast<std::size_t>(layer.Width()) * layer.Height() * 3;
    // Data without its end mark leaves the picture as sized; data that would run past the layer
    // means the file is damaged.
    if (DecodeRun24(packed.data(), packed.size(), layer.Bits(), storage) == Run24Result::kOverflow)
      return false;
    return layer.mask.LoadFromStream(file_) && layer.mask.Width() == layer.Width() &&
           layer.mask.Height() == layer.Height();
  }

  InFile& file_;
  int format_;
  MessageSink& messages_;
};

}  // namespace

bool WriteProjectFile(const LayerProject& project, const std::string& fileName) {
  MessageSink& messages = project.Messages();
  if (std::string refusal = CheckStorable(project, fileName); !refusal.empty()) {
    messages.ShowMessage(refusal);
    return false;
  }
  std::uint8_t header[kFileHeaderBytes] = {};
  WriteLe16(header + 0, kKvlMagic);
  WriteLe16(header + 2, kKvlFormat);
  WriteLe32(header + 8, static_cast<std::uint32_t>(project.layerCount));
  WriteLe16(header + 12, static_cast<std::uint32_t>(project.CanvasWidth()));
  WriteLe16(header + 14, static_cast<std::uint32_t>(project.CanvasHeight()));

  SafeFileWriter out(fileName);
  out.Write(header, sizeof header);
  std::vector<std::uint8_t> blankMask;
  for (int i = 0; i < project.layerCount; ++i) {
    const CDibTM& layer = project.Layer(i);
    std::uint8_t layerHeader[kLayerHeaderBytes];
    EncodeLayerHeader(project, layer, layerHeader);
    out.Write(layerHeader, sizeof layerHeader);
    const std::size_t pixels = static_cast<std::size_t>(layer.Width()) * layer.Height();
    out.Write(layer.Bits(), pixels * 3);
    if (layer.mask.Width() == layer.Width() && layer.mask.Height() == layer.Height()) {
      out.Write(layer.mask.Bits(), pixels);
    } else {
      // A mask that lost its layer's size (a refused resize) is stored clear rather than read
      // past its end.
      blankMask.assign(pixels, 0);
      out.Write(blankMask.data(), pixels);
    }
  }
  out.Commit();
  return true;
}

bool ReadProjectFile(LayerProject& project, const std::string& fileName) {
  InFile file(fileName);
  return ReadProjectFrom(project, file);
}

bool ReadProjectFrom(LayerProject& project, InFile& file) {
  MessageSink& messages = project.Messages();
  const std::string& fileName = file.Name();
  auto damaged = [&] {
    messages.ShowMessage("kvlファイルが壊れているので読めません。-" + fileName);
    return false;
  };
  std::uint8_t header[kFileHeaderBytes];
  if (!file.ReadExact(header, sizeof header)) return damaged();
  const int format = ReadLe16(header + 2);
  if (ReadLe16(header + 0) != kKvlMagic || (format != kKvlFormat && format != kKvlPackedFormat)) {
    messages.ShowMessage(fileName + " is not kvl File");
    return false;
  }
  const std::int32_t count = ReadSigned32(header + 8);
  const std::int32_t canvasWidth = ReadSigned16(header + 12);
  const std::int32_t canvasHeight = ReadSigned16(header + 14);
  if (count < 1 || count > MAX_LAYERS || !DibSizeAllowed(RoundDibWidth(canvasWidth), canvasHeight))
    return damaged();

  std::array<std::unique_ptr<CDibTM>, MAX_LAYERS> fresh;
  LayerRecordReader reader(file, format, messages);
  for (int i = 0; i < count; ++i) {
    fresh[static_cast<std::size_t>(i)] = reader.Read();
    if (!fresh[static_cast<std::size_t>(i)]) return damaged();
  }
  project.AdoptLayers(fresh, count, canvasWidth, canvasHeight);
  project.AfterNewProject();
  return true;
}

}  // namespace mirasketch

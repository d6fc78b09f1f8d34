#include "project/kvl_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "buffers/dib256.h"
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

}  // namespace

std::string ProjectStorageRefusal(const LayerProject& project, const std::string& fileName) {
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

namespace {

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

// Reads the layer records of a file: first stepping over all of them to learn the memory the
// project needs, then, from the same place, each into a fresh layer.
class LayerRecordReader {
 public:
  LayerRecordReader(InFile& file, int format, MessageSink& messages)
      : file_(file), format_(format), messages_(messages) {}

  // Steps over one record, checking its lengths against the file as reading would, and adds the
  // bytes its layer takes to `layerBytes`; false when the record is malformed or cut short.
  bool Measure(std::uint64_t& layerBytes) {
    Head head;
    if (!ReadHead(head)) return false;
    if (format_ == kKvlFormat) {
      if (!PlainFits(head) || !file_.Skip(PixelCount(head) * 4)) return false;
    } else {
      Block8Head mask;
      if (head.packedBytes < 0 || !file_.Skip(static_cast<std::uint64_t>(head.packedBytes)) ||
          !ReadBlock8Head(file_, mask) || !file_.Skip(mask.length))
        return false;
      // A mask of another size would be sized by its own head and then refused; it is refused
      // here, before it costs memory.
      if (RoundDibWidth(mask.width) != RoundDibWidth(head.width) || mask.height != head.height)
        return false;
    }
    layerBytes += DibBytes(head.width, head.height, 24) + DibBytes(head.width, head.height, 8);
    return true;
  }

  // Reads one record into a fresh layer; null when the record is malformed or cut short.
  std::unique_ptr<CDibTM> Read() {
    Head head;
    if (!ReadHead(head)) return nullptr;
    auto layer = std::make_unique<CDibTM>();
    layer->visible = head.visible;
    layer->composeMode = head.composeMode;
    layer->threshold = head.threshold;
    layer->offsetX = head.offsetX;
    layer->offsetY = head.offsetY;
    const bool ok = format_ == kKvlFormat ? ReadPlain(*layer, head) : ReadPacked(*layer, head);
    return ok ? std::move(layer) : nullptr;
  }

 private:
  // The 64-byte layer header.
  struct Head {
    std::int32_t width, height;
    std::int32_t packedBytes;  // format 100 only
    bool visible;
    std::int32_t composeMode, threshold, offsetX, offsetY;
  };

  // False when the file is short or the size is outside the buffer limits.
  bool ReadHead(Head& head) {
    std::uint8_t h[kLayerHeaderBytes];
    if (!file_.ReadExact(h, sizeof h)) return false;
    head.width = ReadSigned32(h + 0);
    head.height = ReadSigned32(h + 4);
    head.packedBytes = ReadSigned32(h + 8);
    head.visible = ReadLe32(h + 12) != 0;
    head.composeMode = ReadSigned16(h + 16);
    head.threshold = ReadSigned16(h + 18);
    head.offsetX = ReadSigned16(h + 20);
    head.offsetY = ReadSigned16(h + 22);
    return DibSizeAllowed(head.width, head.height);
  }

  static std::uint64_t PixelCount(const Head& head) {
    return static_cast<std::uint64_t>(head.width) * static_cast<std::uint64_t>(head.height);
  }

  // Format-110 rows carry no padding only for widths that are a multiple of 4, and the record
  // must be in the file whole.
  bool PlainFits(const Head& head) const {
    return head.width % 4 == 0 && PixelCount(head) * 4 <= file_.Remaining();
  }

  bool Size(CDibTM& layer, int width, int height, bool withMask) {
    if (layer.Alloc(width, height) && (!withMask || layer.mask.Alloc(width, height))) return true;
    messages_.ShowMessage(kBitsAllocError);
    return false;
  }

  // Format 110: the picture and mask storage exactly as held in memory.
  bool ReadPlain(CDibTM& layer, const Head& head) {
    if (!PlainFits(head) || !Size(layer, head.width, head.height, true)) return false;
    const std::uint64_t pixels = PixelCount(head);
    return file_.ReadExact(layer.Bits(), pixels * 3) && file_.ReadExact(layer.mask.Bits(), pixels);
  }

  // Format 100: packed pixels, then the mask as an 8-bit block of its own.
  bool ReadPacked(CDibTM& layer, const Head& head) {
    if (head.packedBytes < 0 || static_cast<std::uint64_t>(head.packedBytes) > file_.Remaining())
      return false;
    std::vector<std::uint8_t> packed(static_cast<std::size_t>(head.packedBytes));
    if (!file_.ReadExact(packed.data(), packed.size())) return false;
    if (!Size(layer, head.width, head.height, false)) return false;
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

void WriteProjectRecords(const LayerProject& project, SafeFileWriter& out) {
  std::uint8_t header[kFileHeaderBytes] = {};
  WriteLe16(header + 0, kKvlMagic);
  WriteLe16(header + 2, kKvlFormat);
  WriteLe32(header + 8, static_cast<std::uint32_t>(project.layerCount));
  WriteLe16(header + 12, static_cast<std::uint32_t>(project.CanvasWidth()));
  WriteLe16(header + 14, static_cast<std::uint32_t>(project.CanvasHeight()));
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
}

bool WriteProjectFile(const LayerProject& project, const std::string& fileName) {
  if (std::string refusal = ProjectStorageRefusal(project, fileName); !refusal.empty()) {
    project.Messages().ShowMessage(refusal);
    return false;
  }
  SafeFileWriter out(fileName);
  WriteProjectRecords(project, out);
  out.Commit();
  return true;
}

bool ReadProjectFile(LayerProject& project, const std::string& fileName) {
  InFile file(fileName);
  return ReadProjectFrom(project, file);
}

namespace {

// The file header: its format and layer count and the canvas size, when the file is a layer
// project at all (kNotProject) and the values are usable (kDamaged otherwise).
struct FileHead {
  enum Status { kOk, kNotProject, kDamaged } status = kDamaged;
  int format = 0;
  std::int32_t count = 0, canvasWidth = 0, canvasHeight = 0;
};

FileHead ReadFileHead(InFile& file) {
  FileHead head;
  std::uint8_t header[kFileHeaderBytes];
  if (!file.ReadExact(header, sizeof header)) return head;
  head.format = ReadLe16(header + 2);
  if (ReadLe16(header + 0) != kKvlMagic ||
      (head.format != kKvlFormat && head.format != kKvlPackedFormat)) {
    head.status = FileHead::kNotProject;
    return head;
  }
  head.count = ReadSigned32(header + 8);
  head.canvasWidth = ReadSigned16(header + 12);
  head.canvasHeight = ReadSigned16(header + 14);
  if (head.count >= 1 && head.count <= MAX_LAYERS &&
      DibSizeAllowed(RoundDibWidth(head.canvasWidth), head.canvasHeight))
    head.status = FileHead::kOk;
  return head;
}

}  // namespace

bool SkipProjectRecords(InFile& file) {
  const FileHead head = ReadFileHead(file);
  if (head.status != FileHead::kOk) return false;
  SilentMessages unused;
  LayerRecordReader reader(file, head.format, unused);
  std::uint64_t layerBytes = 0;
  for (int i = 0; i < head.count; ++i)
    if (!reader.Measure(layerBytes)) return false;
  return true;
}

bool ReadProjectFrom(LayerProject& project, InFile& file) {
  MessageSink& messages = project.Messages();
  const std::string& fileName = file.Name();
  auto damaged = [&] {
    messages.ShowMessage("kvlファイルが壊れているので読めません。-" + fileName);
    return false;
  };
  const FileHead head = ReadFileHead(file);
  if (head.status == FileHead::kNotProject) {
    messages.ShowMessage(fileName + " is not kvl File");
    return false;
  }
  if (head.status == FileHead::kDamaged) return damaged();
  const int format = head.format;
  const std::int32_t count = head.count;
  const std::int32_t canvasWidth = head.canvasWidth;
  const std::int32_t canvasHeight = head.canvasHeight;

  // The whole project is measured before the first layer is sized: a file of a few kilobytes
  // may declare thirty layers of 30000 × 30000, far more than the system has, and reading it
  // layer by layer would grow until the system ended the program. The fresh layers come on top
  // of the open project, which stays until the file has been read.
  LayerRecordReader reader(file, format, messages);
  const std::uint64_t records = file.Position();
  std::uint64_t layerBytes = 0;
  for (int i = 0; i < count; ++i)
    if (!reader.Measure(layerBytes)) return damaged();
  if (!project.FitsInMemory(layerBytes + project.CanvasGrowth(canvasWidth, canvasHeight)))
    return false;
  file.Seek(records);

  std::array<std::unique_ptr<CDibTM>, MAX_LAYERS> fresh;
  for (int i = 0; i < count; ++i) {
    fresh[static_cast<std::size_t>(i)] = reader.Read();
    if (!fresh[static_cast<std::size_t>(i)]) return damaged();
  }
  project.AdoptLayers(fresh, count, canvasWidth, canvasHeight);
  project.AfterNewProject();
  return true;
}

}  // namespace mirasketch

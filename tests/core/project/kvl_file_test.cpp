#include "project/kvl_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <tuple>

#include "buffers/dib_format.h"
#include "platform/io_error.h"
#include "platform/system_memory.h"
#include "project/compose_mode.h"
#include "support/bmp_bytes.h"
#include "support/studio_fixture.h"
#include "support/temp_dir.h"

namespace mirasketch {
namespace {

using Bytes = std::vector<std::uint8_t>;

class KvlFileTest : public test::StudioTest {
 protected:
  // Paints the layers of the current project with patterns that tell every pixel apart.
  void Paint() {
    for (int i = 0; i < project.layerCount; ++i) {
      CDibTM& layer = project.Layer(i);
      for (int y = 0; y < layer.Height(); ++y)
        for (int x = 0; x < layer.Width(); ++x) {
          layer.SetPixel(x, y, MakeColour(x + i, y, x ^ y));
          layer.mask.SetPixel(x, y, (x * 3 + y + i) & 0xFF);
        }
    }
  }
  // Everything a project file holds, with the layer bytes, for comparing two projects.
  struct Snapshot {
    int canvasW, canvasH, count;
    std::vector<std::tuple<int, int, bool, int, int, int, int, Bytes, Bytes>> layers;
    bool operator==(const Snapshot&) const = default;
  };
  Snapshot Take() {
    Snapshot s{project.CanvasWidth(), project.CanvasHeight(), project.layerCount, {}};
    for (int i = 0; i < project.layerCount; ++i) {
      const CDibTM& l = project.Layer(i);
      const std::size_t n = static_cast<std::size_t>(l.Width()) * l.Height();
      s.layers.emplace_back(l.Width(), l.Height(), l.visible, l.composeMode, l.threshold, l.offsetX,
                            l.offsetY, Bytes(l.Bits(), l.Bits() + 3 * n),
                            Bytes(l.mask.Bits(), l.mask.Bits() + n));
    }
    return s;
  }

  test::TempDir dir;
  std::string path = dir.File("p.kvl");
};

TEST_F(KvlFileTest, OneLayerProjectFileAndExactRoundTrip) {
  CDibTM& layer = project.Layer(0);
  Paint();
  layer.visible = false;
  layer.composeMode = cmMaskAbove;
  layer.threshold = 200;
  layer.offsetX = -20;
  layer.offsetY = -20;
  ASSERT_TRUE(WriteProjectFile(project, path));
  const Bytes file = test::ReadAll(path);
  ASSERT_EQ(file.size(), 262240u);
  EXPECT_EQ(ReadLe16(&file[0]), 0x5D08);
  EXPECT_EQ(ReadLe16(&file[2]), 110);
  EXPECT_EQ(ReadLe32(&file[8]), 1u);
  EXPECT_EQ(ReadLe16(&file[12]), 256);
  EXPECT_EQ(ReadLe16(&file[14]), 256);
  EXPECT_EQ(ReadLe32(&file[32 + 8]), 65536u);
  EXPECT_EQ(ReadLe32(&file[32 + 12]), 0u);
  EXPECT_EQ(ReadLe16(&file[32 + 16]), 3);
  EXPECT_EQ(ReadLe16(&file[32 + 20]), 0xFFEC);  // −20
  EXPECT_TRUE(std::equal(layer.Bits(), layer.Bits() + 3 * 65536, file.begin() + 96));
  EXPECT_TRUE(std::equal(layer.mask.Bits(), layer.mask.Bits() + 65536, file.begin() + 96 + 196608));
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"p.kvl"});

  const Snapshot written = Take();
  project.NewProject(1, 64, 64);
  project.AfterNewProject();
  ASSERT_TRUE(ReadProjectFile(project, path));
  EXPECT_EQ(Take(), written);
  EXPECT_EQ(project.Layer(0).offsetX, -20);
  EXPECT_TRUE(messages.empty());
}

TEST_F(KvlFileTest, ManyLayersReadBackWithLayerZeroActiveAndSpares) {
  project.NewProject(1, 40, 24);
  ASSERT_TRUE(project.InsertLayer(1, true, 8, 12));
  ASSERT_TRUE(project.InsertLayer(2, true, 100, 4));
  project.Layer(2).offsetX = 30;
  project.Layer(1).composeMode = cmBrightBelow;
  project.Layer(1).threshold = 700;
  project.AfterNewProject();
  Paint();
  ASSERT_TRUE(WriteProjectFile(project, path));
  const Snapshot written = Take();

  project.NewProject(1, 8, 8);
  ASSERT_TRUE(project.InsertLayer(1, true, 8, 8));
  for (int i = 2; i < 6; ++i) ASSERT_TRUE(project.InsertLayer(i, true, 16, 16));
  project.SetActiveLayer(4);
  ASSERT_TRUE(ReadProjectFile(project, path));
  EXPECT_EQ(Take(), written);
  EXPECT_EQ(project.activeLayer, 0);
  for (int i = 3; i <= 30; ++i) EXPECT_EQ(project.Layer(i).Width(), 4) << i;
  EXPECT_EQ(studio.frmM.caption, "(New Layer Project)");
  EXPECT_EQ(studio.toolEngine.workPlane.Width(), 40);
}

TEST_F(KvlFileTest, OffsetsThatCannotMatterAreStoredWithinSixteenBits) {
  project.NewProject(1, 64, 32);
  ASSERT_TRUE(project.InsertLayer(1, true, 16, 8));
  ASSERT_TRUE(project.InsertLayer(2, true, 16, 8));
  project.Layer(1).offsetX = 40000;   // far right of the canvas
  project.Layer(1).offsetY = -32769;  // far above it
  project.Layer(2).offsetX = 63;      // still meets the canvas: kept exactly
  project.Layer(2).offsetY = -7;
  ASSERT_TRUE(WriteProjectFile(project, path));
  ASSERT_TRUE(ReadProjectFile(project, path));
  EXPECT_EQ(project.Layer(1).offsetX, 64);
  EXPECT_EQ(project.Layer(1).offsetY, -8);
  EXPECT_EQ(project.Layer(2).offsetX, 63);
  EXPECT_EQ(project.Layer(2).offsetY, -7);
}

TEST_F(KvlFileTest, ValuesTheFormatCannotHoldRefuseTheSave) {
  test::WriteAll(path, {1, 2, 3});
  project.Layer(0).threshold = 40000;
  EXPECT_FALSE(WriteProjectFile(project, path));
  project.Layer(0).threshold = 128;
  project.Layer(0).composeMode = -40000;
  EXPECT_FALSE(WriteProjectFile(project, path));
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_NE(messages[0].find(path), std::string::npos);
  EXPECT_EQ(test::ReadAll(path), (Bytes{1, 2, 3}));
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"p.kvl"});
}

TEST_F(KvlFileTest, AFailedWriteLeavesTheOldFile) {
  EXPECT_THROW(WriteProjectFile(project, dir.File("missing/p.kvl")), IoError);
  const std::string taken = dir.File("taken.kvl");
  ASSERT_EQ(mkdir(taken.c_str(), 0755), 0);
  EXPECT_THROW(WriteProjectFile(project, taken), IoError);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"taken.kvl"});
}

class KvlRefusalTest : public KvlFileTest {
 protected:
  void SetUp() override {
    project.NewProject(1, 32, 16);
    ASSERT_TRUE(project.InsertLayer(1, true, 16, 8));
    project.AfterNewProject();
    Paint();
    ASSERT_TRUE(WriteProjectFile(project, path));
    good = test::ReadAll(path);
    project.projectFileName = "/home/a/current.kvl";
    studio.frmM.caption = "/home/a/current.kvl";
    project.SetActiveLayer(1);
    before = Take();
  }
  // Reads `bytes` as a project file: refused with `message`, the project exactly as it was.
  void ExpectRefused(const Bytes& bytes, const std::string& message, const char* what) {
    test::WriteAll(path, bytes);
    messages.clear();
    EXPECT_FALSE(ReadProjectFile(project, path)) << what;
    EXPECT_EQ(messages, std::vector<std::string>{message}) << what;
    EXPECT_TRUE(Take() == before) << what;
    EXPECT_EQ(project.activeLayer, 1) << what;
    EXPECT_EQ(project.projectFileName, "/home/a/current.kvl") << what;
    EXPECT_EQ(studio.frmM.caption, "/home/a/current.kvl") << what;
  }
  std::string Damaged() const { return "kvlファイルが壊れているので読めません。-" + path; }
  Bytes good;
  Snapshot before;
};

TEST_F(KvlRefusalTest, NotALayerProject) {
  Bytes bytes = good;
  bytes[0] = 0x09;
  ExpectRefused(bytes, path + " is not kvl File", "magic");
  bytes = good;
  WriteLe16(&bytes[2], 111);
  ExpectRefused(bytes, path + " is not kvl File", "format 111");
  WriteLe16(&bytes[2], 110 + 65536 * 0);
  bytes[3] = 1;  // 366: the format is compared as 16 bits
  ExpectRefused(bytes, path + " is not kvl File", "format 366");
}

TEST_F(KvlRefusalTest, DamagedFiles) {
  ExpectRefused(Bytes(good.begin(), good.begin() + 20), Damaged(), "short header");
  ExpectRefused(Bytes(good.begin(), good.end() - 1), Damaged(), "short last mask");
  ExpectRefused(Bytes(good.begin(), good.begin() + 32 + 64 + 100), Damaged(), "short pixels");
  for (std::uint32_t count : {0u, 31u, 0xFFFFFFFFu, 3u}) {
    Bytes bytes = good;
    WriteLe32(&bytes[8], count);
    ExpectRefused(bytes, Damaged(), "layer count");
  }
  const std::size_t layer0 = 32;
  const std::size_t layer1 = 32 + 64 + 32 * 16 * 4;
  struct Patch {
    std::size_t at;
    std::uint32_t value;
    bool wide;
    const char* what;
  };
  for (const Patch& p :
       {Patch{12, 0, false, "canvas width"}, Patch{14, 0x8000, false, "canvas height"},
        Patch{layer0, 36, true, "layer width too large for the bytes"},
        Patch{layer0, 30, true, "layer width not a multiple of 4"},
        Patch{layer0 + 4, 0xFFFFFFF0u, true, "negative layer height"},
        Patch{layer1 + 4, 30001, true, "layer height beyond the limit"},
        Patch{layer1, 0, true, "empty layer"}}) {
    Bytes bytes = good;
    if (p.wide)
      WriteLe32(&bytes[p.at], p.value);
    else
      WriteLe16(&bytes[p.at], p.value);
    ExpectRefused(bytes, Damaged(), p.what);
  }
}

// Builds a format-100 file: each layer's header, its packed pixels and its mask block.
struct PackedLayer {
  int width, height;
  Bytes packed;
  Bytes maskBlock;
  int offsetX = 0;
};

Bytes PackedFile(int canvasW, int canvasH, const std::vector<PackedLayer>& layers) {
  Bytes out(32);
  WriteLe16(&out[0], 0x5D08);
  WriteLe16(&out[2], 100);
  WriteLe32(&out[8], static_cast<std::uint32_t>(layers.size()));
  WriteLe16(&out[12], static_cast<std::uint32_t>(canvasW));
  WriteLe16(&out[14], static_cast<std::uint32_t>(canvasH));
  for (const PackedLayer& l : layers) {
    Bytes h(64);
    WriteLe32(&h[0], static_cast<std::uint32_t>(l.width));
    WriteLe32(&h[4], static_cast<std::uint32_t>(l.height));
    WriteLe32(&h[8], static_cast<std::uint32_t>(l.packed.size()));
    WriteLe32(&h[12], 1);
    WriteLe16(&h[20], static_cast<std::uint32_t>(l.offsetX));
    out.insert(out.end(), h.begin(), h.end());
    out.insert(out.end(), l.packed.begin(), l.packed.end());
    out.insert(out.end(), l.maskBlock.begin(), l.maskBlock.end());
  }
  return out;
}

TEST_F(KvlFileTest, PackedFormatWithRunLengthPixelsAndMask) {
  // 4 × 4 = 16 pixels: 2 given, 12 of one colour, 2 of another; then the 0 tag.
  const Bytes packed = {1, 2, 1, 2, 3, 4, 5, 6, 2, 12, 9, 8, 7, 3, 30, 20, 10, 0};
  const Bytes mask = test::MakeBlock8(4, 4, 1, {5, 5, 14});  // sixteen 5s
  // The second layer's data lacks its 0 tag: its picture stays as sized, its mask is still read.
  const Bytes unterminated = {2, 16, 50, 60, 70};
  const Bytes mask2 = test::MakeBlock8(4, 4, 0, Bytes(16, 200));
  test::WriteAll(path, PackedFile(8, 4, {{4, 4, packed, mask, -3}, {4, 4, unterminated, mask2}}));
  ASSERT_TRUE(ReadProjectFile(project, path));
  EXPECT_TRUE(messages.empty());
  ASSERT_EQ(project.layerCount, 2);
  EXPECT_EQ(project.CanvasWidth(), 8);
  const CDibTM& first = project.Layer(0);
  EXPECT_EQ(first.offsetX, -3);
  // Storage order is bottom-up: the first pixels fill the bottom row.
  EXPECT_EQ(first.GetPixel(0, 3), MakeColour(3, 2, 1));
  EXPECT_EQ(first.GetPixel(1, 3), MakeColour(6, 5, 4));
  EXPECT_EQ(first.GetPixel(2, 3), MakeColour(7, 8, 9));
  EXPECT_EQ(first.GetPixel(1, 0), MakeColour(7, 8, 9));
  EXPECT_EQ(first.GetPixel(2, 0), MakeColour(10, 20, 30));
  EXPECT_EQ(first.GetPixel(3, 0), MakeColour(10, 20, 30));
  EXPECT_EQ(first.mask.GetPixel(2, 2), 5);
  const CDibTM& second = project.Layer(1);
  EXPECT_EQ(second.GetPixel(0, 0), 0);  // as the sizing left it: a fresh picture is black
  EXPECT_EQ(second.mask.GetPixel(3, 3), 200);
}

TEST_F(KvlFileTest, PackedFormatRefusesDataThatDoesNotFitItsLayer) {
  project.Layer(0).SetPixel(0, 0, 0x0A0B0C);
  const auto refused = [&](const Bytes& file, const char* what) {
    test::WriteAll(path, file);
    messages.clear();
    EXPECT_FALSE(ReadProjectFile(project, path)) << what;
    EXPECT_EQ(messages.size(), 1u) << what;
    EXPECT_EQ(project.CanvasWidth(), 256) << what;
    EXPECT_EQ(project.Layer(0).GetPixel(0, 0), 0x0A0B0C) << what;
  };
  const Bytes mask = test::MakeBlock8(4, 4, 0, Bytes(16, 1));
  refused(PackedFile(4, 4, {{4, 4, {2, 17, 1, 1, 1, 0}, mask}}), "pixels past the layer");
  refused(PackedFile(4, 4, {{4, 4, {0}, test::MakeBlock8(8, 4, 0, Bytes(32, 1))}}),
          "mask of another size");
  refused(PackedFile(4, 4, {{4, 4, {0}, test::MakeBlock8(4, 4, 1, {1, 1, 200})}}),
          "mask runs past its plane");
  Bytes longPacked = PackedFile(4, 4, {{4, 4, {0}, mask}});
  WriteLe32(&longPacked[32 + 8], 1000);
  refused(longPacked, "packed length beyond the file");
}

TEST_F(KvlRefusalTest, ProjectsBeyondTheAvailableMemoryAreRefusedBeforeAnyLayerIsSized) {
  // Over the open 32 × 16 canvas a 64 × 16 one grows the composed picture by 32 × 16 × 3 bytes
  // and the work plane by 32 × 16; the fresh 8 × 4 layer takes 8 × 4 × (3 + 1).
  const Bytes file = PackedFile(64, 16, {{8, 4, {0}, test::MakeBlock8(8, 4, 0, Bytes(32, 9))}});
  platform.availableMemory = 32 * 16 * 4 + 8 * 4 * 4 - 1;
  ExpectRefused(file, "ClsDibTrue- Bits Alloc Error", "one byte short");
  platform.availableMemory += 1;
  ASSERT_TRUE(ReadProjectFile(project, path));
  EXPECT_EQ(project.CanvasWidth(), 64);
  EXPECT_EQ(project.Layer(0).mask.GetPixel(7, 3), 9);
}

// A figure of /proc/self/status in bytes.
long long StatusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string name;
  long long kilobytes = 0;
  while (status >> name)
    if (name == field && status >> kilobytes) return kilobytes * 1024;
  return 0;
}

TEST_F(KvlRefusalTest, ThirtyHugeLayersInAFewKilobytesAreRefusedWithoutGrowing) {
  const Bytes file = test::MakeSparseKvl(MAX_LAYERS, 30000, 30000);
  // The real rule with the memory this machine really has.
  platform.availableMemory = SystemAvailableMemory();
  if (static_cast<std::uint64_t>(platform.availableMemory) >= 30ULL * 30000 * 30000 * 4)
    GTEST_SKIP() << "this machine has room for the 108 GB the file declares";
  // Restart the peak resident size, so the peak after the read is the read's own.
  if (std::FILE* clear = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", clear);
    std::fclose(clear);
  }
  const long long resident = StatusBytes("VmRSS:");
  ExpectRefused(file, "ClsDibTrue- Bits Alloc Error", "thirty 30000 × 30000 layers");
  EXPECT_LT(StatusBytes("VmHWM:") - resident, 200LL << 20);
}

}  // namespace
}  // namespace mirasketch

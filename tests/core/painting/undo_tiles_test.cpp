// The undo ring keeps only the tiles something wrote into; these tests hold it against a ring of
// whole-layer copies driven through the same operations, pixel for pixel.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "painting/canvas_window.h"
#include "painting/tool_settings.h"
#include "project/size_ops.h"
#include "support/paint_fixture.h"

namespace mirasketch {
namespace {

// A layer's pixels, rows from the top, with its size.
struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> bytes;
  bool operator==(const Picture&) const = default;
};

Picture Take(const CDibTM& layer) {
  Picture p{layer.Width(), layer.Height(), {}};
  for (int y = 0; y < layer.Height(); ++y) {
    const std::uint8_t* row = layer.Bits() + layer.PixelOffset(0, y);
    p.bytes.insert(p.bytes.end(), row, row + layer.Width() * 3);
  }
  return p;
}

// Copies the part both share of `from` (top-left aligned) into `to`, or exchanges it.
void Blit(Picture& to, const Picture& from) {
  const int w = std::min(to.width, from.width), h = std::min(to.height, from.height);
  for (int y = 0; y < h; ++y)
    std::copy_n(from.bytes.begin() + static_cast<std::ptrdiff_t>(y) * from.width * 3, w * 3,
                to.bytes.begin() + static_cast<std::ptrdiff_t>(y) * to.width * 3);
}

// The ring as whole copies of the layer: slots as large as the largest layer they held. A slot is
// live while it holds a state of the history; redo states that a change discarded are not, and
// the tiled ring keeps no copy of them (a snapshot that comes to such a slot reads the layer).
struct WholeCopyRing {
  int levels = 1, index = 0, count = 0, redo = 0;
  std::vector<Picture> slots;
  std::vector<bool> live;
  Picture redoState;

  void Restart(int n, const Picture& layer) {
    levels = std::clamp(n, 1, 15);
    slots.assign(static_cast<std::size_t>(levels), {});
    for (Picture& s : slots) s = {layer.width, layer.height, layer.bytes};
    live.assign(static_cast<std::size_t>(levels), false);
    live[0] = true;
    index = count = redo = 0;
  }
  Picture& Slot() { return slots[static_cast<std::size_t>(index)]; }
  void EndRedo() {
    for (int k = 1; k <= std::min(redo, levels - 1); ++k)
      live[static_cast<std::size_t>((index + k) % levels)] = false;
    redo = 0;
  }
  void Push(const Picture& layer) {
    EndRedo();
    index = (index + 1) % levels;
    Blit(Slot(), layer);
    live[static_cast<std::size_t>(index)] = true;
    count = std::min(count + 1, levels);
  }
  void Exchange(Picture& layer) {
    Picture old = layer;
    Blit(layer, Slot());
    Blit(Slot(), old);
  }
  void Undo(Picture& layer) {
    if (count <= 0) return;
    --count;
    if (redo > 0 && !(layer == redoState)) EndRedo();
    Exchange(layer);
    ++redo;
    redoState = layer;
    index = (index + levels - 1) % levels;
  }
  void Redo(Picture& layer) {
    if (redo <= 0) return;
    if (!(layer == redoState)) {
      EndRedo();
      return;
    }
    index = (index + 1) % levels;
    Exchange(layer);
    ++count;
    --redo;
    if (redo > 0) redoState = layer;
  }
  void Press(const Picture& layer) {
    if (redo < levels) return;
    if (layer == redoState) Blit(Slot(), layer);
    EndRedo();
  }
  bool Live() const { return live[static_cast<std::size_t>(index)]; }
  void Restore(Picture& layer, int x, int y, int w, int h) {
    const Picture& s = Slot();
    for (int yy = std::max(y, 0); yy < std::min({y + h, layer.height, s.height}); ++yy)
      for (int xx = std::max(x, 0); xx < std::min({x + w, layer.width, s.width}); ++xx)
        std::copy_n(s.bytes.begin() + (static_cast<std::ptrdiff_t>(yy) * s.width + xx) * 3, 3,
                    layer.bytes.begin() + (static_cast<std::ptrdiff_t>(yy) * layer.width + xx) * 3);
  }
  int Pixel(int x, int y) {
    const Picture& s = Slot();
    const std::uint8_t* p = s.bytes.data() + (static_cast<std::ptrdiff_t>(y) * s.width + x) * 3;
    return MakeColour(p[2], p[1], p[0]);
  }
};

class UndoTilesTest : public test::PaintTest {
 protected:
  TfrmM& canvas = studio.frmM;
  std::mt19937 random{7};
  WholeCopyRing ring;
  Picture model;  // what the layer must hold

  int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); }
  void Restart(int levels) {
    canvas.SetUndoLevels(levels);
    model = Take(Layer());
    ring.Restart(levels, model);
  }
  // A rectangle written as tools write: saved first, then filled; most cross tile edges, some
  // reach past the layer's last partial tiles.
  void Write() {
    const int w = Uniform(1, 40), h = Uniform(1, 40);
    const int x = Uniform(-20, model.width), y = Uniform(-20, model.height);
    const int colour = Uniform(0, 0xFFFFFF);
    ASSERT_TRUE(canvas.SaveBeforeWrite(x, y, w, h));
    Layer().FillRect(x, y, w, h, colour);
    model = Take(Layer());
  }
  // One step of a random session, checked against the whole-copy ring.
  void Step() {
    const int op = Uniform(0, 9);
    if (op <= 2) {
      canvas.PushUndo();
      ring.Push(model);
      for (int k = Uniform(1, 4); k > 0; --k) Write();
    } else if (op == 3) {
      Write();  // a change without a snapshot, as the undo brush makes
    } else if (op <= 5) {
      canvas.Undo();
      ring.Undo(model);
    } else if (op == 6) {
      canvas.Redo();
      ring.Redo(model);
    } else if (op == 7 && ring.Live()) {
      const int x = Uniform(-30, model.width), y = Uniform(-30, model.height);
      const int w = Uniform(1, 120), h = Uniform(1, 120);
      canvas.RestoreSnapshotRect(x, y, w, h);
      ring.Restore(model, x, y, w, h);
    } else if (op == 8 && ring.Live()) {
      canvas.RestoreSnapshot();
      ring.Restore(model, 0, 0, model.width, model.height);
    } else if (op == 9) {
      // A press that draws nothing (the right button picks a colour) ends a redo filling the
      // ring.
      canvas.pbxAMouseDown(MouseButton::kRight, 5, 5);
      canvas.pbxAMouseUp(MouseButton::kRight, 5, 5);
      ring.Press(model);
    }
    ASSERT_EQ(Take(Layer()), model);
    ASSERT_EQ(canvas.undoCount, ring.count);
    ASSERT_EQ(canvas.undoIndex, ring.index);
    for (int k = 0; k < 8 && ring.Live(); ++k) {
      const int x = Uniform(0, model.width - 1), y = Uniform(0, model.height - 1);
      int count = Uniform(1, 100);
      const std::uint8_t* run = canvas.SnapshotRun(x, y, count);
      ASSERT_NE(run, nullptr);
      ASSERT_LE(count, model.width - x);
      for (int i = 0; i < count; ++i)
        ASSERT_EQ(MakeColour(run[i * 3 + 2], run[i * 3 + 1], run[i * 3]), ring.Pixel(x + i, y))
            << x + i << "," << y;
    }
  }
};

TEST_F(UndoTilesTest, RandomSessionsMatchWholeLayerCopies) {
  // 16-pixel tiles on layers whose last tiles are partial, with an offset, at several ring sizes.
  canvas.SetUndoTileShift(4);
  for (const int levels : {1, 2, 3, 15}) {
    SCOPED_TRACE(levels);
    ASSERT_TRUE(project.InsertLayer(1, true, 100 + 4 * levels, 90 + levels));
    project.Layer(1).offsetX = 13;
    project.Layer(1).offsetY = -7;
    project.ChangeActiveLayer(1);
    Restart(levels);
    for (int i = 0; i < 400; ++i) ASSERT_NO_FATAL_FAILURE(Step());
    // A change of active layer restarts both, even in the middle of a redo.
    project.ChangeActiveLayer(0);
    project.ChangeActiveLayer(1);
    Restart(levels);
    for (int i = 0; i < 200; ++i) ASSERT_NO_FATAL_FAILURE(Step());
    ASSERT_TRUE(project.DeleteLayer(1, true));
    project.ChangeActiveLayer(0);
  }
}

TEST_F(UndoTilesTest, ACanvasCutSmallerKeepsTheHistoryOfWhatIsLeft) {
  canvas.SetUndoTileShift(4);
  Restart(4);
  for (int i = 0; i < 100; ++i) ASSERT_NO_FATAL_FAILURE(Step());
  // The layer is cut to a size inside its last tiles; the history goes on over what is left.
  ASSERT_TRUE(ResizeCanvas(project, 250, 201));
  const Picture cut = Take(Layer());
  ASSERT_EQ(cut.width, 252);  // widths are whole multiples of 4: two new columns
  for (int y = 0; y < 201; ++y)
    ASSERT_TRUE(std::equal(cut.bytes.begin() + y * 252 * 3, cut.bytes.begin() + y * 252 * 3 + 750,
                           model.bytes.begin() + y * 256 * 3));
  model = cut;
  for (int i = 0; i < 300; ++i) ASSERT_NO_FATAL_FAILURE(Step());
}

TEST_F(UndoTilesTest, EveryToolsStrokeIsUndonePixelForPixel) {
  // A layer of random pixels and 16-pixel tiles, so each stroke crosses many tile edges; with the
  // mask switch on, the masked drawing paths too.
  canvas.SetUndoTileShift(4);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) Layer().SetPixel(x, y, Uniform(0, 0xFFFFFF));
  test::SetStamp(Tools().brushImage, 8, [](int, int) { return 0; });  // the blur's first stamp
  for (const bool masked : {false, true}) {
    Settings().maskEnabled = masked;
    for (const int tool : {tkPen, tkErase, tkPenLine, tkSelect, tkBox, tkCircle, tkLine, tkOresen,
                           tkBrush, tkAirBrush, tkAverageBrush, tkBrushBig, tkPenki}) {
      SCOPED_TRACE(tool);
      studio.frmC.SelectTool(tool);
      canvas.SetUndoLevels(2);
      const Picture before = Take(Layer());
      Drag({{30, 40}, {70, 45}, {120, 90}, {200, 150}, {250, 250}});
      // The selection's piece is dragged elsewhere.
      if (tool == tkSelect) Drag({{50, 60}, {90, 100}, {100, 130}});
      ASSERT_NE(Take(Layer()), before);
      canvas.Undo();
      ASSERT_EQ(Take(Layer()), before);
    }
  }
}

TEST_F(UndoTilesTest, UndoMemoryFollowsTheAreaDrawn) {
  ASSERT_TRUE(project.NewProject(1, 4000, 4000));
  project.AfterNewProject();
  canvas.SetUndoLevels(2);
  Drag({{100, 100}, {120, 100}});
  // A short pen stroke saves the tiles it touched, not the 48 MB layer.
  EXPECT_GT(canvas.UndoBytes(), 0U);
  EXPECT_LE(canvas.UndoBytes(), 4U * 64 * 64 * 3);
  canvas.Undo();
  EXPECT_EQ(Painted(0, 0, 300, 300), 0);
}

TEST_F(UndoTilesTest, AStrokeThatRunsOutOfMemoryStopsAndCanBeUndone) {
  const Picture before = Take(Layer());
  // Memory for three tiles: the pen's press saves one, the drag right crosses into more.
  platform.availableMemory = 3 * 64 * 64 * 3;
  canvas.pbxAMouseDown(MouseButton::kLeft, 10, 10);
  for (int x = 12; x < 250; x += 2) canvas.pbxAMouseMove(x, 10);
  EXPECT_FALSE(Tools().strokeActive);  // stopped
  canvas.pbxAMouseUp(MouseButton::kLeft, 250, 10);
  EXPECT_EQ(messages, std::vector<std::string>{"ClsDibTrue- Bits Alloc Error"});
  // What was drawn stays, up to the tiles that could be saved, and nothing beyond them.
  EXPECT_GT(Painted(0, 0, 64 * 3, 20), 0);
  EXPECT_EQ(Painted(64 * 3, 0, 64, 20), 0);
  canvas.Undo();
  EXPECT_EQ(Take(Layer()), before);
  // With memory again the next stroke is whole.
  platform.availableMemory = std::int64_t{1} << 40;
  Drag({{10, 30}, {250, 30}});
  EXPECT_GT(Painted(240, 20, 16, 20), 0);
  EXPECT_EQ(messages.size(), 1U);
}

}  // namespace
}  // namespace mirasketch

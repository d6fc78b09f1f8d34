#include "project/layer_window.h"

#include <gtest/gtest.h>

#include "buffers/dib_surface.h"
#include "painting/tool_settings.h"
#include "project/size_ops.h"
#include "support/studio_fixture.h"

namespace mirasketch::test {
namespace {

constexpr int kCtrl = 4;
constexpr int kShift = 1;

// A three-layer 256 × 256 project; layer i holds colour i + 1 at (0, 0), so its object can be
// told wherever it moves in the stack.
class LayerWindowTest : public StudioTest {
 protected:
  LayerWindowTest() {
    studio.StartUp();
    for (int i = 1; i < 3; ++i) project.InsertLayer(i, true, 256, 256);
    for (int i = 0; i < 3; ++i) project.Layer(i).SetPixel(0, 0, i + 1);
    layers.FormResize(150, TfrmL::kStripTop + 100);  // two cells a row
    messages.clear();
  }
  // The colour marks of the stack, bottom first.
  std::vector<int> Order() {
    std::vector<int> order;
    for (int i = 0; i < project.layerCount; ++i) order.push_back(project.Layer(i).GetPixel(0, 0));
    return order;
  }
  void RunAction(int item) {
    layers.Change("cboDoLayerAction", item);
    layers.Click("btnDoLayerAction");
  }

  TfrmL& layers = studio.frmL;
};

TEST_F(LayerWindowTest, CellsAreHitByRowAndColumnAndNothingOutsideThem) {
  EXPECT_EQ(layers.CellAt(80, 50), 3);
  EXPECT_EQ(layers.CellAt(0, 0), 0);
  EXPECT_EQ(layers.CellAt(143, 47), 1);
  EXPECT_EQ(layers.CellAt(144, 10), -1);  // the grey rest of the row
  EXPECT_EQ(layers.CellAt(-1, 10), -1);
  layers.FormResize(60, 200);  // narrower than a cell
  EXPECT_EQ(layers.CellAt(10, 10), -1);
}

TEST_F(LayerWindowTest, PressesToggleVisibilityOrActivateAndTheRightButtonChangesNothing) {
  const int painted = views.painted;
  layers.MouseDown("pbxA", 1, 72 + 5, 5, 0);  // the diamond of cell 1
  EXPECT_FALSE(project.Layer(1).visible);
  EXPECT_GT(views.painted, painted);  // the canvas is told to show its new picture
  EXPECT_EQ(project.activeLayer, 0);
  layers.MouseDown("pbxA", 1, 72 + 14, 5, 0);  // beside it
  EXPECT_EQ(project.activeLayer, 1);
  EXPECT_EQ(layers.controls.State("grpActiveLay").caption, "Layer No.1");
  layers.MouseDown("pbxA", 2, 5, 5, 0);  // right button on a diamond
  layers.MouseDown("pbxA", 2, 20, 20, kCtrl);
  EXPECT_TRUE(project.Layer(0).visible);
  EXPECT_EQ(project.activeLayer, 1);
  EXPECT_EQ(layers.dragMode, 0);
  // Presses on empty cells and outside the columns are harmless.
  layers.MouseDown("pbxA", 1, 100, 60, kShift);  // cell 3, no layer
  layers.MouseDown("pbxA", 1, 149, 5, 0);
  EXPECT_EQ(Order(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(project.activeLayer, 1);
}

TEST_F(LayerWindowTest, CtrlDragsExchangeAndShiftDragsMoveLayers) {
  // Ctrl-drag of cell 0 onto cell 2: layers 0 and 2 change places; 2 becomes active.
  EXPECT_TRUE(layers.pbxAMouseDown(1, 20, 20, kCtrl));
  EXPECT_TRUE(layers.AcceptsDrop("pbxA", "TfrmL", "pbxA"));
  EXPECT_FALSE(layers.AcceptsDrop("pbxA", "TfrmCol", "pbxCol"));
  EXPECT_TRUE(layers.Drop("pbxA", "TfrmL", "pbxA", 20, 60));
  EXPECT_EQ(Order(), (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(project.activeLayer, 2);
  EXPECT_EQ(&studio.frmM.DrawTarget(), &project.Layer(2));
  EXPECT_FALSE(layers.AcceptsDrop("pbxA", "TfrmL", "pbxA"));  // the drag is over
  // Shift-drag of cell 0 onto cell 2: the order is former 1, former 2, former 0.
  layers.pbxAMouseDown(1, 20, 20, kShift);
  layers.Drop("pbxA", "TfrmL", "pbxA", 20, 60);
  EXPECT_EQ(Order(), (std::vector<int>{2, 1, 3}));
  EXPECT_EQ(project.activeLayer, 2);
  // Drops on their own cell, on empty cells and outside the cells change nothing.
  for (auto [x, y] : {std::pair{20, 20}, std::pair{100, 60}, std::pair{149, 5}}) {
    layers.pbxAMouseDown(1, 20, 20, kCtrl);
    layers.Drop("pbxA", "TfrmL", "pbxA", x, y);
  }
  EXPECT_EQ(Order(), (std::vector<int>{2, 1, 3}));
  EXPECT_EQ(project.activeLayer, 2);
}

TEST_F(LayerWindowTest, ThresholdsAreClampedByTheComposeMode) {
  struct Case {
    int mode;
    const char* typed;
    int stored;
  };
  for (const Case& c : {Case{2, "300", 255}, Case{4, "300", 300}, Case{2, "-5", 0},
                        Case{5, "1000", 765}, Case{0, "abc", 0}, Case{3, "99999999999", 255}}) {
    layers.Change("cboGeneLay", c.mode);
    EXPECT_EQ(project.Active().composeMode, c.mode);
    platform.inputs = {std::string(c.typed)};
    layers.Click("btnThreshold");
    EXPECT_EQ(project.Active().threshold, c.stored) << c.mode << " " << c.typed;
  }
  // Cancelling keeps the value; the box's title and prompt follow the mode.
  layers.Change("cboGeneLay", 4);
  platform.inputs = {std::nullopt};
  layers.Click("btnThreshold");
  EXPECT_EQ(project.Active().threshold, 255);
  EXPECT_EQ(platform.inputRequests.back(),
            (std::vector<std::string>{"色明度閾値", "有効な範囲 0～765", "255"}));
  layers.Change("cboGeneLay", 1);
  layers.Click("btnThreshold");
  EXPECT_EQ(platform.inputRequests.back()[0], "現在の設定では必要ありません");
}

TEST_F(LayerWindowTest, ActionsStopAtTheLayerLimitsAndResumeTheTool) {
  RunAction(1);  // new layer above the active one
  EXPECT_EQ(project.layerCount, 4);
  EXPECT_EQ(project.activeLayer, 1);
  while (project.layerCount < MAX_LAYERS) RunAction(1);
  RunAction(1);
  EXPECT_EQ(project.layerCount, MAX_LAYERS);
  // The tool is active again after every action, done or not.
  EXPECT_FALSE(studio.toolEngine.wideRefresh);
  while (project.layerCount > 1) RunAction(2);
  RunAction(2);
  EXPECT_EQ(project.layerCount, 1);
  EXPECT_EQ(project.activeLayer, 0);
  EXPECT_FALSE(studio.toolEngine.wideRefresh);
  RunAction(0);  // a heading
  RunAction(6);
  EXPECT_EQ(project.layerCount, 1);
}

TEST_F(LayerWindowTest, NewLayersFromTheCompositionAndTheMask) {
  project.Layer(2).composeMode = 1;  // mask blend: the middle layer shows through where masked
  project.Layer(2).mask.FillRect(0, 0, 8, 8, 255);
  project.Layer(1).SetPixel(5, 5, 0x123456);
  project.SetActiveLayer(2);
  layers.RefreshLayerWindow();
  RunAction(3);
  EXPECT_EQ(project.layerCount, 4);
  EXPECT_EQ(project.activeLayer, 3);
  EXPECT_EQ(project.Layer(3).GetPixel(5, 5), 0x123456);  // the composed picture, as shown
  EXPECT_EQ(project.Layer(3).GetPixel(100, 100), 0xFFFFFF);
  // The masked part of layer 2 becomes a layer of its own.
  project.SetActiveLayer(2);
  project.Layer(2).SetPixel(3, 3, 0x00AA00);
  project.Layer(2).SetPixel(20, 20, 0x0000BB);
  RunAction(4);
  EXPECT_EQ(project.activeLayer, 3);
  EXPECT_EQ(project.Layer(3).GetPixel(3, 3), 0x00AA00);
  EXPECT_EQ(project.Layer(3).GetPixel(20, 20), 0xFFFFFF);
}

TEST_F(LayerWindowTest, TheStripShowsActiveVisibleAndEmptyCells) {
  project.Layer(1).visible = false;
  project.Layer(2).FillRect(0, 0, 256, 256, 0x0000FF);
  layers.RefreshLayerWindow();
  const CDibTrue& strip = layers.PaintLayerList().image;
  EXPECT_EQ(strip.GetPixel(3, 30), 0xFFFF00);             // cell 0 is active: cyan strip
  EXPECT_EQ(strip.GetPixel(40, 0), 0x00FF00);             // and green frame
  EXPECT_EQ(strip.GetPixel(72 + 3, 30), 0x808080);        // cell 1 is not
  EXPECT_EQ(strip.GetPixel(5, 5), 0xFF0000);              // visible: blue diamond
  EXPECT_EQ(strip.GetPixel(72 + 5, 5), 0x000000);         // hidden: black
  EXPECT_EQ(strip.GetPixel(5, 0), 0xFFFFFF);              // the white outline's top corner
  EXPECT_EQ(strip.GetPixel(8 + 32, 48 + 24), 0x0000FF);   // layer 2's thumbnail, 48 × 48
  EXPECT_EQ(strip.GetPixel(8 + 4, 48 + 24), 0xC0C0C0);    // left of it
  EXPECT_EQ(strip.GetPixel(72 + 40, 48 + 24), 0xC0C0C0);  // cell 3: no layer
  EXPECT_EQ(strip.GetPixel(146, 10), 0xC0C0C0);           // beyond the last column
}

TEST_F(LayerWindowTest, CanvasAndLayerSizes) {
  // Shrinking the canvas cuts the layers that are too large, keeping their top-left pixels; a
  // small layer elsewhere stays as it is.
  ASSERT_TRUE(project.InsertLayer(3, true, 64, 64));
  project.Layer(3).offsetX = 200;
  project.Layer(3).offsetY = 200;
  project.Layer(0).SetPixel(99, 99, 0x010203);
  views.sizeEntries = {{"100", "100"}};
  studio.frmMain.Click("mnuDibSizeChange");
  EXPECT_EQ(views.sizeDialogShown.back(), (std::pair<std::string, std::string>{"256", "256"}));
  EXPECT_EQ(project.CanvasWidth(), 100);
  EXPECT_EQ(project.Layer(0).Width(), 100);
  EXPECT_EQ(project.Layer(0).GetPixel(99, 99), 0x010203);
  EXPECT_EQ(project.Layer(0).GetPixel(0, 0), 1);
  EXPECT_EQ(project.Layer(3).Width(), 64);
  EXPECT_EQ(project.Layer(3).offsetX, 200);
  EXPECT_EQ(studio.frmM.paintBoxWidth, 100);

  // Growing a layer gives white, mask-0 pixels; beyond the canvas is refused.
  ASSERT_TRUE(mirasketch::ResizeLayer(project, 3, 100, 64));
  EXPECT_EQ(project.Layer(3).GetPixel(80, 10), 0xFFFFFF);
  EXPECT_EQ(project.Layer(3).mask.GetPixel(80, 10), 0);
  EXPECT_EQ(project.Layer(3).offsetX, 200);
  EXPECT_FALSE(mirasketch::ResizeLayer(project, 3, 101, 64));
  EXPECT_EQ(messages, std::vector<std::string>{"カンバスより大きくすることはできません。"});
  EXPECT_EQ(project.Layer(3).Width(), 100);

  // Memory that is not there: the canvas and the layer stay as they were.
  messages.clear();
  platform.availableMemory = 1000;
  views.sizeEntries = {{"2000", "2000"}};
  studio.frmMain.Click("mnuDibSizeChange");
  EXPECT_EQ(project.CanvasWidth(), 100);
  EXPECT_EQ(project.Layer(0).GetPixel(99, 99), 0x010203);
  EXPECT_FALSE(mirasketch::ResizeLayer(project, 0, 100, 40));
  EXPECT_EQ(project.Layer(0).Height(), 100);
  EXPECT_EQ(messages, std::vector<std::string>(2, "ClsDibTrue- Bits Alloc Error"));
}

TEST_F(LayerWindowTest, CroppingToTheSelection) {
  CanvasViewState& view = studio.frmM.view;
  project.Layer(0).SetPixel(10, 20, 0x0A0B0C);
  project.Layer(0).mask.SetPixel(49, 59, 77);
  project.Layer(0).offsetX = 3;
  RunAction(8);  // no selection shown: nothing
  EXPECT_EQ(project.Layer(0).Width(), 256);
  view.selectionVisible = true;
  view.selectionRect = {10, 20, 49, 59};
  RunAction(8);
  const CDibTM& layer = project.Layer(0);
  EXPECT_EQ(layer.Width(), 40);
  EXPECT_EQ(layer.Height(), 40);
  EXPECT_EQ(layer.GetPixel(0, 0), 0x0A0B0C);
  EXPECT_EQ(layer.mask.GetPixel(39, 39), 77);
  EXPECT_EQ(layer.offsetX, 13);
  EXPECT_EQ(layer.offsetY, 20);
  view.selectionRect = {10, 0, 40, 5};  // past the right edge now
  RunAction(8);
  EXPECT_EQ(messages, std::vector<std::string>{"はみだしています。"});
  EXPECT_EQ(layer.Width(), 40);
}

TEST_F(LayerWindowTest, TheLayerMoveToolMovesTheLayerOnRelease) {
  TfrmM& canvas = studio.frmM;
  RunAction(9);
  EXPECT_EQ(studio.toolEngine.settings.currentTool, tkLayerMove);
  EXPECT_FALSE(project.composeEnabled);
  project.Layer(0).offsetX = 4;
  canvas.pbxAMouseDown(MouseButton::kLeft, 50, 50);
  canvas.pbxAMouseMove(60, 40);
  canvas.pbxAMouseMove(65, 45);
  // Dragging shows the outline at the place the layer would take; the layer stays.
  EXPECT_EQ(project.Layer(0).offsetX, 4);
  EXPECT_EQ(project.compositeDib.GetPixel(4 + 15, -5 + 100), 0x402040);
  canvas.pbxAMouseUp(MouseButton::kLeft, 65, 45);
  EXPECT_EQ(project.Layer(0).offsetX, 4 + 15);
  EXPECT_EQ(project.Layer(0).offsetY, -5);
  // A press and moves without a release leave the offsets as they are.
  canvas.pbxAMouseDown(MouseButton::kLeft, 10, 10);
  canvas.pbxAMouseMove(90, 90);
  EXPECT_EQ(project.Layer(0).offsetX, 19);
  EXPECT_EQ(project.Layer(0).offsetY, -5);
  // Leaving the tool composes again.
  studio.frmC.Click("spbPen");
  EXPECT_TRUE(project.composeEnabled);
}

}  // namespace
}  // namespace mirasketch::test

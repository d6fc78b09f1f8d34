#include "shell/colour_window.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "support/paint_fixture.h"
#include "support/temp_dir.h"

namespace mirasketch::test {
namespace {

class ColourWindowTest : public PaintTest {
 protected:
  TfrmCol& colour = studio.frmCol;
  // Counts the tool refreshes through the canvas repaints they ask for.
  int Refreshes() { return views.painted; }
  ColourWindowTest() {
    studio.frmM.visible = true;
    studio.frmM.redrawSuspended = false;
  }
};

TEST_F(ColourWindowTest, SlidersPublishTheColourAndRefreshOnce) {
  const int before = Refreshes();
  colour.SetDrawColour(MakeColour(153, 102, 51));
  EXPECT_EQ(colour.controls.Position("sbColRed"), 153);
  EXPECT_EQ(colour.controls.Position("sbColGreen"), 102);
  EXPECT_EQ(colour.controls.Position("sbColBlue"), 51);
  EXPECT_EQ(colour.controls.State("lblCol").caption, "R153 G102 B51");
  EXPECT_EQ(Settings().drawColor, static_cast<std::uint32_t>(MakeColour(153, 102, 51)));
  EXPECT_EQ(Refreshes(), before + 1);
  // A colour with the top bit set is ignored.
  colour.SetDrawColour(-1);
  EXPECT_EQ(colour.controls.Position("sbColRed"), 153);
  EXPECT_EQ(Refreshes(), before + 1);
  colour.Change("sbColRed", 255);
  EXPECT_EQ(Settings().drawColor, static_cast<std::uint32_t>(MakeColour(255, 102, 51)));
  EXPECT_EQ(colour.pbxColPaint().image.GetPixel(3, 3), MakeColour(255, 102, 51));
  // The colour dialog: OK sets, cancel leaves.
  platform.colours = {0x0000FF, std::nullopt};
  colour.Click("btnMakeColor");
  EXPECT_EQ(Settings().drawColor, 0x0000FFu);
  colour.Click("btnMakeColor");
  EXPECT_EQ(Settings().drawColor, 0x0000FFu);
  // Activation reads the sliders again.
  Settings().drawColor = 0x123456;
  Tools().ActivateCurrentTool();
  EXPECT_EQ(Settings().drawColor, 0x0000FFu);
}

TEST_F(ColourWindowTest, ASliderChangeRecomposesOnlyTheVisiblePart) {
  studio.frmM.view.clientWidth = 40;
  studio.frmM.view.clientHeight = 30;
  studio.frmM.Redraw();
  // Pixels changed behind the canvas's back, inside and outside the view.
  Layer().SetPixel(10, 10, 0);
  Layer().SetPixel(200, 200, 0);
  colour.Change("sbColGreen", 7);
  EXPECT_EQ(project.compositeDib.GetPixel(10, 10), 0);
  EXPECT_EQ(project.compositeDib.GetPixel(200, 200), 0xFFFFFF);
  // A whole redraw takes them all.
  studio.frmM.Redraw();
  EXPECT_EQ(project.compositeDib.GetPixel(200, 200), 0);
}

TEST_F(ColourWindowTest, TransparencySliderAndSwitch) {
  colour.SetTransparencySlider(255);  // shows as 253
  EXPECT_EQ(colour.TransparencyPosition(), 253);
  EXPECT_EQ(Settings().transparency, 253);
  EXPECT_EQ(colour.controls.State("chkTranspearPow").caption, "透明度253");
  colour.SetTransparencySlider(-5);
  EXPECT_EQ(Settings().transparency, 0);
  colour.Change("sbTranspearPow", 100);
  EXPECT_EQ(Settings().transparency, 100);
  // Unchecking the switch paints opaque; the slider keeps its position.
  colour.Click("chkTranspearPow");
  EXPECT_TRUE(Settings().transparencyOff);
  EXPECT_EQ(colour.TransparencyPosition(), 100);
  colour.Click("chkTranspearPow");
  EXPECT_FALSE(Settings().transparencyOff);
}

TEST_F(ColourWindowTest, PalettePagesSelectionDropsAndDialog) {
  // The grey ramp without a file.
  EXPECT_EQ(colour.paletteColours[128], 0x808080u);
  colour.Click("spbPalShow");
  EXPECT_EQ(colour.clientHeight, 198);
  colour.Click("spbPalShow");
  EXPECT_EQ(colour.clientHeight, 134);
  // The third tab shows 64 … 95; the second row, fourth column is entry 75.
  colour.MouseDown("pbxPalette", 1, 40, 5, 0);
  EXPECT_EQ(colour.palettePage, 64);
  EXPECT_EQ(colour.pbxPalettePaint().image.GetPixel(40, 5), 0xFFFFFF);
  EXPECT_EQ(colour.pbxPalettePaint().image.GetPixel(5, 5), 0x808080);
  EXPECT_FALSE(colour.pbxPaletteMouseDown(3 * 16 + 2, 25 + 3, 0));
  EXPECT_EQ(colour.paletteSelected, 75);
  EXPECT_EQ(Settings().drawColor, static_cast<std::uint32_t>(MakeColour(75, 75, 75)));
  EXPECT_EQ(colour.pbxPalettePaint().image.GetPixel(3 * 16 + 2, 25 + 3), MakeColour(75, 75, 75));

  // Dragging the swatch onto the last swatch of page 8 stores the drawing colour in entry 255.
  colour.SetDrawColour(MakeColour(10, 20, 30));
  colour.MouseDown("pbxPalette", 1, 7 * 16 + 1, 2, 0);
  EXPECT_EQ(colour.palettePage, 224);
  colour.pbxPaletteDragDrop(1, 127, 63);
  EXPECT_EQ(colour.paletteColours[255], static_cast<std::uint32_t>(MakeColour(10, 20, 30)));
  // A drop on the tab row lands in the first row of the page.
  colour.pbxPaletteDragDrop(1, 20, 4);
  EXPECT_EQ(colour.paletteColours[225], static_cast<std::uint32_t>(MakeColour(10, 20, 30)));
  // Ctrl-dragging a swatch copies it; without a dragged entry nothing happens.
  EXPECT_TRUE(colour.pbxPaletteMouseDown(0, 12, kCtrlKey));  // entry 224
  colour.pbxPaletteDragDrop(0, 16, 12);
  EXPECT_EQ(colour.paletteColours[225], static_cast<std::uint32_t>(MakeColour(224, 224, 224)));
  EXPECT_EQ(colour.paletteDragIndex, -1);
  colour.pbxPaletteDragDrop(0, 32, 12);
  EXPECT_EQ(colour.paletteColours[226], static_cast<std::uint32_t>(MakeColour(226, 226, 226)));
  // Double click edits the selected entry.
  platform.colours = {MakeColour(1, 2, 3)};
  colour.pbxPaletteDblClick();
  EXPECT_EQ(colour.paletteColours[224], static_cast<std::uint32_t>(MakeColour(1, 2, 3)));
  EXPECT_EQ(Settings().drawColor, static_cast<std::uint32_t>(MakeColour(1, 2, 3)));
}

TEST_F(ColourWindowTest, PaletteFileRoundTripAndBadLength) {
  TempDir dir;
  const std::string folder = dir.Path() + "/";
  colour.paletteColours[7] = MakeColour(1, 2, 3);
  colour.SavePalette(folder);
  std::ifstream in(folder + "palcol.dat", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  ASSERT_EQ(bytes.size(), 1024u);
  EXPECT_EQ(bytes.substr(28, 4), std::string("\x01\x02\x03\x00", 4));
  EXPECT_EQ(bytes.substr(4 * 200, 4), std::string("\xC8\xC8\xC8\x00", 4));

  Settings().drawColor = MakeColour(9, 8, 7);
  colour.LoadPalette(folder, true);
  EXPECT_EQ(colour.paletteColours[7], static_cast<std::uint32_t>(MakeColour(1, 2, 3)));
  EXPECT_EQ(colour.controls.Position("sbColRed"), 9);
  EXPECT_EQ(colour.clientHeight, 198);
  EXPECT_TRUE(messages.empty());

  // A file of the wrong length gives the grey ramp and a message.
  std::ofstream(folder + "palcol.dat", std::ios::binary) << "short";
  colour.LoadPalette(folder, false);
  EXPECT_EQ(colour.paletteColours[7], 0x070707u);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "パレットファイルが壊れているので読めません。-" + folder + "palcol.dat");

  // A confirmed exit writes the palette beside the program (a folder that can be written).
  studio.programDir = folder;
  studio.LoadSettings();
  colour.paletteColours[9] = MakeColour(4, 5, 6);
  studio.frmMain.mnuExitClick();
  EXPECT_TRUE(views.quit);
  colour.paletteColours[9] = 0;
  colour.LoadPalette(folder, false);
  EXPECT_EQ(colour.paletteColours[9], static_cast<std::uint32_t>(MakeColour(4, 5, 6)));
}

}  // namespace
}  // namespace mirasketch::test

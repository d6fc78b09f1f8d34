#include "transform/transform_window.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/font_engine.h"
#include "project/png_codec.h"
#include "support/paint_fixture.h"
#include "support/temp_dir.h"

namespace mirasketch::test {
namespace {

constexpr int kWhite = 0xFFFFFF;
constexpr int kRed = 0x0000FF;
constexpr int kBlue = 0xFF0000;

// Every glyph a 3 × 4 block whose top row lies 10 pixels above the baseline, 5 pixels apart.
class BlockFont : public FontEngine {
 public:
  bool SelectFont(const FontChoice& font) override {
    selected = font;
    return true;
  }
  int FontHeight() const override { return 12; }
  bool Glyph(char32_t code, std::uint8_t* buffer, std::size_t size,
             GlyphMetrics& metrics) override {
    codes.push_back(code);
    if (size < 16) return false;
    std::memset(buffer, 0, 16);
    for (int row = 0; row < 4; ++row) buffer[row * 4] = 0xE0;
    metrics = {3, 4, 0, 10, 5, 0};
    return true;
  }
  void MeasureText(const std::string&, int& width, int& height) override {
    width = 15;
    height = 16;
  }
  FontChoice selected;
  std::vector<char32_t> codes;
};

// The transform window over the white start layer with a 101 × 61 source loaded from a
// floating piece, red but for its last column and row, whose mask is 255 in its left half.
class TransformWindowTest : public PaintTest {
 protected:
  TransformWindowTest() {
    CDibTM& piece = Tools().workLayer;
    piece.SetSize(102, 62, platform);
    piece.FillRect(0, 0, 100, 60, kRed);
    piece.mask.FillRect(0, 0, 50, 60, 255);
    window.LoadPiece(piece, 101, 61);
  }
  void Input(const std::string& text) { platform.inputs.push_back(text); }

  TfrmT& window = studio.frmT;
  ResampleState& r = window.r;
};

TEST_F(TransformWindowTest, TypedAndDraggedSizesFollowTheirClamps) {
  Input("50");
  window.Click("mnuMagPercent");
  EXPECT_EQ(r.targetWidth, 50);
  EXPECT_EQ(r.targetHeight, 30);
  EXPECT_EQ(window.editMode, emScale);
  EXPECT_EQ(r.handles[0].x, -25);
  Input("1");
  window.Click("mnuMagPercent");
  EXPECT_EQ(r.targetWidth, 4);
  Input("5000");
  window.Click("mnuMagPercent");
  EXPECT_EQ(r.targetWidth, 5050);
  EXPECT_EQ(r.targetHeight, 3050);
  Input("100000");
  window.Click("mnuMagPercent");
  EXPECT_EQ(r.targetWidth, 10000);
  EXPECT_EQ(platform.inputRequests.back(), (std::vector<std::string>{"大きさ", "1-1000%", "100"}));

  // The aspect drag: handle 0 from the centre to (−100, −20) on a 200 × 100 source.
  r.srcWidth = 200;
  r.srcHeight = 100;
  window.Click("mnuMagAspect");
  window.FormPaint();
  const int cx = window.viewCentre.x, cy = window.viewCentre.y;
  window.MouseDown("Canvas", 1, cx - 100, cy - 50, 0);
  EXPECT_TRUE(window.dragging);
  window.MouseMove("Canvas", cx - 100, cy - 20, 0);
  window.MouseUp("Canvas", 1, cx - 100, cy - 20, 0);
  EXPECT_EQ(r.targetWidth, 80);
  EXPECT_EQ(r.targetHeight, 40);
  EXPECT_EQ(r.handles[0].x, -40);
  // The size dialog, its comment hidden, filled with the source size.
  views.sizeEntries.push_back({"64", "48"});
  window.Click("mnuMagInputWH");
  EXPECT_FALSE(window.keepAspect);
  EXPECT_EQ(r.targetWidth, 64);
  EXPECT_EQ(views.sizeDialogShown.back(), (std::pair<std::string, std::string>{"200", "100"}));
}

TEST_F(TransformWindowTest, RotationInputIsClampedAndPlacesTheHandle) {
  Input("400");
  window.Click("mnuSpinInput");
  EXPECT_EQ(r.angle, 360.0f);
  EXPECT_EQ(r.handles[4].x, 100);
  EXPECT_EQ(r.handles[4].y, 0);
  window.Click("mnuSpin90");
  EXPECT_EQ(r.handles[4].x, 0);
  EXPECT_EQ(r.handles[4].y, -100);
  // A cancelled input keeps the rotation mode and the angle.
  window.Click("mnuMagAspect");
  window.Click("mnuSpinInput");
  EXPECT_EQ(window.editMode, emRotate);
  EXPECT_EQ(r.angle, 90.0f);
  // The right button is ignored.
  window.FormPaint();
  window.MouseDown("Canvas", 2, window.viewCentre.x, window.viewCentre.y - 100, 0);
  EXPECT_FALSE(window.dragging);
}

TEST_F(TransformWindowTest, TextModeDrawsTheTextInTheDrawingColour) {
  BlockFont font;
  window.SetFontEngine(&font);
  Settings().drawColor = kRed;
  window.Click("mnuStrMode");
  EXPECT_EQ(window.editMode, emText);
  EXPECT_EQ(r.resultWidth, 19);
  EXPECT_EQ(r.resultHeight, 22);
  EXPECT_EQ(font.selected.family, "ＭＳ Ｐゴシック");
  EXPECT_EQ(font.codes, (std::vector<char32_t>{U'文', U'字', U'列'}));
  // The first block 2 pixels from the left, its top 12 − 10 = 2 pixels down.
  EXPECT_EQ(r.resultPicture.GetPixel(1, 2), kWhite);
  EXPECT_EQ(r.resultPicture.GetPixel(2, 2), kRed);
  EXPECT_EQ(r.resultPicture.GetPixel(4, 5), kRed);
  EXPECT_EQ(r.resultPicture.GetPixel(2, 6), kWhite);
  EXPECT_EQ(r.resultPicture.GetPixel(7, 2), kRed);
}

TEST_F(TransformWindowTest, OnlyTheSourcePasteCarriesTheMask) {
  window.Click("mnuPastOrg");
  EXPECT_EQ(Settings().currentTool, tkSelect);
  EXPECT_TRUE(studio.selection.pieceFloating);
  EXPECT_EQ(Tools().workLayer.mask.GetPixel(10, 10), 255);
  EXPECT_EQ(Layer().GetPixel(99, 59), kRed);

  window.Click("mnuPaste");
  EXPECT_EQ(studio.selection.pieceWidth, 101);
  EXPECT_EQ(Tools().workLayer.mask.GetPixel(10, 10), 0);
}

TEST_F(TransformWindowTest, OpenedPicturesPutTheirFolderOnTopOfTheHistory) {
  TempDir dir;
  CDibTrue picture;
  ASSERT_TRUE(picture.Alloc(8, 6));
  picture.FillRect(0, 0, 8, 6, kRed);
  ASSERT_TRUE(picture.SaveToBmp(dir.File("p.bmp"), platform));
  window.folderHistory = {"/a", "/b", "/c", "/d"};
  const std::string folder = FolderOf(dir.File("p.bmp"));
  window.folderHistory[1] = folder;
  platform.openFiles.push_back(dir.File("p.bmp"));
  window.Click("mnuPastFolder1");
  EXPECT_EQ(platform.openRequests.back().initialFolder, folder);
  EXPECT_EQ(window.folderHistory, (std::array<std::string, 4>{folder, "/a", "/c", "/d"}));
  EXPECT_EQ(window.controls.State("mnuPastFolder1").caption, "/a");
  EXPECT_EQ(r.srcWidth, 8);
  EXPECT_EQ(r.resultPicture.GetPixel(7, 5), kRed);
  EXPECT_EQ(window.editMode, emNone);

  // A file that cannot be read keeps the source.
  platform.openFiles.push_back(dir.File("missing.bmp"));
  window.Click("mnuOpenFile");
  EXPECT_EQ(r.srcWidth, 8);
  EXPECT_FALSE(messages.empty());
  // An empty history entry opens nothing.
  window.folderHistory[3].clear();
  const std::size_t dialogs = platform.openRequests.size();
  window.Click("mnuPastFolder3");
  EXPECT_EQ(platform.openRequests.size(), dialogs);
}

// PNG pictures are offered after the three original filter entries and come in like the others.
TEST_F(TransformWindowTest, PngPicturesAreImportedAndPasted) {
  TempDir dir;
  CDibTrue picture;
  ASSERT_TRUE(picture.Alloc(12, 6));
  picture.FillRect(0, 0, 12, 6, kRed);
  picture.SetPixel(9, 5, kBlue);
  ASSERT_TRUE(EncodePng(picture, 10, 6, dir.File("p.png")));
  platform.openFiles.push_back(dir.File("p.png"));
  window.Click("mnuOpenFile");
  EXPECT_EQ(platform.openRequests.back().filter,
            "使用可能なファイル (*.jpg;*.bmp)|*.jpg;*.bmp|JPEG イメージファイル (*.jpg)|*.jpg|"
            "ビットマップ (*.bmp)|*.bmp|PNGファイル (*.png)|*.png");
  // The source takes the whole rounded width, as for the other formats; the added columns are
  // white.
  EXPECT_EQ(r.srcWidth, 12);
  EXPECT_EQ(r.resultPicture.GetPixel(9, 5), kBlue);
  EXPECT_EQ(r.resultPicture.GetPixel(10, 5), 0xFFFFFF);
  EXPECT_TRUE(messages.empty());
  window.Click("mnuPaste");
  EXPECT_TRUE(studio.selection.pieceFloating);
  EXPECT_EQ(studio.selection.pieceWidth, 12);
}

}  // namespace
}  // namespace mirasketch::test

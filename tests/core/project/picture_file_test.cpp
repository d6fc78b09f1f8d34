#include "project/picture_file.h"

#include <gtest/gtest.h>

#include "buffers/dib_format.h"
#include "project/compositor.h"
#include "support/bmp_bytes.h"
#include "support/studio_fixture.h"
#include "support/temp_dir.h"

namespace mirasketch {
namespace {

class PictureFileTest : public test::StudioTest {
 protected:
  PictureFileTest() {
    project.Layer(0).SetPixel(3, 3, 0x0000FF);
    project.projectFileName = "/home/a/current.kvl";
    studio.frmM.caption = "/home/a/current.kvl";
  }
  // A 24-bit BMP of `width` × `height` whose pixel (x, y) has red x, green y, blue 7.
  std::string Picture(const std::string& name, int width, int height) {
    test::BmpSpec spec;
    spec.width = width;
    spec.height = height;
    spec.bitCount = 24;
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    spec.rows.assign(static_cast<std::size_t>(rowBytes) * height, 0);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        std::uint8_t* p = &spec.rows[static_cast<std::size_t>((height - 1 - y) * rowBytes + x * 3)];
        p[0] = 7;
        p[1] = static_cast<std::uint8_t>(y);
        p[2] = static_cast<std::uint8_t>(x);
      }
    test::WriteAll(dir.File(name), test::MakeBmp(spec));
    return dir.File(name);
  }
  void ExpectUnchanged(const std::string& what) {
    EXPECT_EQ(project.CanvasWidth(), 256) << what;
    EXPECT_EQ(project.Layer(0).GetPixel(3, 3), 0x0000FF) << what;
    EXPECT_EQ(project.projectFileName, "/home/a/current.kvl") << what;
    EXPECT_EQ(studio.frmM.caption, "/home/a/current.kvl") << what;
    EXPECT_EQ(platform.busyDepth, 0) << what;
  }
  PictureFiles& files = studio.pictureFiles;
  test::TempDir dir;
};

TEST_F(PictureFileTest, OpeningAPictureMakesAOneLayerProject) {
  project.InsertLayer(1, true, 16, 16);
  const std::string path = Picture("photo.BMP", 321, 200);
  ASSERT_TRUE(files.OpenPictureFile(path));
  EXPECT_EQ(project.layerCount, 1);
  EXPECT_EQ(project.CanvasWidth(), 324);
  EXPECT_EQ(project.CanvasHeight(), 200);
  EXPECT_EQ(project.activeLayer, 0);
  EXPECT_EQ(project.projectFileName, path);
  EXPECT_EQ(studio.frmM.caption, path);
  const CDibTM& layer = project.Layer(0);
  EXPECT_EQ(layer.GetPixel(320, 199), MakeColour(320 & 0xFF, 199, 7));
  EXPECT_EQ(layer.GetPixel(321, 0), 0xFFFFFF);  // the rounding columns are white
  EXPECT_EQ(layer.mask.GetPixel(100, 100), 0);
  EXPECT_EQ(platform.busyDepth, 0);
  EXPECT_TRUE(project.backgroundRefresh);  // the tool was resumed
  EXPECT_TRUE(messages.empty());
}

TEST_F(PictureFileTest, RefusedOpensLeaveTheProject) {
  EXPECT_FALSE(files.OpenPictureFile(dir.File("none.bmp")));
  ExpectUnchanged("missing");
  test::WriteAll(dir.File("a.jpeg"), {1, 2, 3});
  EXPECT_FALSE(files.OpenPictureFile(dir.File("a.jpeg")));
  ExpectUnchanged("jpeg extension");
  test::WriteAll(dir.File("broken.bmp"), {'B', 'M', 1, 2, 3, 4});
  EXPECT_FALSE(files.OpenPictureFile(dir.File("broken.bmp")));
  ExpectUnchanged("broken bmp");
  test::WriteAll(dir.File("broken.jpg"), {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F'});
  EXPECT_FALSE(files.OpenPictureFile(dir.File("broken.jpg")));
  ExpectUnchanged("broken jpg");
  // Pictures saved by the program and cut in half.
  for (const std::string ext : {"png", "jpg"}) {
    files.SavePictureFile(dir.File("whole." + ext));
    std::vector<std::uint8_t> bytes = test::ReadAll(dir.File("whole." + ext));
    bytes.resize(bytes.size() / 2);
    test::WriteAll(dir.File("cut." + ext), bytes);
    project.projectFileName = "/home/a/current.kvl";
    studio.frmM.caption = "/home/a/current.kvl";
    EXPECT_FALSE(files.OpenPictureFile(dir.File("cut." + ext)));
    ExpectUnchanged("cut " + ext);
  }
  test::BmpSpec huge;
  huge.width = 30001;
  huge.height = 4;
  huge.bitCount = 24;
  test::WriteAll(dir.File("huge.bmp"), test::MakeBmp(huge));
  EXPECT_FALSE(files.OpenPictureFile(dir.File("huge.bmp")));
  ExpectUnchanged("huge");
  EXPECT_EQ(messages, (std::vector<std::string>{
                          dir.File("none.bmp") + "はありません。",
                          "読めません。- " + dir.File("a.jpeg"),
                          "Fault at LoadFile- " + dir.File("broken.bmp"),
                          "読めません。- " + dir.File("broken.bmp"),
                          "Fault at LoadFile- " + dir.File("broken.jpg"),
                          "読めません。- " + dir.File("broken.jpg"),
                          "Fault at LoadFile- " + dir.File("cut.png"),
                          "読めません。- " + dir.File("cut.png"),
                          "Fault at LoadFile- " + dir.File("cut.jpg"),
                          "読めません。- " + dir.File("cut.jpg"),
                          "ClsDibTrue- Bits Alloc Error",
                          "Fault at LoadFile- " + dir.File("huge.bmp"),
                          "読めません。- " + dir.File("huge.bmp"),
                      }));
}

TEST_F(PictureFileTest, PicturesBeyondTheAvailableMemoryAreRefused) {
  const std::string path = Picture("big.bmp", 600, 600);
  // The picture needs 600 × 600 × 3 bytes of scratch picture; the project of its size then needs
  // more than twice that again over the open 256 × 256 one.
  platform.availableMemory = 600 * 600 * 3 - 1;
  EXPECT_FALSE(files.OpenPictureFile(path));
  ExpectUnchanged("picture");
  platform.availableMemory += 1;
  EXPECT_FALSE(files.OpenPictureFile(path));
  ExpectUnchanged("project");
  EXPECT_EQ(messages,
            (std::vector<std::string>{"ClsDibTrue- Bits Alloc Error", "Fault at LoadFile- " + path,
                                      "読めません。- " + path, "ClsDibTrue- Bits Alloc Error"}));
  platform.availableMemory = 600 * 600 * 8;
  EXPECT_TRUE(files.OpenPictureFile(path));
  EXPECT_EQ(project.CanvasWidth(), 600);
}

TEST_F(PictureFileTest, SaveAndOpenRoundTrips) {
  project.Layer(0).mask.SetPixel(1, 1, 77);
  project.Layer(0).offsetX = 5;
  const std::string kvl = dir.File("p.kvl");
  ASSERT_TRUE(files.SavePictureFile(kvl));
  EXPECT_EQ(project.projectFileName, kvl);
  EXPECT_EQ(studio.frmM.caption, kvl);
  project.NewProject(1, 8, 8);
  ASSERT_TRUE(files.OpenPictureFile(kvl));
  EXPECT_EQ(project.Layer(0).GetPixel(3, 3), 0x0000FF);
  EXPECT_EQ(project.Layer(0).mask.GetPixel(1, 1), 77);
  EXPECT_EQ(project.Layer(0).offsetX, 5);
  EXPECT_EQ(studio.frmM.caption, kvl);

  project.Layer(0).offsetX = 0;
  const std::string bmp = dir.File("p.bmp");
  ASSERT_TRUE(files.SavePictureFile(bmp));
  ASSERT_TRUE(files.OpenPictureFile(bmp));
  EXPECT_EQ(project.Layer(0).GetPixel(3, 3), 0x0000FF);
  EXPECT_EQ(project.Layer(0).mask.GetPixel(1, 1), 0);  // a picture has no mask

  files.jpegQuality = 100;
  const std::string jpg = dir.File("p.jpg");
  ASSERT_TRUE(files.SavePictureFile(jpg));
  ASSERT_TRUE(files.OpenPictureFile(jpg));
  EXPECT_EQ(project.CanvasWidth(), 256);
  std::uint8_t r = 0, g = 0, b = 0;
  ASSERT_TRUE(project.Layer(0).GetRGB(100, 100, r, g, b));
  EXPECT_GE(r + g + b, 3 * 250);  // white stays close to white
  EXPECT_EQ(project.projectFileName, jpg);

  // PNG keeps every pixel.
  project.Layer(0).SetPixel(7, 9, 0x123456);
  const std::string png = dir.File("p.PNG");
  ASSERT_TRUE(files.SavePictureFile(png));
  project.NewProject(1, 8, 8);
  ASSERT_TRUE(files.OpenPictureFile(png));
  EXPECT_EQ(project.CanvasWidth(), 256);
  EXPECT_EQ(project.Layer(0).GetPixel(7, 9), 0x123456);
  EXPECT_EQ(project.projectFileName, png);
  EXPECT_TRUE(messages.empty());
}

TEST_F(PictureFileTest, SavingFlattensOverWhatThePictureHolds) {
  project.Layer(0).visible = false;
  RefreshComposite(project);
  const std::string bmp = dir.File("hidden.bmp");
  ASSERT_TRUE(files.SavePictureFile(bmp));
  const std::vector<std::uint8_t> bytes = test::ReadAll(bmp);
  // Top-left pixel (last stored row) is the checkerboard's even square.
  const std::size_t topLeft = 54 + 255 * 256 * 3;
  EXPECT_EQ(bytes[topLeft], 0xF8);
  const std::size_t odd = topLeft + 64 * 3;
  EXPECT_EQ(bytes[odd], 0xFF);      // blue 255
  EXPECT_EQ(bytes[odd + 2], 0xF0);  // red 240

  EXPECT_FALSE(files.SavePictureFile(dir.File("x.gif")));
  EXPECT_EQ(messages.back(), "この拡張子では保存できません。- " + dir.File("x.gif"));
  EXPECT_EQ(project.projectFileName, bmp);
  EXPECT_FALSE(files.SaveImageFile(dir.File("y.gif"), &project.compositeDib));
  EXPECT_FALSE(files.SaveImageFile(dir.File("y.jpg"), nullptr));
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_EQ(messages[1], "ファイル名を確認してください。- " + dir.File("y.gif"));
  EXPECT_EQ(messages[2], "Fault at SaveFile- " + dir.File("y.gif"));
  EXPECT_EQ(messages[3], "Fault at SaveFile- " + dir.File("y.jpg"));
}

TEST_F(PictureFileTest, ClipboardBitmapsGainAColumnAndARow) {
  CDibTM piece;
  int w = 0, h = 0;
  EXPECT_FALSE(files.PasteClipboardBitmap(piece, w, h));
  CDibTrue source;
  ASSERT_TRUE(source.Alloc(12, 10));
  source.FillRect(0, 0, 12, 10, 0x00FF00);
  ASSERT_TRUE(files.CopyClipboardBitmap(source, 10, 10));
  ASSERT_TRUE(files.PasteClipboardBitmap(piece, w, h));
  EXPECT_EQ(w, 10);
  EXPECT_EQ(h, 10);
  EXPECT_EQ(piece.Width(), 12);
  EXPECT_EQ(piece.Height(), 11);
  EXPECT_EQ(piece.GetPixel(9, 9), 0x00FF00);
}

TEST(LowerExtension, FromTheLastDot) {
  EXPECT_EQ(LowerExtension("/a/b.c/Photo.BMP"), ".bmp");
  EXPECT_EQ(LowerExtension("/a/b.JPEG"), ".jpeg");
  EXPECT_EQ(LowerExtension("noext"), "");
}

}  // namespace
}  // namespace mirasketch

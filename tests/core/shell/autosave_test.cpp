#include "shell/autosave.h"

#include <sys/resource.h>
#include <csignal>
#include <filesystem>
#include <memory>

#include "support/brush_sheet.h"

#include "platform/files.h"
#include "project/kvl_file.h"
#include "project/recovery_copy.h"
#include "support/paint_fixture.h"
#include "support/temp_dir.h"

namespace mirasketch::test {
namespace {

std::vector<std::uint8_t> Pixels(const CDibTM& layer) {
  const std::uint8_t* bits = layer.Bits();
  return {bits, bits + static_cast<std::size_t>(layer.Width()) * layer.Height() * 3};
}

bool SamePixels(const CDibTM& a, const CDibTM& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() && Pixels(a) == Pixels(b);
}

// Another run of the program, starting with recovery copies in the same folder.
struct NextRun {
  explicit NextRun(const std::string& folder) {
    studio.project.InitLayers();
    studio.autosave.Enable(folder, kAutosaveIntervalMs);
  }
  FakePlatform platform;
  RecordingViews views;
  Studio studio{platform, views};
};

class AutosaveTest : public PaintTest {
 protected:
  AutosaveTest() {
    studio.autosave.Enable(cache.Path(), kAutosaveIntervalMs);
    project.projectFileName = "/pictures/cat.kvl";
  }

  // A short pen stroke at row y, `seconds` on the clock.
  void StrokeAt(int y, int seconds) {
    platform.clock = seconds * 1000LL;
    Drag({{10, y}, {40, y}});
  }
  const std::string& CopyPath() const { return studio.autosave.Folder().CopyPath(); }
  // The project in the copy, read as the program reads a layer-project file.
  std::unique_ptr<NextRun> ReadCopy() {
    auto other = std::make_unique<NextRun>("");
    EXPECT_TRUE(ReadProjectFile(other->studio.project, CopyPath()));
    return other;
  }

  TempDir cache;
  Autosave& autosave = studio.autosave;
};

TEST_F(AutosaveTest, WritesAtTheFirstChangeThenOnlyAfterTwoMinutesAndNeverDuringAStroke) {
  EXPECT_FALSE(std::filesystem::exists(CopyPath()));
  StrokeAt(20, 0);
  ASSERT_TRUE(autosave.Writing());
  autosave.WaitForWrite();
  EXPECT_EQ(RecoveryCopyName(CopyPath()), "/pictures/cat.kvl");
  EXPECT_TRUE(SamePixels(ReadCopy()->studio.project.Layer(0), Layer()));

  // Changes within two minutes of the write wait; the copy still holds the first stroke.
  StrokeAt(40, 60);
  studio.frmM.Undo();
  studio.frmM.Redo();
  EXPECT_FALSE(autosave.Writing());
  // Two minutes on, a press alone writes nothing: the stroke is under way.
  platform.clock = 125000;
  studio.frmM.pbxAMouseDown(MouseButton::kLeft, 10, 60);
  autosave.ChangeEnded();
  EXPECT_FALSE(autosave.Writing());
  studio.frmM.pbxAMouseUp(MouseButton::kLeft, 30, 60);
  ASSERT_TRUE(autosave.Writing());
  autosave.WaitForWrite();
  EXPECT_TRUE(SamePixels(ReadCopy()->studio.project.Layer(0), Layer()));

  // Without a change since the copy, nothing is written however long it waits.
  platform.clock = 600000;
  autosave.ChangeEnded();
  EXPECT_FALSE(autosave.Writing());
  EXPECT_TRUE(messages.empty());
}

TEST_F(AutosaveTest, SaveOpenAndConfirmedDiscardRemoveTheCopyAndNoKeepsIt) {
  auto written = [&] {
    StrokeAt(20, static_cast<int>(platform.clock / 1000) + 200);
    autosave.WaitForWrite();
    return std::filesystem::exists(CopyPath());
  };
  ASSERT_TRUE(written());
  ASSERT_TRUE(studio.pictureFiles.SavePictureFile(cache.File("saved.kvl")));
  EXPECT_FALSE(std::filesystem::exists(CopyPath()));

  ASSERT_TRUE(written());
  platform.answers = {false};
  EXPECT_FALSE(studio.frmM.ConfirmDiscard());
  EXPECT_TRUE(std::filesystem::exists(CopyPath()));
  platform.answers = {true};
  EXPECT_TRUE(studio.frmM.ConfirmDiscard());
  EXPECT_FALSE(std::filesystem::exists(CopyPath()));

  ASSERT_TRUE(written());
  ASSERT_TRUE(studio.pictureFiles.OpenPictureFile(cache.File("saved.kvl")));
  EXPECT_FALSE(std::filesystem::exists(CopyPath()));
  // Only this program's copy and the saved file are left: no lock or temporary file of a write.
  EXPECT_EQ(cache.Entries().size(), 2u);
}

TEST_F(AutosaveTest, ACopyLeftByAnEndedProgramIsOfferedAndYesRestoresItUnsaved) {
  std::vector<std::uint8_t> drawn;
  {
    // A program that draws and ends without removing its copy, as a crash leaves it.
    NextRun earlier(cache.Path());
    MakeTestBrushSheet(earlier.studio.toolEngine.brushImage);
    earlier.studio.project.projectFileName = "/pictures/dog.kvl";
    earlier.studio.frmM.pbxAMouseDown(MouseButton::kLeft, 30, 30);
    earlier.studio.frmM.pbxAMouseUp(MouseButton::kLeft, 30, 30);
    earlier.studio.autosave.WaitForWrite();
    drawn = Pixels(earlier.studio.project.Layer(0));
    // While it runs, another program does not offer its copy.
    NextRun meanwhile(cache.Path());
    meanwhile.studio.autosave.OfferRecovery();
    EXPECT_TRUE(meanwhile.platform.asked.empty());
  }

  NextRun next(cache.Path());
  next.studio.autosave.OfferRecovery();
  ASSERT_EQ(next.platform.asked.size(), 1u);
  EXPECT_NE(next.platform.asked[0].find("/pictures/dog.kvl"), std::string::npos);
  EXPECT_NE(next.platform.asked[0].find("開きますか?"), std::string::npos);
  EXPECT_EQ(Pixels(next.studio.project.Layer(0)), drawn);
  EXPECT_FALSE(SamePixels(next.studio.project.Layer(0), Layer()));
  EXPECT_TRUE(next.studio.frmM.modified);
  EXPECT_EQ(next.studio.project.projectFileName, "/pictures/dog.kvl");
  EXPECT_EQ(next.studio.frmM.caption, "/pictures/dog.kvl");
  // The copy became the new program's own; a third start finds nothing to offer.
  EXPECT_EQ(RecoveryCopyName(next.studio.autosave.Folder().CopyPath()), "/pictures/dog.kvl");
  NextRun third(cache.Path());
  third.studio.autosave.OfferRecovery();
  EXPECT_TRUE(third.platform.asked.empty());
}

TEST_F(AutosaveTest, NoRemovesTheLeftCopyAndADamagedCopyIsMovedAside) {
  StrokeAt(20, 0);
  autosave.WaitForWrite();
  const std::string left = cache.File("recovery-1-1.kvl");
  std::filesystem::copy_file(CopyPath(), left);
  // A copy cut short, as a write stopped half-way would have left it under its own name.
  const std::string cut = cache.File("recovery-2-2.kvl");
  std::filesystem::copy_file(CopyPath(), cut);
  std::filesystem::resize_file(cut, std::filesystem::file_size(cut) - 1000);

  NextRun next(cache.Path());
  next.platform.answers = {false};
  next.studio.autosave.OfferRecovery();
  EXPECT_EQ(next.platform.asked.size(), 1u);
  ASSERT_EQ(next.platform.shown.size(), 1u);
  EXPECT_NE(next.platform.shown[0].find("回復用のコピーが壊れているので開けません。"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(left));
  EXPECT_FALSE(std::filesystem::exists(cut));
  EXPECT_TRUE(std::filesystem::exists(cache.File("damaged-2-2.kvl")));
  EXPECT_FALSE(next.studio.frmM.modified);
  EXPECT_EQ(next.studio.project.CanvasWidth(), 256);
}

TEST_F(AutosaveTest, AFailedWriteIsReportedOnceAndKeepsThePreviousCopy) {
  StrokeAt(20, 0);
  autosave.WaitForWrite();
  const auto before = std::filesystem::file_size(CopyPath());
  // A file-size limit makes every write fail as a full disk does.
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &small);
  StrokeAt(40, 200);
  autosave.WaitForWrite();
  StrokeAt(60, 400);
  autosave.WaitForWrite();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("回復用のコピーを書き込めませんでした。"), std::string::npos);
  EXPECT_EQ(std::filesystem::file_size(CopyPath()), before);
  EXPECT_EQ(RecoveryCopyName(CopyPath()), "/pictures/cat.kvl");
  // Once a write succeeds again, the next failure is reported again.
  StrokeAt(80, 600);
  autosave.WaitForWrite();
  EXPECT_TRUE(SamePixels(ReadCopy()->studio.project.Layer(0), Layer()));
  EXPECT_EQ(messages.size(), 1u);
}

TEST(RecoveryCopyTest, OnlyAWholeCopyWithItsTrailerGivesAName) {
  TempDir dir;
  FakePlatform platform;
  RecordingViews views;
  Studio studio{platform, views};
  studio.project.InitLayers();
  const std::string copy = dir.File("copy.kvl");
  WriteRecoveryCopy(studio.project, "", copy);
  EXPECT_EQ(RecoveryCopyName(copy), "");
  // A plain layer-project file, a copy with a byte too many and a foreign file have none.
  ASSERT_TRUE(WriteProjectFile(studio.project, dir.File("plain.kvl")));
  EXPECT_EQ(RecoveryCopyName(dir.File("plain.kvl")), std::nullopt);
  std::vector<std::uint8_t> bytes = ReadAll(copy);
  bytes.insert(bytes.end() - 12, 'x');
  WriteAll(copy, bytes);
  EXPECT_EQ(RecoveryCopyName(copy), std::nullopt);
  WriteAll(copy, std::vector<std::uint8_t>(100, 0x5D));
  EXPECT_EQ(RecoveryCopyName(copy), std::nullopt);
}

}  // namespace
}  // namespace mirasketch::test

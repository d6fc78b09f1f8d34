#include "shell/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/io_error.h"
#include "shell/dialogs.h"
#include "support/studio_fixture.h"
#include "support/temp_dir.h"

namespace mirasketch::test {
namespace {

TEST(SettingsFile, ValuesReadByTheIntegerAndStringRules) {
  SettingsFile f;
  f.Parse(
      "junk before any section\n"
      "[ToolSetting]\r\n"
      "LastColor=0xFF\r\n"
      "lastcolor=7\n"  // a duplicate: the first counts
      "EraseCol = $ff00 \n"
      "EraseSize=abc\n"
      "BrushUse=0x\n"
      "AirBrushUse=-12\n"
      "Huge=99999999999\n"
      "no equals sign\n"
      "[window]\n"
      "ColorFormVisible=2\n"
      "PastFile0=" +
      std::string(3000, 'a') + "\nPastFile1=" + std::string(2046, 'a') + "絵\n");
  EXPECT_EQ(f.ReadInteger("toolsetting", "LASTCOLOR", 0), 255);
  EXPECT_EQ(f.ReadInteger("ToolSetting", "EraseCol", 0), 0xFF00);
  EXPECT_EQ(f.ReadInteger("ToolSetting", "EraseSize", 2), 2);
  EXPECT_EQ(f.ReadInteger("ToolSetting", "BrushUse", 3), 3);
  EXPECT_EQ(f.ReadInteger("ToolSetting", "AirBrushUse", 0), -12);
  EXPECT_EQ(f.ReadInteger("ToolSetting", "Huge", 5), 5);
  EXPECT_EQ(f.ReadInteger("ToolSetting", "Missing", 9), 9);
  EXPECT_TRUE(f.ReadBool("Window", "ColorFormVisible", false));
  EXPECT_EQ(f.ReadString("Window", "PastFile0", "").size(), 2047u);
  EXPECT_EQ(f.ReadString("Window", "PastFile1", ""), std::string(2046, 'a'));  // no half character

  // A binary file is no settings at all.
  f.Parse(std::string("[ToolSetting]\nLastColor=5\n\0\x01\x02", 29));
  EXPECT_EQ(f.ReadInteger("ToolSetting", "LastColor", 0), 0);
}

TEST(SettingsFile, RewritingKeepsWhatItDoesNotKnowAndNeverHalfWrites) {
  TempDir dir;
  SettingsFile f(dir.File("korvel.ini"));
  f.Parse("[Other]\n; a comment\nMine=1\n[ToolSetting]\nLastColor=3\nLASTCOLOR=4\nOld=x\n");
  f.WriteInteger("ToolSetting", "lastcolor", 255);
  f.WriteString("FileHistory", "PastFile0", "/tmp/a\nb\r\n");  // one line, read back the same
  f.Flush();
  SettingsFile back(dir.File("korvel.ini"));
  back.Load();
  EXPECT_EQ(back.Text(),
            "[Other]\n; a comment\nMine=1\n\n[ToolSetting]\nLastColor=255\nOld=x\n\n"
            "[FileHistory]\nPastFile0=/tmp/a b\n");

  // A folder that cannot be written: the designed message, and the old file stays.
  chmod(dir.Path().c_str(), 0500);
  const bool writable = access(dir.Path().c_str(), W_OK) == 0;  // root writes anyway
  f.WriteInteger("ToolSetting", "LastColor", 1);
  if (!writable) {
    try {
      f.Flush();
      ADD_FAILURE() << "no error";
    } catch (const IoError& error) {
      EXPECT_EQ(std::string(error.what()), dir.File("korvel.ini") + " に書き込めません");
    }
    back.Load();
    EXPECT_EQ(back.ReadInteger("ToolSetting", "LastColor", 0), 255);
  }
  chmod(dir.Path().c_str(), 0700);
  SettingsFile missing(dir.File("nothing/korvel.ini"));
  EXPECT_THROW(missing.Flush(), IoError);
}

// A studio started from a folder holding a settings file.
class SettingsTest : public StudioTest {
 protected:
  SettingsTest() {
    studio.programDir = dir.Path() + "/";
    platform.screenWidth = 1024;
    platform.screenHeight = 768;
  }
  void Start(const std::string& ini) {
    WriteAll(dir.File("korvel.ini"), std::vector<std::uint8_t>(ini.begin(), ini.end()));
    studio.frmMain.FormShow();
  }
  std::string Written() {
    studio.frmMain.mnuExitClick();
    const std::vector<std::uint8_t> bytes = ReadAll(dir.File("korvel.ini"));
    return std::string(bytes.begin(), bytes.end());
  }
  TempDir dir;
};

TEST_F(SettingsTest, PlacesFollowTheScreenRulesAndStatesKeepOldKeys) {
  Start(
      "[Window]\nMainFormLeft=5000\nMainFormTop=100\nToolFormTop=-300\nToolFormLeft=-99999\n"
      "DrawFormLeft=10\nDrawFormTop=20\nDrawFormWidth=640\nDrawFormHeight=480\n");
  const WindowPlaces& places = studio.places;
  EXPECT_EQ(places.Of(WindowId::frmMain).left, 960);
  EXPECT_EQ(places.Of(WindowId::frmMain).top, 100);
  EXPECT_EQ(places.Of(WindowId::frmC).top, -300);
  EXPECT_EQ(places.Of(WindowId::frmC).left, -16384);  // far off every screen: held
  EXPECT_EQ(places.Of(WindowId::frmM).width, 640);
  // The canvas window maximised at exit keeps the keys of the run before; a move of the
  // colour window is written.
  studio.WindowMoved(WindowId::frmM, {0, 0, 1024, 700, false});
  studio.WindowMoved(WindowId::frmCol, {300, 310, 128, 134, true});
  const std::string text = Written();
  EXPECT_NE(text.find("DrawFormLeft=10\nDrawFormTop=20\nDrawFormWidth=640\nDrawFormHeight=480\n"),
            std::string::npos);
  EXPECT_NE(text.find("ColorFormLeft=300\nColorFormTop=310\n"), std::string::npos);
}

TEST_F(SettingsTest, VisibilityAndValuesSurviveARestart) {
  Start(
      "[Window]\nColorFormVisible=2\nLayerFormVisible=1\n"
      "[ToolSetting]\nLastColor=0xFF\nEraseSize=60\nBrushUse=900\nOptionOption=1\nCursorNumber=5\n"
      "[EnvSetting]\nUndoCount=16\nJPGSaveQuality=250\n"
      "[FileHistory]\nPastFile0=/pictures/a.kvl\n");
  EXPECT_TRUE(studio.frmMain.WindowChecked(1));
  EXPECT_TRUE(studio.frmMain.WindowChecked(4));
  EXPECT_FALSE(studio.frmMain.WindowChecked(2));
  const ToolSettings& s = studio.toolEngine.settings;
  EXPECT_EQ(s.drawColor, 255u);
  EXPECT_EQ(s.eraseSize, 6);     // held to the eraser sizes
  EXPECT_EQ(s.brushBrush, 127);  // and to the stamps
  EXPECT_EQ(studio.frmM.undoLevels, 15);
  EXPECT_EQ(studio.pictureFiles.jpegQuality, 100);
  EXPECT_EQ(studio.frmOpt.optionPage, 1);
  EXPECT_EQ(studio.frmM.pbxACursor, 6);  // cursor 5 on the canvas
  EXPECT_EQ(studio.frmMain.recentFiles[0], "/pictures/a.kvl");

  // The layer window hidden at exit is written as 0 and starts hidden, its switch off.
  studio.frmMain.ShowToolWindow(4, false);
  studio.toolEngine.settings.shapeFill = true;
  const std::string text = Written();
  EXPECT_NE(text.find("LayerFormVisible=0\n"), std::string::npos);
  EXPECT_NE(text.find("ColorFormVisible=1\n"), std::string::npos);
  EXPECT_NE(text.find("ShapeFill=1\n"), std::string::npos);
  EXPECT_NE(text.find("PastFile0=/pictures/a.kvl\n"), std::string::npos);

  Studio next(platform, views);
  next.programDir = studio.programDir;
  next.frmMain.FormShow();
  EXPECT_FALSE(next.frmMain.WindowChecked(4));
  EXPECT_TRUE(next.frmMain.WindowChecked(1));
  EXPECT_TRUE(next.toolEngine.settings.shapeFill);
  EXPECT_EQ(next.frmM.undoLevels, 15);
  EXPECT_EQ(next.frmOpt.cursorNumber, 5);
}

TEST_F(StudioTest, SettingsDialogReadsItsFieldsByTheDialogRules) {
  TfrmM& canvas = studio.frmM;
  canvas.SetUndoLevels(2);
  TfrmDlgSetting dialog(canvas, studio.pictureFiles);
  auto ok = [&](const char* undo, const char* quality) {
    dialog.FormShow();
    dialog.edtUndoCount = undo;
    dialog.edtJPGSave = quality;
    dialog.OKBtnClick();
  };
  ok("16", "250");
  EXPECT_EQ(canvas.undoLevels, 15);
  EXPECT_EQ(studio.pictureFiles.jpegQuality, 100);
  dialog.FormShow();
  EXPECT_EQ(dialog.edtUndoCount, "15");
  ok("1", "abc");
  EXPECT_EQ(canvas.undoLevels, 1);
  EXPECT_EQ(studio.pictureFiles.jpegQuality, 1);
  // OK without a change still restarts the history: nothing can be undone afterwards.
  canvas.PushUndo();
  project.Active().SetPixel(0, 0, 0);
  ok("1", "1");
  canvas.Undo();
  EXPECT_EQ(project.Active().GetPixel(0, 0), 0);
}

TEST(SettingsFolder, AnInstalledProgramKeepsItsSettingsInTheUsersFolder) {
  TempDir dir;
  EXPECT_EQ(SettingsFolder(dir.Path() + "/"), dir.Path() + "/");
  setenv("XDG_CONFIG_HOME", "/home/someone/.cfg", 1);
  EXPECT_EQ(SettingsFolder("/nonexistent/bin/"), "/home/someone/.cfg/mirasketch/");
  setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
  const char* home = std::getenv("HOME");
  const std::string oldHome = home != nullptr ? home : "";
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(SettingsFolder("/nonexistent/bin/"), "/home/someone/.config/mirasketch/");
  setenv("HOME", oldHome.c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace mirasketch::test

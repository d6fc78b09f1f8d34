// What the program keeps between runs: the settings file read at the main window's first show, in
// the order the windows are initialised, and written at a confirmed exit.

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/io_error.h"
#include "shell/studio.h"

namespace mirasketch {

namespace {

constexpr const char* kTool = "ToolSetting";
constexpr const char* kWindow = "Window";
constexpr const char* kEnv = "EnvSetting";
constexpr const char* kHistory = "FileHistory";
constexpr const char* kTransformHistory = "TransPastOpenFolder";

std::string Numbered(const char* base, std::size_t i) {
  return base + std::to_string(i);
}

// A stamp index as the tools can use it.
std::int32_t Stamp(const SettingsFile& file, const char* key, int fallback) {
  return std::clamp(file.ReadInteger(kTool, key, fallback), 0, 127);
}

template <std::size_t N>
void ReadList(const SettingsFile& file, const char* base, std::array<std::string, N>& list) {
  for (std::size_t i = 0; i < N; ++i) list[i] = file.ReadString(kHistory, Numbered(base, i), "");
}

template <std::size_t N>
void WriteList(SettingsFile& file, const char* base, const std::array<std::string, N>& list) {
  for (std::size_t i = 0; i < N; ++i) file.WriteString(kHistory, Numbered(base, i), list[i]);
}

}  // namespace

std::string SettingsFolder(const std::string& programDir) {
  if (programDir.empty() || access(programDir.c_str(), W_OK) == 0) return programDir;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (config != nullptr && config[0] == '/') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home != nullptr ? home : "") + "/.config";
  }
  return base + "/mirasketch/";
}

void Studio::LoadSettings() {
  settingsDir = SettingsFolder(programDir);
  settingsFile = SettingsFile(programDir.empty() ? std::string() : settingsDir + "korvel.ini");
  settingsFile.Load();
  const SettingsFile& f = settingsFile;
  int screenWidth = 0, screenHeight = 0;
  platform.ScreenSize(screenWidth, screenHeight);

  // Out-of-range values from a damaged file are held to what the tools and panels can show.
  ToolSettings& s = toolEngine.settings;
  s.drawColor = static_cast<std::uint32_t>(f.ReadInteger(kTool, "LastColor", 0)) & 0xFFFFFF;
  s.rightButtonMode = std::clamp(f.ReadInteger(kTool, "PenEraseRbtnChg", 0), 0, 2);
  s.eraseColor = static_cast<std::uint32_t>(f.ReadInteger(kTool, "EraseCol", 0xFFFFFF)) & 0xFFFFFF;
  s.eraseSize = std::clamp(f.ReadInteger(kTool, "EraseSize", 2), 1, 6);
  s.shapeCenter = f.ReadBool(kTool, "ShapeCenter", false);
  s.shapeFill = f.ReadBool(kTool, "ShapeFill", false);
  s.brushBrush = Stamp(f, "BrushUse", 0);
  s.airBrush = Stamp(f, "AirBrushUse", 0);
  s.averageBrush = Stamp(f, "AverageBrushUse", 8);
  s.shapeBrush = Stamp(f, "ShapeBrushUse", 0);
  s.contBrush = Stamp(f, "ContBrushUse", 0);
  s.rulerBrush = Stamp(f, "RulerBrushUse", 0);
  s.penLineBrush = Stamp(f, "PenLineBrushUse", 0);
  s.bigBrushMode = std::clamp(f.ReadInteger(kTool, "BigBrushMode", 0), 0, 1);
  // The option window holds values out of range to its defaults when it takes them.
  frmOpt.cursorNumber = f.ReadInteger(kTool, "CursorNumber", 1);
  frmOpt.optionPage = f.ReadInteger(kTool, "OptionOption", 0);

  places.RestorePosition(WindowId::frmMain, f, screenWidth, screenHeight);
  frmM.InitAfterSettings();
  places.RestoreBounds(WindowId::frmM, f, screenWidth, screenHeight);
  frmC.InitToolPanel();
  places.RestorePosition(WindowId::frmC, f, screenWidth, screenHeight);
  places.RestorePosition(WindowId::frmMaskSet, f, screenWidth, screenHeight);
  places.RestorePosition(WindowId::frmMaskEff, f, screenWidth, screenHeight);
  frmCol.LoadPalette(settingsDir, f.ReadBool(kTool, "ColPaletteShow", false));
  places.RestorePosition(WindowId::frmCol, f, screenWidth, screenHeight);
  places.RestoreBounds(WindowId::frmPos, f, screenWidth, screenHeight);
  frmOpt.LoadCursors();
  places.RestorePosition(WindowId::frmOpt, f, screenWidth, screenHeight);
  frmL.InitLayerWindow();
  places.RestoreBounds(WindowId::frmL, f, screenWidth, screenHeight);
  for (const WindowRow& row : WindowTable()) views.WindowPlaced(row.id);

  frmM.SetUndoLevels(f.ReadInteger(kEnv, "UndoCount", 2));
  pictureFiles.jpegQuality = std::clamp(f.ReadInteger(kEnv, "JPGSaveQuality", 100), 1, 100);
  // The data files are part of the program and always lie beside it.
  toolEngine.LoadBrushImage(programDir + "brush.bmp", platform);
  rulerTool.LoadRulerData(programDir + "Ruler.dat", platform);

  for (const WindowRow& row : WindowTable()) {
    const char* key = row.placement.visibleKey;
    if (key[0] != '\0')
      frmMain.ShowToolWindow(row.windowSwitch.index, f.ReadBool(kWindow, key, false));
  }

  ReadList(f, "PastFile", frmMain.recentFiles);
  ReadList(f, "PastOpenFolder", frmMain.recentOpenFolders);
  ReadList(f, "PastSaveFolder", frmMain.recentSaveFolders);
  ReadList(f, kTransformHistory, frmT.folderHistory);
}

void Studio::SaveSettings() {
  if (settingsFile.Path().empty()) return;
  SettingsFile& f = settingsFile;
  WriteList(f, "PastFile", frmMain.recentFiles);
  WriteList(f, "PastOpenFolder", frmMain.recentOpenFolders);
  WriteList(f, "PastSaveFolder", frmMain.recentSaveFolders);

  const ToolSettings& s = toolEngine.settings;
  f.WriteInteger(kTool, "PenEraseRbtnChg", s.rightButtonMode);
  f.WriteInteger(kTool, "EraseCol", static_cast<int>(s.eraseColor));
  f.WriteInteger(kTool, "EraseSize", s.eraseSize);
  f.WriteBool(kTool, "ShapeCenter", s.shapeCenter);
  f.WriteBool(kTool, "ShapeFill", s.shapeFill);
  f.WriteInteger(kTool, "BrushUse", s.brushBrush);
  f.WriteInteger(kTool, "AirBrushUse", s.airBrush);
  f.WriteInteger(kTool, "AverageBrushUse", s.averageBrush);
  f.WriteInteger(kTool, "ShapeBrushUse", s.shapeBrush);
  f.WriteInteger(kTool, "ContBrushUse", s.contBrush);
  f.WriteInteger(kTool, "RulerBrushUse", s.rulerBrush);
  f.WriteInteger(kTool, "PenLineBrushUse", s.penLineBrush);
  f.WriteInteger(kTool, "BigBrushMode", s.bigBrushMode);
  f.WriteInteger(kTool, "LastColor", static_cast<int>(s.drawColor));
  f.WriteInteger(kTool, "CursorNumber", frmOpt.cursorNumber);
  f.WriteInteger(kTool, "OptionOption", frmOpt.optionPage);

  places.StorePosition(WindowId::frmMain, f);
  places.StorePosition(WindowId::frmC, f);
  places.StoreBounds(WindowId::frmM, f);
  places.StorePosition(WindowId::frmMaskSet, f);
  places.StorePosition(WindowId::frmMaskEff, f);
  f.WriteBool(kTool, "ColPaletteShow", frmCol.controls.Checked("spbPalShow"));
  places.StorePosition(WindowId::frmCol, f);
  places.StoreBounds(WindowId::frmPos, f);
  places.StorePosition(WindowId::frmOpt, f);
  places.StoreBounds(WindowId::frmL, f);
  for (const WindowRow& row : WindowTable()) {
    const char* key = row.placement.visibleKey;
    if (key[0] != '\0') f.WriteBool(kWindow, key, frmMain.WindowChecked(row.windowSwitch.index));
  }
  f.WriteInteger(kEnv, "UndoCount", frmM.undoLevels);
  f.WriteInteger(kEnv, "JPGSaveQuality", pictureFiles.jpegQuality);
  WriteList(f, kTransformHistory, frmT.folderHistory);

  // A folder that cannot be written must not keep the program from closing: the failure is shown
  // once and the exit goes on.
  std::error_code ignored;
  std::filesystem::create_directories(settingsDir, ignored);
  std::string failure;
  try {
    frmCol.SavePalette(settingsDir);
  } catch (const IoError& error) {
    failure = error.what();
  }
  try {
    f.Flush();
  } catch (const IoError& error) {
    failure = error.what();
  }
  if (!failure.empty()) platform.ShowMessage(failure);
}

}  // namespace mirasketch

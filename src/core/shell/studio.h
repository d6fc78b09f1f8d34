#pragma once

#include <array>
#include <string>

#include "mask/mask_effect_window.h"
#include "mask/mask_links.h"
#include "mask/mask_tools.h"
#include "mask/mask_window.h"
#include "painting/canvas_links.h"
#include "painting/canvas_window.h"
#include "painting/ink_tool.h"
#include "painting/painting_tools.h"
#include "painting/ruler.h"
#include "painting/tool_engine.h"
#include "painting/tool_links.h"
#include "platform/platform.h"
#include "platform/uniform_random.h"
#include "platform/views.h"
#include "platform/window_table.h"
#include "project/layer_project.h"
#include "project/layer_window.h"
#include "project/picture_file.h"
#include "project/project_links.h"
#include "shell/autosave.h"
#include "shell/colour_window.h"
#include "shell/main_window.h"
#include "shell/option_window.h"
#include "shell/position_window.h"
#include "shell/settings_file.h"
#include "shell/shell_links.h"
#include "shell/tool_panel.h"
#include "shell/window_places.h"
#include "transform/selection.h"
#include "transform/transform_window.h"

namespace mirasketch {

// Owns the state of every module and wires them together in the start-up order: every call
// between windows goes through one of the links interfaces it implements, so a call that nobody
// wired does not compile. Tests and the command-line tool create a fresh one with their own
// platform and drive it as the windows do.
class Studio : private ProjectLinks,
               private ToolLinks,
               private CanvasLinks,
               private MaskLinks,
               private SelectionLinks,
               private ShellLinks {
 public:
  Studio(Platform& platform, Views& views);
  Studio(const Studio&) = delete;
  Studio& operator=(const Studio&) = delete;

  // The main window's first show: the start-up project, the settings (defaults until the settings
  // file is read), the brush sheet, the ruler templates and the palette from `programDir`, the
  // recent lists, and the canvas window and tool panel shown.
  void StartUp() override;

  // Shows or hides a window: through its switch on the main window when it has one, else
  // directly; the window's module learns of it as from its own show or hide.
  void ShowWindow(WindowId window, bool visible);
  // A window of the program became the active one. Leaving the option window for another one
  // applies its snap fields.
  void WindowActivated(WindowId window);

  // The window whose controls the views build and the replay drives, by window; null for a
  // window that has none.
  ControlWindow* Controls(WindowId window) const {
    return controlWindows_[static_cast<std::size_t>(window)];
  }
  // The caption a window shows now: the canvas window's names its picture, the others keep the
  // caption of their design.
  std::string Caption(WindowId window) const;

  // Reads the settings file (from `settingsDir`) into the tool settings, the windows' places and
  // visibility, the undo levels, the JPEG quality and the recent lists, and the data files from
  // `programDir`, in the order the windows are initialised.
  void LoadSettings();
  // The user moved or sized a window, or minimised, maximised or restored it.
  void WindowMoved(WindowId window, const WindowBounds& bounds) { places.Moved(window, bounds); }

  // The program's folder with a trailing separator, where its data files are found; empty for
  // the working folder (and then no settings are read or written).
  std::string programDir;
  // Where the settings file and the palette live: `programDir` when it can be written, else the
  // user's configuration folder (see `SettingsFolder`).
  std::string settingsDir;
  SettingsFile settingsFile;
  WindowPlaces places;

  Platform& platform;
  Views& views;
  LayerProject project;
  ToolEngine toolEngine;
  TfrmM frmM;
  TfrmC frmC;
  TfrmCol frmCol;
  TfrmOpt frmOpt;
  TfrmPos frmPos;
  TfrmL frmL;
  InkTool inkTool;
  RulerTool rulerTool;
  MaskTools maskTools;
  TfrmMaskSet frmMaskSet;
  // The program's one generator, seeded from the clock at start-up.
  UniformRandom random;
  TfrmMaskEff frmMaskEff;
  Selection selection;
  PictureFiles pictureFiles;
  TfrmT frmT;
  TfrmMain frmMain;
  // Recovery copies of unsaved work; off until the program enables them.
  Autosave autosave;

 private:
  // ProjectLinks.
  CanvasViewState& CanvasView() override { return frmM.view; }
  Surface* CanvasPaintBox() override { return frmM.paintBox; }
  void SetDrawTarget(CDibTM& layer) override { frmM.SetDrawTarget(layer); }
  void ResetCanvasView() override { frmM.ResetView(); }
  void RestartUndo() override { frmM.SetUndoLevels(frmM.undoLevels); }
  bool SaveBeforeLayerWrite(const CDibTM& layer, int x, int y, int w, int h) override {
    return &layer != &frmM.DrawTarget() || frmM.SaveBeforeWrite(x, y, w, h);
  }
  void SetCanvasCaption(const std::string& caption) override;
  int CurrentTool() const override { return toolEngine.settings.currentTool; }
  CDib256& WorkPlane() override { return toolEngine.workPlane; }
  CDibTM& WorkLayer() override { return toolEngine.workLayer; }
  void DeactivateCurrentTool() override { toolEngine.DeactivateCurrentTool(); }
  void ActivateCurrentTool() override { toolEngine.ActivateCurrentTool(); }
  void CanvasResized() override;
  void RefreshLayerWindow() override { frmL.RefreshLayerWindow(); }

  // ToolLinks.
  CDibTM& ActiveLayer() override { return frmM.DrawTarget(); }
  void PushUndo() override { frmM.PushUndo(); }
  bool SaveBeforeWrite(int x, int y, int w, int h) override {
    return frmM.SaveBeforeWrite(x, y, w, h);
  }
  const std::uint8_t* SnapshotRun(int x, int y, int& count) const override {
    return frmM.SnapshotRun(x, y, count);
  }
  void RestoreSnapshotRect(int x, int y, int w, int h) override {
    frmM.RestoreSnapshotRect(x, y, w, h);
  }
  void RedrawCanvas() override { frmM.Redraw(); }
  void RedrawVisibleCanvas() override { frmM.RedrawVisible(); }
  void StartRubberBand(int x, int y) override { frmM.StartRubberBand(x, y); }
  void StopRubberBand() override { frmM.rubberBandOn = false; }
  int SelectedBrush() const override { return frmC.selectedBrush; }
  void SetBrushIndex(int stamp) override { frmC.SetBrushIndex(stamp); }
  void SelectTool(int code) override { frmC.SelectTool(code); }
  int TransparencyPosition() const override { return frmCol.TransparencyPosition(); }
  int SliderColour() const override { return frmCol.SliderColour(); }
  void SetTransparencySlider(int t) override { frmCol.SetTransparencySlider(t); }
  void SetDrawColour(int colour) override { frmCol.SetDrawColour(colour); }
  void ShowRectReadout(int line, int x1, int y1, int x2, int y2) override {
    frmOpt.ShowRectReadout(line, x1, y1, x2, y2);
  }
  void ShowBoxReadout(int line, int x, int y, int w, int h) override {
    frmOpt.ShowBoxReadout(line, x, y, w, h);
  }
  void ShowReadout(int line, const std::string& text) override { frmOpt.ShowReadout(line, text); }
  void ClearReadouts() override { frmOpt.ClearReadouts(); }

  // CanvasLinks (besides those shared with the other links).
  void CanvasHidden() override { frmMain.WindowHidden(WindowId::frmM); }
  void ShowPointer(int x, int y) override { frmOpt.ShowPointer(x, y); }
  void RefreshPositionRect(int x, int y, int w, int h) override {
    frmPos.RefreshPositionRect(x, y, w, h);
  }
  void ResizePositionToCanvas() override { frmPos.ResizeToCanvas(); }
  void ProjectChangeEnded() override { autosave.ChangeEnded(); }
  void ProjectChangesGone() override { autosave.RemoveCopy(); }
  void RecomposeAndRefreshPosition() override { frmPos.RecomposeAndRefreshPosition(); }

  // MaskLinks.
  std::array<std::uint8_t, 256>& ColourRange() override { return frmMaskSet.colourRange; }
  void ColourRangeChanged() override { views.WindowChanged(WindowId::frmMaskSet); }
  int DropperWidth() const override { return frmMaskSet.controls.Position("sbSpoite"); }
  void SetStrengthBar(int value) override { frmMaskSet.sbDwPowChange(value); }
  void SetDisplayMode(int mode) override { frmM.view.displayMode = mode; }
  void RedrawCanvasWithMode(int mode) override { frmM.RedrawWithMode(mode); }
  void MoveEffectCentre(int dx, int dy) override { frmMaskEff.MoveEffectCentre(dx, dy); }
  void ShowMaskEffectWindow() override { ShowWindow(WindowId::frmMaskEff, true); }

  // SelectionLinks.
  void ShowCanvasWindow() override { ShowWindow(WindowId::frmM, true); }
  void ShowPointReadout(int line, const std::string& prefix, int a, int b) override {
    frmOpt.ShowPointReadout(line, prefix, a, b);
  }
  void OpenTransformWindow(bool withPiece, int width, int height) override;

  // ShellLinks.
  void SaveSettings() override;
  void WindowSwitched(WindowId window, bool visible) override;
  void WindowHidden(WindowId window) override { frmMain.WindowHidden(window); }
  void ResizeCanvas(int width, int height) override;
  void ShowMaskWindow() override;
  void CutOrCopy(int mode) override { selection.CutOrCopy(mode); }
  void PasteFromClipboard() override { selection.PasteFromClipboard(); }
  void SelectAction(int action) override { selection.SelectAction(action); }
  void OpenTransform() override { selection.OpenTransform(); }
  void SetPieceMaskTransparent(bool transparent) override {
    selection.pieceMaskTransparent = transparent;
  }
  void EndFloatingPiece() override { selection.EndFloatingPiece(); }
  void RefreshPosition() override { frmPos.RefreshPosition(); }

  PaintingTools paintingTools_;
  WindowId activeWindow_ = WindowId::frmMain;
  std::array<ControlWindow*, kWindowCount> controlWindows_{};
};

}  // namespace mirasketch

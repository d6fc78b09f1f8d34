#include "shell/studio.h"

#include "platform/io_error.h"

namespace mirasketch {

namespace {

const char* PanelCheckName(PanelCheck box) {
  switch (box) {
    case PanelCheck::kBrushSpace:
      return "chkBrushSpace";
    case PanelCheck::kAveBrushOnPut:
      return "chkAveBrushOnPut";
    case PanelCheck::kPenLineSpline:
      return "chkPenLineSpline";
    case PanelCheck::kPenLineNoLook:
      return "chkPenLineNoLook";
  }
  return "chkBrushSpace";
}

}  // namespace

Studio::Studio(Platform& platformIn, Views& viewsIn)
    : platform(platformIn),
      views(viewsIn),
      project(platformIn, *this),
      toolEngine(project, *this),
      frmM(project, toolEngine, platformIn, viewsIn),
      frmC(toolEngine, frmM, platformIn, viewsIn),
      frmCol(toolEngine, platformIn, viewsIn),
      frmOpt(viewsIn),
      frmL(project),
      pictureFiles(project, platformIn),
      frmMain(project, pictureFiles, frmM, toolEngine, platformIn, viewsIn, programDir) {
  frmM.hooks.hidden = [this] { frmMain.ShowToolWindow(0, false); };
  frmM.hooks.pickColour = [this](int colour) { frmCol.SetDrawColour(colour); };
  frmM.hooks.showPointer = [this](int x, int y) { frmOpt.ShowPointer(x, y); };
  frmM.hooks.clearReadouts = [this] { frmOpt.ClearReadouts(); };
  frmCol.hidden = [this] { frmMain.ShowToolWindow(1, false); };
  frmMain.hooks.startUp = [this] { StartUp(); };
  frmMain.hooks.windowSwitched = [this](int index, bool visible) {
    if (index == 1 && visible) frmCol.FormShow();
    if (index == 3) frmOpt.visible = visible;
  };
  frmMain.hooks.saveSettings = [this] {
    if (programDir.empty()) return;
    // A program folder that cannot be written must not keep the program from closing: the
    // failure is shown and the exit goes on.
    try {
      frmCol.SavePalette(programDir);
    } catch (const IoError& error) {
      platform.ShowMessage(error.what());
    }
  };
}

bool Studio::PanelChecked(PanelCheck box) const {
  return frmC.controls.Checked(PanelCheckName(box));
}

void Studio::SetPanelChecked(PanelCheck box, bool checked) {
  frmC.controls.SetChecked(PanelCheckName(box), checked);
  views.WindowChanged(WindowId::frmC);
}

void Studio::SetCanvasCaption(const std::string& caption) {
  frmM.caption = caption;
  views.WindowChanged(WindowId::frmM);
}

void Studio::StartUp() {
  project.InitLayers();
  // The settings' defaults until the settings file is read: the tool panel laid out, the
  // palette, two undo levels, the JPEG quality, the brush sheet, the end of the canvas window's
  // start-up suspension.
  frmM.InitAfterSettings();
  frmM.ResetView();  // the paint box takes the start-up canvas's size
  frmC.InitToolPanel();
  frmCol.LoadPalette(programDir, false);
  frmM.SetUndoLevels(2);
  pictureFiles.jpegQuality = 100;
  toolEngine.LoadBrushImage(programDir + "brush.bmp", platform);
  frmMain.ShowToolWindow(0, true);
  views.ShowWindow(WindowId::frmC, true);
  frmM.Redraw();
}

}  // namespace mirasketch

#include "shell/studio.h"

namespace mirasketch {

Studio::Studio(Platform& platformIn, Views& viewsIn)
    : platform(platformIn),
      views(viewsIn),
      project(platformIn, *this),
      toolEngine(project),
      frmM(project, toolEngine, platformIn, viewsIn),
      frmL(project),
      pictureFiles(project, platformIn),
      frmMain(project, pictureFiles, frmM, toolEngine, platformIn, viewsIn) {
  frmM.hooks.hidden = [this] { frmMain.ShowToolWindow(0, false); };
  // Until the colour window exists the picked colour goes straight to the tool settings.
  frmM.hooks.pickColour = [this](int colour) { toolEngine.drawColor = colour; };
  frmMain.hooks.startUp = [this] { StartUp(); };
}

void Studio::SetCanvasCaption(const std::string& caption) {
  frmM.caption = caption;
  views.WindowChanged(WindowId::frmM);
}

void Studio::StartUp() {
  project.InitLayers();
  // The settings' defaults: two undo levels, the JPEG quality, the end of the canvas window's
  // start-up suspension.
  frmM.SetUndoLevels(2);
  pictureFiles.jpegQuality = 100;
  frmM.InitAfterSettings();
  frmMain.ShowToolWindow(0, true);
  views.ShowWindow(WindowId::frmC, true);
  frmM.Redraw();
}

}  // namespace mirasketch

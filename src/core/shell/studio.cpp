#include "shell/studio.h"

#include "platform/io_error.h"
#include "project/size_ops.h"

namespace mirasketch {

Studio::Studio(Platform& platformIn, Views& viewsIn)
    : platform(platformIn),
      views(viewsIn),
      project(platformIn, *this),
      toolEngine(project, *this),
      frmM(project, toolEngine, platformIn, viewsIn, *this),
      frmC(toolEngine, frmM, platformIn, viewsIn, *this),
      frmCol(toolEngine, platformIn, viewsIn, *this),
      frmOpt(frmM, toolEngine, viewsIn, *this),
      frmPos(project, frmM, viewsIn, *this),
      frmL(project, platformIn, viewsIn),
      maskTools(toolEngine, *this),
      frmMaskSet(maskTools, toolEngine, *this, viewsIn),
      frmMaskEff(maskTools, frmMaskSet, toolEngine, *this, platformIn, random, viewsIn),
      selection(toolEngine, frmM.view, platformIn, *this),
      pictureFiles(project, platformIn),
      frmT(toolEngine, selection, pictureFiles, platformIn, viewsIn, random),
      frmMain(project, pictureFiles, frmM, toolEngine, platformIn, viewsIn, *this, programDir),
      autosave(project, pictureFiles, frmM, toolEngine, platformIn) {
  paintingTools_.Register(toolEngine);
  inkTool.Register(toolEngine);
  rulerTool.Register(toolEngine);
  maskTools.Register();
  selection.Register();
  controlWindows_[static_cast<std::size_t>(WindowId::frmMain)] = &frmMain;
  controlWindows_[static_cast<std::size_t>(WindowId::frmC)] = &frmC;
  controlWindows_[static_cast<std::size_t>(WindowId::frmCol)] = &frmCol;
  controlWindows_[static_cast<std::size_t>(WindowId::frmPos)] = &frmPos;
  controlWindows_[static_cast<std::size_t>(WindowId::frmOpt)] = &frmOpt;
  controlWindows_[static_cast<std::size_t>(WindowId::frmL)] = &frmL;
  controlWindows_[static_cast<std::size_t>(WindowId::frmMaskSet)] = &frmMaskSet;
  controlWindows_[static_cast<std::size_t>(WindowId::frmMaskEff)] = &frmMaskEff;
  controlWindows_[static_cast<std::size_t>(WindowId::frmT)] = &frmT;
}

std::string Studio::Caption(WindowId window) const {
  return window == WindowId::frmM ? frmM.caption : WindowInfo(window).caption;
}

void Studio::SetCanvasCaption(const std::string& caption) {
  frmM.caption = caption;
  views.WindowChanged(WindowId::frmM);
}

void Studio::StartUp() {
  random.Seed(static_cast<std::uint64_t>(platform.ClockMilliseconds()));
  project.InitLayers();
  frmM.ResetView();  // the paint box takes the start-up canvas's size
  LoadSettings();
  frmMain.ShowToolWindow(0, true);
  views.ShowWindow(WindowId::frmC, true);
  frmM.Redraw();
}

void Studio::WindowActivated(WindowId window) {
  // Leaving the option window is what makes its typed snap steps count.
  if (activeWindow_ == WindowId::frmOpt && window != WindowId::frmOpt) frmOpt.ApplySnapSettings();
  activeWindow_ = window;
}

void Studio::WindowSwitched(WindowId window, bool visible) {
  switch (window) {
    case WindowId::frmM:
      frmM.visible = visible;
      break;
    case WindowId::frmCol:
      if (visible) frmCol.FormShow();
      break;
    case WindowId::frmOpt:
      frmOpt.visible = visible;
      break;
    case WindowId::frmPos:
      frmPos.visible = visible;
      if (visible) frmPos.FormShow();
      break;
    case WindowId::frmL:
      frmL.visible = visible;
      if (visible) frmL.FormShow();
      break;
    case WindowId::frmMaskSet:
      if (visible)
        frmMaskSet.FormActivate();
      else
        frmMaskSet.FormHide();
      break;
    case WindowId::frmT:
      frmT.visible = visible;
      break;
    case WindowId::frmMaskEff:
      if (visible)
        frmMaskEff.FormActivate();
      else
        frmMaskEff.FormHide();
      break;
    default:
      break;
  }
}

void Studio::OpenTransformWindow(bool withPiece, int width, int height) {
  if (withPiece) frmT.LoadPiece(toolEngine.workLayer, width, height);
  ShowWindow(WindowId::frmT, true);
}

void Studio::ResizeCanvas(int width, int height) {
  mirasketch::ResizeCanvas(project, width, height);
}

void Studio::CanvasResized() {
  frmM.SetZoom(frmM.view.zoom);
  frmPos.ResizeToCanvas();
}

void Studio::ShowMaskWindow() {
  if (!frmMaskSet.visible) ShowWindow(WindowId::frmMaskSet, true);
}

void Studio::ShowWindow(WindowId window, bool visible) {
  const int index = WindowInfo(window).windowSwitch.index;
  if (index >= 0) {
    frmMain.ShowToolWindow(index, visible);
    return;
  }
  views.ShowWindow(window, visible);
  WindowSwitched(window, visible);
}

}  // namespace mirasketch

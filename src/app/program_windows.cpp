#include "program_windows.h"

#include "app_views.h"
#include "shell/studio.h"

namespace mirasketch {

namespace {

// The hide notice of a window that has a switch on the main window (2 position, 3 option,
// 4 layer); the colour window tells its own core window.
std::function<void()> SwitchOff(Studio& studio, int index) {
  return [&studio, index] { studio.frmMain.ShowToolWindow(index, false); };
}

}  // namespace

ProgramWindows::ProgramWindows(Studio& studio, AppViews& appViews)
    : views(appViews),
      main(studio.frmMain, appViews),
      canvas(studio.frmM, appViews),
      toolPanel(studio.frmC, appViews),
      colour(studio.frmCol, appViews),
      maskEffect(kMaskEffectWindowLayout, appViews, nullptr),
      option(kOptionWindowLayout, appViews, SwitchOff(studio, 3)),
      position(kPositionWindowLayout, appViews, SwitchOff(studio, 2)),
      mask(kMaskWindowLayout, appViews, nullptr),
      layer(kLayerWindowLayout, appViews, SwitchOff(studio, 4)),
      transform(kTransformWindowLayout, appViews, nullptr) {
  views.Attach(WindowId::frmMain, &main, [this] { main.ReadState(); });
  views.Attach(WindowId::frmM, &canvas, [this] { canvas.ReadState(); });
  views.Attach(WindowId::frmC, &toolPanel, [this] { toolPanel.ReadState(); });
  views.Attach(WindowId::frmCol, &colour, [this] { colour.ReadState(); });
  views.Attach(WindowId::frmPos, &position, nullptr);
  views.Attach(WindowId::frmOpt, &option, nullptr);
  views.Attach(WindowId::frmL, &layer, nullptr);
}

ProgramWindows::~ProgramWindows() {
  views.BeginShutdown();
}

}  // namespace mirasketch

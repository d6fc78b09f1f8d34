#include "program_windows.h"

#include <QEvent>

#include "app_views.h"
#include "shell/studio.h"

namespace mirasketch {

namespace {

// Creates the view of one window and registers it with the views.
std::unique_ptr<QWidget> CreateView(const WindowRow& design, Studio& studio, AppViews& views) {
  auto attach = [&views, &design](auto view) {
    auto* widget = view.get();
    views.Attach(design.id, widget, [widget] { widget->ReadState(); });
    return std::unique_ptr<QWidget>(std::move(view));
  };
  switch (design.id) {
    case WindowId::frmMain:
      return attach(std::make_unique<MainWindowView>(studio.frmMain, views));
    case WindowId::frmM:
      return attach(std::make_unique<CanvasWindowView>(studio.frmM, views));
    case WindowId::frmC:
      return attach(std::make_unique<ToolPanelView>(studio.frmC, views));
    case WindowId::frmCol:
      return attach(std::make_unique<ColourWindowView>(studio.frmCol, views));
    case WindowId::frmPos:
      return attach(std::make_unique<PositionWindowView>(studio.frmPos, views));
    case WindowId::frmL:
      return attach(std::make_unique<LayerWindowView>(studio.frmL, views));
    case WindowId::frmOpt:
      return attach(std::make_unique<OptionWindowView>(studio.frmOpt, views));
    case WindowId::frmMaskSet:
      return attach(std::make_unique<MaskWindowView>(studio.frmMaskSet, views));
    case WindowId::frmMaskEff: {
      TfrmMaskEff& window = studio.frmMaskEff;
      return attach(std::make_unique<ActivatedWindowView>(
          design, window, views,
          [&window](bool active) {
            if (active)
              window.FormActivate();
            else
              window.FormDeactivate();
          },
          [&window] { window.FormHide(); }));
    }
    case WindowId::frmT:
      return attach(std::make_unique<TransformWindowView>(studio.frmT, views));
    default: {
      // A window whose controls come later: its frame, and its switch follows its hiding.
      const WindowId id = design.id;
      auto frame = std::make_unique<ToolWindowView>(
          design, views, [&studio, id] { studio.frmMain.WindowHidden(id); });
      views.Attach(id, frame.get(), nullptr);
      return frame;
    }
  }
}

std::array<std::unique_ptr<QWidget>, kWindowCount> CreateViews(Studio& studio, AppViews& views) {
  std::array<std::unique_ptr<QWidget>, kWindowCount> windows;
  for (const WindowRow& design : WindowTable())
    windows[static_cast<std::size_t>(design.id)] = CreateView(design, studio, views);
  return windows;
}

}  // namespace

// The window is told through a property, so one filter serves every window.
void ProgramWindows::ActivationWatcher::Watch(WindowId window, QWidget& widget) {
  widget.setProperty("mirasketchWindowId", static_cast<int>(window));
  widget.installEventFilter(this);
}

bool ProgramWindows::ActivationWatcher::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::WindowActivate && !views_.ShuttingDown()) {
    const auto window = static_cast<WindowId>(watched->property("mirasketchWindowId").toInt());
    views_.Forward([this, window] { studio_.WindowActivated(window); });
  }
  return false;
}

ProgramWindows::ProgramWindows(Studio& studio, AppViews& appViews)
    : views(appViews),
      windows_(CreateViews(studio, appViews)),
      activation_(studio, appViews),
      main(static_cast<MainWindowView&>(Window(WindowId::frmMain))),
      canvas(static_cast<CanvasWindowView&>(Window(WindowId::frmM))),
      toolPanel(static_cast<ToolPanelView&>(Window(WindowId::frmC))),
      colour(static_cast<ColourWindowView&>(Window(WindowId::frmCol))),
      position(static_cast<PositionWindowView&>(Window(WindowId::frmPos))),
      layer(static_cast<LayerWindowView&>(Window(WindowId::frmL))),
      mask(static_cast<MaskWindowView&>(Window(WindowId::frmMaskSet))),
      option(static_cast<OptionWindowView&>(Window(WindowId::frmOpt))),
      transform(static_cast<TransformWindowView&>(Window(WindowId::frmT))) {
  appViews.AttachStudio(&studio);
  for (const WindowRow& design : WindowTable()) activation_.Watch(design.id, Window(design.id));
}

ProgramWindows::~ProgramWindows() {
  views.BeginShutdown();
}

}  // namespace mirasketch

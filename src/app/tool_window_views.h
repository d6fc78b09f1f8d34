#pragma once

#include <QWidget>
#include <functional>

namespace mirasketch {

class AppViews;

// How a floating window looks when it is created: its name, caption, client size, place, window
// kind and whether the user may resize or close it.
struct ToolWindowLayout {
  const char* name;
  const char* caption;
  int clientWidth;
  int clientHeight;
  int left;
  int top;
  bool toolWindow;  // a tool window's slim frame; otherwise an ordinary window
  bool resizable;
  bool closable;     // false: a close request is refused
  int minimumWidth;  // for resizable windows, 0 for none
  int minimumHeight;
};

// The tool panel, colour, mask effect, option, position, mask, layer and transform windows, in
// their design layouts.
extern const ToolWindowLayout kToolPanelLayout;
extern const ToolWindowLayout kColourWindowLayout;
extern const ToolWindowLayout kMaskEffectWindowLayout;
extern const ToolWindowLayout kOptionWindowLayout;
extern const ToolWindowLayout kPositionWindowLayout;
extern const ToolWindowLayout kMaskWindowLayout;
extern const ToolWindowLayout kLayerWindowLayout;
extern const ToolWindowLayout kTransformWindowLayout;

// A floating window whose controls come later: its frame, caption, size and place, and the hide
// notice that keeps the main window's switch in step.
class ToolWindowView : public QWidget {
  Q_OBJECT

 public:
  // `hidden` runs when the window is hidden by the user or the program (not when minimised or
  // when the program ends); it may be empty.
  ToolWindowView(const ToolWindowLayout& layout, AppViews& views, std::function<void()> hidden);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  AppViews& views_;
  std::function<void()> hidden_;
  bool closable_;
};

}  // namespace mirasketch

#pragma once

#include <QWidget>
#include <functional>

#include "platform/window_table.h"

namespace mirasketch {

class AppViews;

// A floating window as the window table designs it: its name, caption, client size, place, frame
// and whether the user may resize or close it, with the hide notice that keeps the main window's
// switch in step. The windows whose controls come later are shown as such frames.
class ToolWindowView : public QWidget {
  Q_OBJECT

 public:
  // `hidden` runs, through the views' event door, when the window is hidden by the user or the
  // program (not when minimised or when the program ends); it may be empty.
  ToolWindowView(const WindowRow& design, AppViews& views, std::function<void()> hidden);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void hideEvent(QHideEvent* event) override;

  AppViews& views_;

 private:
  std::function<void()> hidden_;
  bool closable_;
};

// Applies a window's designed caption, size, size limits and place to its widget.
void ApplyDesign(QWidget& window, const WindowRow& design);

}  // namespace mirasketch

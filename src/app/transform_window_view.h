#pragma once

#include <vector>

#include "control_window_view.h"
#include "tool_window_views.h"

class QAction;
class QMenuBar;

namespace mirasketch {

class TfrmT;

// The transform window: its menu bar over the client area, which shows the picture the core
// paints ("Canvas") and passes the pointer on; a resize tells the core the new client size.
class TransformWindowView : public ToolWindowView {
  Q_OBJECT

 public:
  TransformWindowView(TfrmT& window, AppViews& views);

  // Reads the menu's check marks and captions and repaints the client area.
  void ReadState();
  PaintBoxView* Canvas() const { return canvas_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  template <typename F>
  void Run(F&& handler);
  // The menu bar across the top, the client area under it.
  void LayOut();

  TfrmT& frm_;
  QMenuBar* bar_ = nullptr;
  PaintBoxView* canvas_ = nullptr;
  std::vector<QAction*> actions_;  // by the window's control index
};

}  // namespace mirasketch

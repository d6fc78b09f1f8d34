#pragma once

#include <QPixmap>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app_views.h"
#include "controls/window_controls.h"
#include "qt_convert.h"
#include "tool_window_views.h"

class QDropEvent;
class QMimeData;
class QMouseEvent;

namespace mirasketch {

// A paint box: shows the picture the core paints for it, with the core's texts on top in the
// widget's font, and passes presses and drops on. A window with more to do in a paint box (drags,
// double clicks) sets the optional handlers.
class PaintBoxView : public QWidget {
  Q_OBJECT

 public:
  PaintBoxView(ControlWindow& window, const ControlSpec& design, QWidget* parent);

  // A press; the window view's default forwards it to the core's MouseDown.
  std::function<void(QMouseEvent*)> pressed;
  std::function<void(QMouseEvent*)> moved;
  std::function<void(QMouseEvent*)> released;
  // A double click, after its second press went to `pressed`.
  std::function<void(QMouseEvent*)> doubleClicked;
  // Whether a drag carrying this data may drop here; unset: no drops.
  std::function<bool(const QMimeData*)> accepts;
  std::function<void(QDropEvent*)> dropped;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  ControlWindow& window_;
  std::string name_;
};

// A floating window built from a core window's control table: one widget per control, named as
// designed and placed inside its parent, in table order (later ones lie on top). Every user event
// goes to the core window by control name; afterwards, and whenever the core says the window
// changed, the widgets re-read the controls' states.
class ControlWindowView : public ToolWindowView {
  Q_OBJECT

 public:
  ControlWindowView(const WindowRow& design, ControlWindow& window, AppViews& views,
                    std::function<void()> hidden);

  // The data of a drag started in paint box `paintBox` of window `window` (design names), and
  // the window and paint box a drag of this running program started in (nothing for other data).
  static QMimeData* DragData(std::string_view window, std::string_view paintBox);
  static std::optional<std::pair<std::string, std::string>> DragSource(const QMimeData* data);

  // Starts the drag of one of this window's paint boxes; replaceable so that tests need not run
  // the drag's own event loop. Drops on every paint box go to the core window, which decides
  // which drags it takes.
  std::function<void(const std::string& paintBox)> startDrag;

  // Makes every widget show its control's state: down, position, caption, visibility; repaints
  // the paint boxes. Signals stay blocked meanwhile, so nothing is sent back to the core.
  virtual void ReadState();

  // The widget of a control, null when the window has none of that name.
  QWidget* Control(std::string_view name) const;
  PaintBoxView* PaintBoxOf(std::string_view name) const;

 protected:
  // The picture a drag of `paintBox` carries under the pointer; none unless a window says.
  virtual QPixmap DragPixmap(const std::string& paintBox) const;

  // Runs a core handler through the views' event door, then re-reads the state.
  template <typename F>
  void Forward(F&& handler) {
    views_.Forward(handler);
    ReadState();
  }

  ControlWindow& window_;

 private:
  QWidget* Create(const ControlSpec& design, QWidget* parent);
  void ReadControl(const ControlSpec& design, const ControlState& state, QWidget* widget);
  void RunDrag(const std::string& paintBox);

  std::string designName_;
  std::vector<QWidget*> widgets_;  // by the controls' table index
};

}  // namespace mirasketch

#include "colour_window_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QShowEvent>

#include "shell/colour_window.h"
#include "tool_glyphs.h"

namespace mirasketch {

ColourWindowView::ColourWindowView(TfrmCol& frmCol, AppViews& views)
    : ControlWindowView(WindowInfo(WindowId::frmCol), frmCol, views,
                        [&frmCol] { frmCol.FormHide(); }),
      frmCol_(frmCol) {
  if (auto* swatch = PaintBoxOf("pbxCol")) {
    auto forward = swatch->pressed;
    swatch->pressed = [this, forward](QMouseEvent* event) {
      swatchPressed_ = event->button() == Qt::LeftButton;
      swatchPress_ = event->position().toPoint();
      if (forward) forward(event);
    };
    swatch->moved = [this](QMouseEvent* event) {
      if (!swatchPressed_ || !(event->buttons() & Qt::LeftButton)) return;
      const QPoint travel = event->position().toPoint() - swatchPress_;
      if (travel.manhattanLength() < QApplication::startDragDistance()) return;
      swatchPressed_ = false;
      startDrag("pbxCol");
    };
    swatch->released = [this](QMouseEvent*) { swatchPressed_ = false; };
  }
  if (auto* palette = PaintBoxOf("pbxPalette")) {
    palette->pressed = [this](QMouseEvent* event) {
      if (CoreButton(event->button()) < 0) return;
      const QPoint at = event->position().toPoint();
      const int shift = CoreShiftState(event->modifiers());
      bool armed = false;
      Forward([&] { armed = frmCol_.pbxPaletteMouseDown(at.x(), at.y(), shift); });
      paletteDragArmed_ = armed && event->button() == Qt::LeftButton;
      palettePress_ = at;
    };
    palette->moved = [this](QMouseEvent* event) {
      if (!paletteDragArmed_ || !(event->buttons() & Qt::LeftButton)) return;
      if (event->position().toPoint() == palettePress_) return;
      paletteDragArmed_ = false;
      startDrag("pbxPalette");
    };
    palette->released = [this](QMouseEvent*) { paletteDragArmed_ = false; };
    palette->doubleClicked = [this](QMouseEvent*) {
      paletteDragArmed_ = false;
      Forward([this] { frmCol_.pbxPaletteDblClick(); });
    };
  }
  if (auto* toggle = qobject_cast<QAbstractButton*>(Control("spbPalShow"))) {
    toggle->setIcon(PaletteGlyph());
    toggle->setIconSize(QSize(16, 16));
  }
  ColourWindowView::ReadState();
}

void ColourWindowView::ReadState() {
  ControlWindowView::ReadState();
  const QSize client(frmCol_.clientWidth, frmCol_.clientHeight);
  if (size() != client) setFixedSize(client);
}

void ColourWindowView::showEvent(QShowEvent* event) {
  ControlWindowView::showEvent(event);
  if (event->spontaneous()) return;
  Forward([this] { frmCol_.FormShow(); });
}

QPixmap ColourWindowView::DragPixmap(const std::string&) const {
  // The dragged colour is the drawing colour: a palette press has just made its entry the
  // drawing colour.
  const int colour = frmCol_.SliderColour();
  QPixmap chip(16, 13);
  chip.fill(QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
  return chip;
}

}  // namespace mirasketch

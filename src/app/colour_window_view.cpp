#include "colour_window_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>
#include <QShowEvent>

#include "shell/colour_window.h"
#include "tool_glyphs.h"

namespace mirasketch {

namespace {

// The data type of a colour drag: "<source tag> <process id>", so that a drag from another
// running copy of the program is not taken for one of ours.
constexpr const char* kDragType = "application/x-mirasketch-colour-drag";

}  // namespace

QMimeData* ColourWindowView::DragData(int sourceTag) {
  auto* data = new QMimeData;
  data->setData(kDragType, QByteArray::number(sourceTag) + ' ' +
                               QByteArray::number(QCoreApplication::applicationPid()));
  return data;
}

int ColourWindowView::DragSource(const QMimeData* data) {
  if (data == nullptr || !data->hasFormat(kDragType)) return -1;
  const QList<QByteArray> fields = data->data(kDragType).split(' ');
  if (fields.size() != 2) return -1;
  bool tagOk = false;
  bool pidOk = false;
  const int tag = fields[0].toInt(&tagOk);
  const qint64 pid = fields[1].toLongLong(&pidOk);
  if (!tagOk || !pidOk || pid != QCoreApplication::applicationPid()) return -1;
  return tag == 0 || tag == 1 ? tag : -1;
}

ColourWindowView::ColourWindowView(TfrmCol& frmCol, AppViews& views)
    : ControlWindowView(WindowInfo(WindowId::frmCol), frmCol, views,
                        [&frmCol] { frmCol.FormHide(); }),
      startDrag([this](int sourceTag) { RunDrag(sourceTag); }),
      frmCol_(frmCol) {
  if (auto* swatch = PaintBoxOf("pbxCol")) {
    const int tag = frmCol.Controls().Spec("pbxCol").tag;
    auto forward = swatch->pressed;
    swatch->pressed = [this, forward](QMouseEvent* event) {
      swatchPressed_ = event->button() == Qt::LeftButton;
      swatchPress_ = event->position().toPoint();
      if (forward) forward(event);
    };
    swatch->moved = [this, tag](QMouseEvent* event) {
      if (!swatchPressed_ || !(event->buttons() & Qt::LeftButton)) return;
      const QPoint travel = event->position().toPoint() - swatchPress_;
      if (travel.manhattanLength() < QApplication::startDragDistance()) return;
      swatchPressed_ = false;
      startDrag(tag);
    };
    swatch->released = [this](QMouseEvent*) { swatchPressed_ = false; };
  }
  if (auto* palette = PaintBoxOf("pbxPalette")) {
    const int tag = frmCol.Controls().Spec("pbxPalette").tag;
    palette->pressed = [this](QMouseEvent* event) {
      if (CoreButton(event->button()) < 0) return;
      const QPoint at = event->position().toPoint();
      const int shift = CoreShiftState(event->modifiers());
      bool armed = false;
      Forward([&] { armed = frmCol_.pbxPaletteMouseDown(at.x(), at.y(), shift); });
      paletteDragArmed_ = armed && event->button() == Qt::LeftButton;
      palettePress_ = at;
    };
    palette->moved = [this, tag](QMouseEvent* event) {
      if (!paletteDragArmed_ || !(event->buttons() & Qt::LeftButton)) return;
      if (event->position().toPoint() == palettePress_) return;
      paletteDragArmed_ = false;
      startDrag(tag);
    };
    palette->released = [this](QMouseEvent*) { paletteDragArmed_ = false; };
    palette->doubleClicked = [this](QMouseEvent*) {
      paletteDragArmed_ = false;
      Forward([this] { frmCol_.pbxPaletteDblClick(); });
    };
    palette->setAcceptDrops(true);
    palette->accepts = [](const QMimeData* data) { return DragSource(data) >= 0; };
    palette->dropped = [this](QDropEvent* event) {
      const int source = DragSource(event->mimeData());
      if (source < 0) return;
      const QPoint at = event->position().toPoint();
      Forward([&] { frmCol_.pbxPaletteDragDrop(source, at.x(), at.y()); });
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

void ColourWindowView::RunDrag(int sourceTag) {
  const int swatchTag = frmCol_.Controls().Spec("pbxCol").tag;
  QWidget* source = Control(sourceTag == swatchTag ? "pbxCol" : "pbxPalette");
  if (source == nullptr) return;
  auto* drag = new QDrag(source);
  drag->setMimeData(DragData(sourceTag));
  // The dragged colour is the drawing colour: a palette press has just made its entry the
  // drawing colour.
  const int colour = frmCol_.SliderColour();
  QPixmap chip(16, 13);
  chip.fill(QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
  drag->setPixmap(chip);
  drag->exec(Qt::CopyAction);
}

}  // namespace mirasketch

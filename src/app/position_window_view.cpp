#include "position_window_view.h"

#include <QHideEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QShowEvent>
#include <algorithm>

#include "app_views.h"
#include "qt_convert.h"
#include "shell/position_window.h"
#include "tool_window_views.h"

namespace mirasketch {

PositionWindowView::PositionWindowView(TfrmPos& frmPos, AppViews& views)
    : QAbstractScrollArea(nullptr),
      frm_(frmPos),
      views_(views),
      surface_(buffer_, scrollX_, scrollY_) {
  setWindowFlags(Qt::Window);
  ApplyDesign(*this, WindowInfo(WindowId::frmPos));
  viewport()->setObjectName("pbxA");
  // The viewport shows the buffer as a whole; Qt need not clear it first.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  horizontalScrollBar()->setSingleStep(16);
  verticalScrollBar()->setSingleStep(16);
  frm_.paintBox = &surface_;
  ReadState();
}

PositionWindowView::~PositionWindowView() {
  if (frm_.paintBox == &surface_) frm_.paintBox = nullptr;
}

void PositionWindowView::SizeBuffer() {
  const int w = std::max(4, viewport()->width());
  const int h = std::max(4, viewport()->height());
  if (buffer_.Width() < w || buffer_.Height() != h || buffer_.Width() >= w + 4) buffer_.Alloc(w, h);
  bufferStale_ = true;
}

void PositionWindowView::UpdateScrollBars() {
  QScrollBar* h = horizontalScrollBar();
  QScrollBar* v = verticalScrollBar();
  h->setPageStep(std::max(1, viewport()->width()));
  v->setPageStep(std::max(1, viewport()->height()));
  h->setRange(0, std::max(0, frm_.paintBoxWidth - viewport()->width()));
  v->setRange(0, std::max(0, frm_.paintBoxHeight - viewport()->height()));
  // The bars keep their positions inside the new ranges.
  scrollX_ = h->value();
  scrollY_ = v->value();
}

void PositionWindowView::ReadState() {
  if (frm_.paintBoxWidth != shownWidth_ || frm_.paintBoxHeight != shownHeight_) {
    shownWidth_ = frm_.paintBoxWidth;
    shownHeight_ = frm_.paintBoxHeight;
    UpdateScrollBars();
    bufferStale_ = true;
  }
  viewport()->update();
}

void PositionWindowView::RepaintAll() {
  if (buffer_.Width() == 0) SizeBuffer();
  // Beyond the paint box the window's own background shows.
  const QColor background = palette().color(QPalette::Window);
  buffer_.FillRect(0, 0, buffer_.Width(), buffer_.Height(),
                   MakeColour(background.red(), background.green(), background.blue()));
  views_.Forward([this] { frm_.pbxAPaint(); });
  bufferStale_ = false;
}

void PositionWindowView::paintEvent(QPaintEvent* event) {
  if (bufferStale_) RepaintAll();
  const QImage part = ImageFromDib(buffer_, event->rect());
  if (part.isNull()) return;
  QPainter painter(viewport());
  painter.drawImage(event->rect().topLeft(), part);
}

void PositionWindowView::resizeEvent(QResizeEvent*) {
  SizeBuffer();
  UpdateScrollBars();
  viewport()->update();
}

void PositionWindowView::scrollContentsBy(int, int) {
  scrollX_ = horizontalScrollBar()->value();
  scrollY_ = verticalScrollBar()->value();
  bufferStale_ = true;
  viewport()->update();
}

void PositionWindowView::mousePressEvent(QMouseEvent* event) {
  const int button = CoreButton(event->button());
  if (button < 0) return;
  const QPoint p = event->position().toPoint() + QPoint(scrollX_, scrollY_);
  // Only the paint box takes presses; the background beside a small canvas does not.
  if (p.x() >= frm_.paintBoxWidth || p.y() >= frm_.paintBoxHeight) return;
  views_.Forward([&] { frm_.pbxAMouseDown(ButtonOfNumber(button), p.x(), p.y()); });
}

void PositionWindowView::showEvent(QShowEvent* event) {
  QAbstractScrollArea::showEvent(event);
  bufferStale_ = true;
}

void PositionWindowView::hideEvent(QHideEvent* event) {
  QAbstractScrollArea::hideEvent(event);
  // A minimised window is still open; only a real hide is the window going away.
  if (event->spontaneous() || views_.ShuttingDown()) return;
  views_.Forward([this] { frm_.FormHide(); });
}

}  // namespace mirasketch

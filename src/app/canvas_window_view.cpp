#include "canvas_window_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cstring>

#include "app_views.h"
#include "painting/canvas_window.h"

namespace mirasketch {

PixelRect ScrolledSurface::Shifted(const PixelRect& r) const {
  return {r.x - view_.scrollX, r.y - view_.scrollY, r.width, r.height};
}

void ScrolledSurface::StretchBits(const DibView& dib, const PixelRect& dst, const PixelRect& src) {
  target_.StretchBits(dib, Shifted(dst), src);
}

void ScrolledSurface::FrameRect(const PixelRect& r) {
  target_.FrameRect(Shifted(r));
}

void ScrolledSurface::Line(int x1, int y1, int x2, int y2) {
  target_.Line(x1 - view_.scrollX, y1 - view_.scrollY, x2 - view_.scrollX, y2 - view_.scrollY);
}

int ShiftState(Qt::KeyboardModifiers modifiers, int key) {
  int state = 0;
  if ((modifiers & Qt::ShiftModifier) || key == Qt::Key_Shift) state |= kShiftKey;
  if ((modifiers & Qt::AltModifier) || key == Qt::Key_Alt) state |= kAltKey;
  if ((modifiers & Qt::ControlModifier) || key == Qt::Key_Control) state |= kCtrlKey;
  return state;
}

CanvasWindowView::CanvasWindowView(TfrmM& frmM, AppViews& views)
    : QAbstractScrollArea(nullptr), frm_(frmM), views_(views), surface_(buffer_, frmM.view) {
  setWindowFlags(Qt::Window);
  setObjectName("frmM");
  viewport()->setObjectName("pbxA");
  viewport()->setMouseTracking(true);
  // The viewport shows the buffer as a whole; Qt need not clear it first.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  horizontalScrollBar()->setSingleStep(16);
  verticalScrollBar()->setSingleStep(16);
  resize(279, 295);
  move(380, 130);
  ReadState();
  frm_.paintBox = &surface_;
  views_.AttachCanvas(this);
}

CanvasWindowView::~CanvasWindowView() {
  if (frm_.paintBox == &surface_) frm_.paintBox = nullptr;
}

void CanvasWindowView::ReadState() {
  setWindowTitle(QString::fromStdString(frm_.caption));
}

void CanvasWindowView::SizeBuffer() {
  const int w = std::max(4, viewport()->width());
  const int h = std::max(4, viewport()->height());
  if (buffer_.Width() < w || buffer_.Height() != h || buffer_.Width() >= w + 4) buffer_.Alloc(w, h);
  frm_.view.clientWidth = viewport()->width();
  frm_.view.clientHeight = viewport()->height();
  bufferStale_ = true;
}

void CanvasWindowView::UpdateScrollBars() {
  QScrollBar* h = horizontalScrollBar();
  QScrollBar* v = verticalScrollBar();
  h->setPageStep(std::max(1, viewport()->width()));
  v->setPageStep(std::max(1, viewport()->height()));
  h->setRange(0, frm_.ScrollRangeX());
  v->setRange(0, frm_.ScrollRangeY());
}

void CanvasWindowView::ReadScrollPosition() {
  frm_.view.scrollX = horizontalScrollBar()->value();
  frm_.view.scrollY = verticalScrollBar()->value();
}

void CanvasWindowView::ApplyGeometry() {
  applyingGeometry_ = true;
  UpdateScrollBars();
  horizontalScrollBar()->setValue(frm_.view.scrollX);
  verticalScrollBar()->setValue(frm_.view.scrollY);
  applyingGeometry_ = false;
  // The bars keep the position inside the range; the core learns where they really are.
  UpdateScrollBars();
  ReadScrollPosition();
  bufferStale_ = true;
  viewport()->update();
}

void CanvasWindowView::ShowPainted() {
  if (!painting_) viewport()->update();
}

void CanvasWindowView::RepaintAll() {
  if (buffer_.Width() == 0) SizeBuffer();
  const QColor background = palette().color(QPalette::Window);
  buffer_.FillRect(0, 0, buffer_.Width(), buffer_.Height(),
                   MakeColour(background.red(), background.green(), background.blue()));
  painting_ = true;
  frm_.pbxAPaint();
  painting_ = false;
  bufferStale_ = false;
}

QImage CanvasWindowView::ShownImage() const {
  const int w = std::min(viewport()->width(), buffer_.Width());
  const int h = std::min(viewport()->height(), buffer_.Height());
  if (w <= 0 || h <= 0 || buffer_.Bits() == nullptr) return {};
  QImage image(w, h, QImage::Format_BGR888);
  const std::size_t rowBytes = static_cast<std::size_t>(buffer_.Width()) * 3;
  for (int y = 0; y < h; ++y)
    std::memcpy(image.scanLine(y),
                buffer_.Bits() + static_cast<std::size_t>(buffer_.Height() - 1 - y) * rowBytes,
                static_cast<std::size_t>(w) * 3);
  return image;
}

void CanvasWindowView::paintEvent(QPaintEvent* event) {
  if (bufferStale_) RepaintAll();
  const QRect area = event->rect() & QRect(0, 0, buffer_.Width(), buffer_.Height());
  if (area.isEmpty() || buffer_.Bits() == nullptr) return;
  // The buffer is bottom-up; copy the exposed rows top-down into an image the painter can show.
  QImage part(area.width(), area.height(), QImage::Format_BGR888);
  const std::size_t rowBytes = static_cast<std::size_t>(buffer_.Width()) * 3;
  for (int y = 0; y < area.height(); ++y) {
    const std::size_t row = static_cast<std::size_t>(buffer_.Height() - 1 - (area.y() + y));
    std::memcpy(part.scanLine(y), buffer_.Bits() + row * rowBytes + area.x() * 3,
                static_cast<std::size_t>(area.width()) * 3);
  }
  QPainter painter(viewport());
  painter.drawImage(area.topLeft(), part);
}

void CanvasWindowView::resizeEvent(QResizeEvent*) {
  SizeBuffer();
  UpdateScrollBars();
  ReadScrollPosition();
  viewport()->update();
}

void CanvasWindowView::scrollContentsBy(int, int) {
  if (applyingGeometry_) return;
  ReadScrollPosition();
  bufferStale_ = true;
  viewport()->update();
}

QPoint CanvasWindowView::PaintBoxPoint(const QPoint& viewportPoint) const {
  return viewportPoint + QPoint(frm_.view.scrollX, frm_.view.scrollY);
}

namespace {

bool CanvasButton(Qt::MouseButton qt, MouseButton& button) {
  switch (qt) {
    case Qt::LeftButton:
      button = MouseButton::kLeft;
      return true;
    case Qt::RightButton:
      button = MouseButton::kRight;
      return true;
    case Qt::MiddleButton:
      button = MouseButton::kMiddle;
      return true;
    default:
      return false;
  }
}

}  // namespace

void CanvasWindowView::mousePressEvent(QMouseEvent* event) {
  MouseButton button;
  if (!CanvasButton(event->button(), button)) return;
  const QPoint p = PaintBoxPoint(event->position().toPoint());
  frm_.pbxAMouseDown(button, p.x(), p.y());
}

void CanvasWindowView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = PaintBoxPoint(event->position().toPoint());
  frm_.pbxAMouseMove(p.x(), p.y());
}

void CanvasWindowView::mouseReleaseEvent(QMouseEvent* event) {
  MouseButton button;
  if (!CanvasButton(event->button(), button)) return;
  const QPoint p = PaintBoxPoint(event->position().toPoint());
  frm_.pbxAMouseUp(button, p.x(), p.y());
}

void CanvasWindowView::keyPressEvent(QKeyEvent* event) {
  frm_.FormKeyDown(event->key(), ShiftState(event->modifiers(), event->key()));
  event->accept();
}

void CanvasWindowView::keyReleaseEvent(QKeyEvent* event) {
  frm_.FormKeyUp(event->key(), ShiftState(event->modifiers(), event->key()));
  event->accept();
}

void CanvasWindowView::showEvent(QShowEvent* event) {
  QAbstractScrollArea::showEvent(event);
  frm_.visible = true;
  bufferStale_ = true;
}

void CanvasWindowView::hideEvent(QHideEvent* event) {
  QAbstractScrollArea::hideEvent(event);
  // A minimised window is still open; only a real hide is the window going away.
  if (event->spontaneous() || views_.ShuttingDown()) return;
  frm_.visible = false;
  frm_.FormHide();
}

bool CanvasWindowView::focusNextPrevChild(bool) {
  return false;
}

}  // namespace mirasketch

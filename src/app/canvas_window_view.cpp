#include "canvas_window_view.h"

#include <QBitmap>
#include <QCursor>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "app_views.h"
#include "painting/canvas_cursors.h"
#include "painting/canvas_window.h"
#include "qt_convert.h"
#include "tool_window_views.h"

namespace mirasketch {

namespace {

// A two-colour cursor of the core's pixels: bit 1 of the picture is black where the mask is set.
QCursor CursorOf(const CanvasCursor& cursor) {
  constexpr int n = CanvasCursor::kSize;
  QImage picture(n, n, QImage::Format_Mono);
  picture.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  QImage mask = picture;
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      picture.setPixel(x, y, cursor.Black(x, y) ? 1 : 0);
      mask.setPixel(x, y, cursor.Painted(x, y) ? 1 : 0);
    }
  }
  return QCursor(QBitmap::fromImage(picture), QBitmap::fromImage(mask), cursor.hotX, cursor.hotY);
}

}  // namespace

CanvasWindowView::CanvasWindowView(TfrmM& frmM, AppViews& views)
    : QAbstractScrollArea(nullptr),
      frm_(frmM),
      views_(views),
      surface_(buffer_, frmM.view.scrollX, frmM.view.scrollY) {
  setWindowFlags(Qt::Window);
  ApplyDesign(*this, WindowInfo(WindowId::frmM));
  viewport()->setObjectName("pbxA");
  viewport()->setMouseTracking(true);
  // The viewport shows the buffer as a whole; Qt need not clear it first.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  horizontalScrollBar()->setSingleStep(16);
  verticalScrollBar()->setSingleStep(16);
  ReadState();
  frm_.paintBox = &surface_;
  views_.AttachCanvas(this);
}

CanvasWindowView::~CanvasWindowView() {
  if (frm_.paintBox == &surface_) frm_.paintBox = nullptr;
}

void CanvasWindowView::ReadState() {
  setWindowTitle(QString::fromStdString(frm_.caption));
  if (frm_.pbxACursor == shownCursor_) return;
  shownCursor_ = frm_.pbxACursor;
  if (shownCursor_ >= 1 && shownCursor_ <= kCanvasCursorCount)
    viewport()->setCursor(CursorOf(CanvasCursors()[static_cast<std::size_t>(shownCursor_ - 1)]));
  else
    viewport()->unsetCursor();
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
  views_.Forward([this] { frm_.pbxAPaint(); });
  painting_ = false;
  bufferStale_ = false;
}

QImage CanvasWindowView::ShownImage() const {
  return ImageFromDib(buffer_, viewport()->width(), viewport()->height());
}

void CanvasWindowView::paintEvent(QPaintEvent* event) {
  if (bufferStale_) RepaintAll();
  const QImage part = ImageFromDib(buffer_, event->rect());
  if (part.isNull()) return;
  QPainter painter(viewport());
  painter.drawImage(event->rect().topLeft(), part);
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

void CanvasWindowView::mousePressEvent(QMouseEvent* event) {
  const int button = CoreButton(event->button());
  if (button < 0) return;
  const QPoint p = PaintBoxPoint(event->position().toPoint());
  views_.Forward([&] { frm_.pbxAMouseDown(ButtonOfNumber(button), p.x(), p.y()); });
}

void CanvasWindowView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = PaintBoxPoint(event->position().toPoint());
  views_.Forward([&] { frm_.pbxAMouseMove(p.x(), p.y()); });
}

void CanvasWindowView::mouseReleaseEvent(QMouseEvent* event) {
  const int button = CoreButton(event->button());
  if (button < 0) return;
  const QPoint p = PaintBoxPoint(event->position().toPoint());
  views_.Forward([&] { frm_.pbxAMouseUp(ButtonOfNumber(button), p.x(), p.y()); });
}

void CanvasWindowView::keyPressEvent(QKeyEvent* event) {
  const int shift = CoreShiftState(event->modifiers(), event->key());
  views_.Forward([&] { frm_.FormKeyDown(event->key(), shift); });
  event->accept();
}

void CanvasWindowView::keyReleaseEvent(QKeyEvent* event) {
  const int shift = CoreShiftState(event->modifiers(), event->key());
  views_.Forward([&] { frm_.FormKeyUp(event->key(), shift); });
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
  views_.Forward([this] { frm_.FormHide(); });
}

bool CanvasWindowView::focusNextPrevChild(bool) {
  return false;
}

}  // namespace mirasketch

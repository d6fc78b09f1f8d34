#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>

#include "buffers/dib_true.h"
#include "scrolled_surface.h"

namespace mirasketch {

class AppViews;
class TfrmM;

// The canvas window: a scrolling window whose viewport is the paint box `pbxA`. Pointer and key
// events go to the canvas window's handlers in paint-box pixels; what the core draws on the
// surface is shown as it is.
class CanvasWindowView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  CanvasWindowView(TfrmM& frmM, AppViews& views);
  ~CanvasWindowView() override;

  // The core changed the paint box's size or its scroll position.
  void ApplyGeometry();
  // The core drew on the surface; bring it to the screen.
  void ShowPainted();
  // Reads the caption and the paint box's cursor again.
  void ReadState();
  // What the viewport shows now, as the core drew it (tests compare pixels with it).
  QImage ShownImage() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void SizeBuffer();
  void UpdateScrollBars();
  void ReadScrollPosition();
  // Has the core paint the whole visible part afresh.
  void RepaintAll();
  QPoint PaintBoxPoint(const QPoint& viewportPoint) const;

  TfrmM& frm_;
  AppViews& views_;
  CDibTrue buffer_;  // viewport-sized, bottom-up blue-green-red rows
  ScrolledSurface surface_;
  bool bufferStale_ = true;
  bool painting_ = false;
  bool applyingGeometry_ = false;
  int shownCursor_ = 0;  // the paint box's cursor as last set on the viewport
};

}  // namespace mirasketch

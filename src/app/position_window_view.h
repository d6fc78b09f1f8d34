#pragma once

#include <QAbstractScrollArea>

#include "buffers/dib_true.h"
#include "scrolled_surface.h"

namespace mirasketch {

class AppViews;
class TfrmPos;

// The position window ("位置"): a scrolling window whose viewport shows the paint box `pbxA`,
// the whole canvas at 1:1, with scroll bars when the canvas is larger than the client area. What
// the core draws on the surface is shown as it is; a press on the paint box goes to the core's
// handler in paint-box pixels.
class PositionWindowView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  PositionWindowView(TfrmPos& frmPos, AppViews& views);
  ~PositionWindowView() override;

  // The core changed the paint box's size or drew on it: the scroll range follows and the
  // viewport is shown again.
  void ReadState();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void SizeBuffer();
  void UpdateScrollBars();
  // Has the core paint the whole visible part afresh.
  void RepaintAll();

  TfrmPos& frm_;
  AppViews& views_;
  CDibTrue buffer_;  // viewport-sized, bottom-up blue-green-red rows
  int scrollX_ = 0;  // the scroll position in paint-box pixels
  int scrollY_ = 0;
  ScrolledSurface surface_;
  int shownWidth_ = 0;  // the paint box's size the scroll bars were set for
  int shownHeight_ = 0;
  bool bufferStale_ = true;
};

}  // namespace mirasketch

#pragma once

#include <QPoint>
#include <functional>

#include "control_window_view.h"

class QMimeData;

namespace mirasketch {

class TfrmCol;

// The colour window ("色"): the controls of TfrmCol, the palette switch that makes the window
// taller, and colour drags onto the palette: from the colour swatch, or of a palette entry
// pressed with Ctrl.
class ColourWindowView : public ControlWindowView {
  Q_OBJECT

 public:
  ColourWindowView(TfrmCol& frmCol, AppViews& views);

  // The data of a colour drag from the swatch (source tag 1) or a palette entry (0).
  static QMimeData* DragData(int sourceTag);
  // The source tag of a colour drag of this program, −1 for any other data.
  static int DragSource(const QMimeData* data);

  // Also follows the window's client height.
  void ReadState() override;

  // Runs a colour drag with the given source tag; replaceable so tests need not run the drag's
  // own event loop.
  std::function<void(int sourceTag)> startDrag;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void RunDrag(int sourceTag);

  TfrmCol& frmCol_;
  QPoint swatchPress_;
  bool swatchPressed_ = false;
  bool paletteDragArmed_ = false;
  QPoint palettePress_;
};

}  // namespace mirasketch

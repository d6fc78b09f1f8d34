#pragma once

#include <QPoint>
#include <string>

#include "control_window_view.h"

namespace mirasketch {

class TfrmCol;

// The colour window ("色"): the controls of TfrmCol, the palette switch that makes the window
// taller, and colour drags onto the palette: from the colour swatch, or of a palette entry
// pressed with Ctrl.
class ColourWindowView : public ControlWindowView {
  Q_OBJECT

 public:
  ColourWindowView(TfrmCol& frmCol, AppViews& views);

  // Also follows the window's client height.
  void ReadState() override;

 protected:
  void showEvent(QShowEvent* event) override;
  // A chip of the drawing colour.
  QPixmap DragPixmap(const std::string& paintBox) const override;

 private:
  TfrmCol& frmCol_;
  QPoint swatchPress_;
  bool swatchPressed_ = false;
  bool paletteDragArmed_ = false;
  QPoint palettePress_;
};

}  // namespace mirasketch

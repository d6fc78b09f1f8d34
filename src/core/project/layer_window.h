#pragma once

#include <string_view>

#include "controls/window_controls.h"

namespace mirasketch {

class LayerProject;
class Platform;
class Views;

// The layer window ("レイヤ"): a strip of 72 × 48 cells, one per layer (its thumbnail, a cyan
// strip and green frame for the active layer, a diamond showing its visibility), the active
// layer's compose mode and threshold, and a list of layer actions run by a button. Clicks, Ctrl-
// and Shift-drags within the strip activate, hide, exchange and move layers; every change ends
// with a refresh that recomposes the canvas.
class TfrmL : public ControlWindow {
 public:
  // Cells of the strip.
  static constexpr int kCellWidth = 72;
  static constexpr int kCellHeight = 48;
  // The strip's top in the window.
  static constexpr int kStripTop = 68;

  TfrmL(LayerProject& project, Platform& platform, Views& views);

  // Start-up: the action list on its heading, "Layer No.0", the first compose mode.
  void InitLayerWindow();
  // Recomposes the whole canvas (even while composing is otherwise disabled) and shows it, shows
  // the active layer's number and compose mode, repaints the strip and the position window.
  void RefreshLayerWindow();
  // The cell at strip point (x, y): row × columns + column, with as many columns as whole cells
  // fit the strip's width; −1 outside the columns.
  int CellAt(int x, int y) const;

  // Event handlers. A press with button 1 left, 2 right, 0 middle: true when it started a drag of
  // the cell (Ctrl exchanges, Shift moves), which the view then carries to `pbxADragDrop`.
  bool pbxAMouseDown(int button, int x, int y, int shiftState);
  void pbxADragDrop(int x, int y);
  void cboGeneLayChange(int index);
  void btnThresholdClick();
  void btnDoLayerActionClick();
  // The window's client area changed: the strip follows it.
  void FormResize(int clientWidth, int clientHeight);
  // The window was shown (its strip is painted again) or hidden (its switch goes off).
  void FormShow();
  void FormHide();
  // Paints the strip (the paint event of `pbxA`): every layer's cell, grey beyond them.
  const PaintBox& PaintLayerList();

  // ControlWindow.
  const ControlSet& Controls() const override { return controls; }
  bool Click(std::string_view name) override;
  bool Change(std::string_view name, int value) override;
  const PaintBox* Paint(std::string_view name) override;
  bool MouseDown(std::string_view name, int button, int x, int y, int shiftState) override;
  // The strip takes the drag of one of its own cells.
  bool AcceptsDrop(std::string_view name, std::string_view sourceWindow,
                   std::string_view sourceName) const override;
  bool Drop(std::string_view name, std::string_view sourceWindow, std::string_view sourceName,
            int x, int y) override;

  ControlSet controls;
  bool visible = false;
  bool updating = false;  // program-made changes of the compose-mode list are not acted on
  int dragSource = -1;    // the cell under the last press, −1 after a drop
  int dragMode = 0;       // 0 none, 1 exchange, 2 move
  int stripWidth = 196;   // the strip's size in the window
  int stripHeight = 49;

 private:
  void RunAction(int item);
  void PaintLayerCell(int x, int y, int index);
  void Changed();

  LayerProject& project_;
  Platform& platform_;
  Views& views_;
  PaintBox strip_;
};

}  // namespace mirasketch

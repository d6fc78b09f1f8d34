#pragma once

#include <string_view>

#include "controls/window_controls.h"

namespace mirasketch {

class Platform;
class ShellLinks;
class TfrmM;
class ToolEngine;
class Views;

// The tool panel ("Tool"): the undo button, mask switch and zoom; the fifteen tool buttons; the
// option group of the current tool; and the brush strip. The controls of tool options show and
// write the tool engine's settings themselves, and the zoom bar the canvas window's zoom. The
// panel can never be closed by the user.
class TfrmC : public ControlWindow {
 public:
  TfrmC(ToolEngine& tools, TfrmM& canvas, Platform& platform, Views& views, ShellLinks& links);

  // Lays the panel out after the tool settings were read and shows them in the controls.
  void InitToolPanel();
  // Presses the button of a tool (none for the layer-move tool) and makes the tool current.
  void SelectTool(int code);
  // Switches tools: the old one saves its panel values, the option groups are swapped, the
  // canvas overlays are cleared and the new tool loads its values.
  void SetCurrentTool(int code);
  // Selects a stamp and shows its row in the brush strip.
  void SetBrushIndex(int n);
  // The close request of the window manager: always refused.
  bool FormCloseQuery() const { return false; }

  // Event handlers of the controls.
  void btnUndoClick();
  void chkMaskClick();
  void sbZoomChange(int position);
  void ToolChange(int tag);
  void cboPenEraseClick(int index);
  void rdiAveBrush0Click(int tag);
  void rdiBrushBig1Click(int tag);
  void sbBrushBigSizeChange(int position);
  void sbPenkiRangeChange(int position);
  void SelectDoAction(int tag);
  void btnSelectTransClick();
  void chkSelectMaskClick();
  void rdiCountLineClick(int tag);
  void rdiRulerTriangleClick(int tag);
  void sbRulerSizeChange(int position);
  void chkRulerInvertClick();
  void sbPenLineHookChange(int position);
  void trkABrushChange(int position);
  void pbxABrushMouseDown(int x, int y);
  void pbxBrushMouseDown(int x, int y);
  void pbxEraserMouseDown(int x, int y);
  // The three paint boxes' pictures.
  const PaintBox& pbxABrushPaint();
  const PaintBox& pbxBrushPaint();
  const PaintBox& pbxEraserPaint();

  // ControlWindow.
  const ControlSet& Controls() const override { return controls; }
  bool Click(std::string_view name) override;
  bool Change(std::string_view name, int value) override;
  const PaintBox* Paint(std::string_view name) override;
  bool MouseDown(std::string_view name, int button, int x, int y, int shiftState) override;

  ControlSet controls;
  int selectedBrush = 0;
  int brushPageStart = 0;
  int clientWidth = 136;
  int clientHeight = 244;

 private:
  // The option group of a tool code, null for codes without one.
  static const char* GroupOf(int code);
  void Changed();
  // Draws a band of the brush sheet 1:1 into a paint box.
  void DrawSheetBand(PaintBox& box, int top, int sheetRow, int rows) const;

  ToolEngine& tools_;
  TfrmM& canvas_;
  Platform& platform_;
  Views& views_;
  ShellLinks& links_;
  PaintBox strip_;
  PaintBox grid_;
  PaintBox eraser_;
};

}  // namespace mirasketch

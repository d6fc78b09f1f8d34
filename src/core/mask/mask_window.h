#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "controls/window_controls.h"

namespace mirasketch {

class MaskLinks;
class MaskTools;
class ToolEngine;
class Views;

// The mask window ("マスク"): the colour-range editor (three ramps, each with the band of its
// selected values), the mask tool buttons, the dropper width, the strength the tools write, the
// mask pen's stamp, and the whole-mask operations. Activating it makes the mask tool current;
// hiding it gives the tool before back.
class TfrmMaskSet : public ControlWindow {
 public:
  TfrmMaskSet(MaskTools& tools, ToolEngine& engine, MaskLinks& links, Views& views);

  // Event handlers.
  void ToolChange(int kind);
  // The mask effect window's centre button: the drag of the canvas moves the effect's centre
  // until this window is next activated.
  void EnterCentreDrag();
  void FormActivate();
  // The window lost the focus: the next activation counts again.
  void FormDeactivate();
  void FormHide();
  // The pointer moved over the window outside the range editor: its drag ends.
  void FormMouseMove();
  void pbxAMouseDown(int button, int x, int y);
  void pbxAMouseMove(int x, int y);
  void pbxAMouseUp();
  void btnClearClick();
  void btnMaskUndoClick();
  void btnMaskRedoClick();
  void btnMaskClearClick();
  void btnMaskExtractClick();
  void btnMaskInvertClick();
  void sbSpoiteChange(int position);
  void sbDwPowChange(int position);
  void udMaskBrushChange(int position);
  const PaintBox& pbxAPaint();
  const PaintBox& pbxMaskBrushPaint();

  // ControlWindow.
  const ControlSet& Controls() const override { return controls; }
  bool Click(std::string_view name) override;
  bool Change(std::string_view name, int value) override;
  const PaintBox* Paint(std::string_view name) override;
  bool MouseDown(std::string_view name, int button, int x, int y, int shiftState) override;
  bool MouseMove(std::string_view name, int x, int y, int shiftState) override;
  bool MouseUp(std::string_view name, int button, int x, int y, int shiftState) override;

  ControlSet controls;
  std::array<std::uint8_t, 256> colourRange{};  // bit 0 red, bit 1 green, bit 2 blue
  int rangeDrag = 0;                            // 0 none, 1 setting (left button), 2 clearing
  int rangeAnchor = 0;                          // the value where the drag began
  int toolBeforeMask = 0;
  int toolBeforeCentreDrag = 0;
  bool visible = false;
  bool active = false;

 private:
  void ApplyRange(int x, int y);
  void Changed();

  MaskTools& tools_;
  ToolEngine& engine_;
  MaskLinks& links_;
  Views& views_;
  PaintBox ranges_;
  PaintBox brush_;
};

}  // namespace mirasketch

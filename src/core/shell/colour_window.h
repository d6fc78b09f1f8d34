#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "controls/window_controls.h"

namespace mirasketch {

class Platform;
class ShellLinks;
class ToolEngine;
class Views;

// The colour window ("色"): the drawing colour from three sliders, the colour dialog, a pick on
// the canvas or a palette of 256 entries kept in "palcol.dat", and the transparency slider. Every
// change goes at once into the tool engine and refreshes the current tool.
class TfrmCol : public ControlWindow {
 public:
  TfrmCol(ToolEngine& tools, Platform& platform, Views& views, ShellLinks& links);

  // Reads the palette from `programDir` + "palcol.dat" (the grey ramp when there is none, or,
  // with a message, when it is not 1024 bytes long) and shows the drawing colour in the sliders.
  void LoadPalette(const std::string& programDir, bool paletteShown);
  // Writes the palette to `programDir` + "palcol.dat" through a temporary file.
  void SavePalette(const std::string& programDir) const;
  // Moves the sliders to a colour (0x00BBGGRR) and publishes it once; negative values (the top
  // bit set) are ignored.
  void SetDrawColour(int colour);
  // Moves the transparency slider to t clamped to 0 … 253, with its change event when it moves.
  void SetTransparencySlider(int t);
  // The colour of the three sliders.
  int SliderColour() const;
  int TransparencyPosition() const { return controls.Position("sbTranspearPow"); }

  // Event handlers of the controls.
  void ColChange();
  void btnMakeColorClick();
  void sbTranspearPowChange(int position);
  void chkTranspearPowClick();
  void spbPalShowClick();
  // A press on the palette with the key modifiers; true when a Ctrl press arms a drag of the
  // entry, which starts once the pointer moves.
  bool pbxPaletteMouseDown(int x, int y, int shiftState);
  void pbxPaletteDblClick();
  // A drop at (x, y): from the colour swatch (`sourceTag` 1) the drawing colour is stored, else
  // the entry being dragged is copied.
  void pbxPaletteDragDrop(int sourceTag, int x, int y);
  const PaintBox& pbxColPaint();
  const PaintBox& pbxPalettePaint();
  void FormShow();
  // The window was hidden: its switch on the main window goes off.
  void FormHide();

  // ControlWindow.
  const ControlSet& Controls() const override { return controls; }
  bool Click(std::string_view name) override;
  bool Change(std::string_view name, int value) override;
  const PaintBox* Paint(std::string_view name) override;
  bool MouseDown(std::string_view name, int button, int x, int y, int shiftState) override;
  // The palette takes drags from the colour swatch and from itself.
  bool AcceptsDrop(std::string_view name, std::string_view sourceWindow,
                   std::string_view sourceName) const override;
  bool Drop(std::string_view name, std::string_view sourceWindow, std::string_view sourceName,
            int x, int y) override;

  ControlSet controls;
  std::array<std::uint32_t, 256> paletteColours{};
  int palettePage = 0;
  int paletteSelected = 0;
  int paletteDragIndex = -1;
  bool updatingSliders = false;
  int clientWidth = 128;
  int clientHeight = 134;

 private:
  void Changed();
  int PaletteIndexAt(int x, int y) const;

  ToolEngine& tools_;
  Platform& platform_;
  Views& views_;
  ShellLinks& links_;
  PaintBox swatch_;
  PaintBox palette_;
};

}  // namespace mirasketch

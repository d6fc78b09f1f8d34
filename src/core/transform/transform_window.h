#pragma once

#include <array>
#include <string>
#include <vector>

#include "controls/menu.h"
#include "controls/window_controls.h"
#include "platform/platform.h"
#include "transform/glyphs.h"
#include "transform/resample.h"

namespace mirasketch {

class FontEngine;
class PictureFiles;
class Selection;
class ToolEngine;
class UniformRandom;
class Views;

// What the transform window is editing: nothing, the scale, the rotation, the trapezoid, or a
// text.
enum TransformEditMode : int {
  emNone = -1,
  emScale = 0,
  emRotate = 1,
  emTrapezoid = 2,
  emText = 4
};

// The transform window's menu in order.
std::vector<MenuEntry> TransformMenu();

// The transform window: a source picture (the floating piece or a picture file) scaled, rotated,
// distorted, tiled, repeated or replaced by a text into a result picture, with handles dragged in
// its client area, and pasted back onto the active layer as a floating piece. Its controls are the
// items of its menu and the client area, the paint box "Canvas".
class TfrmT : public ControlWindow {
 public:
  TfrmT(ToolEngine& engine, Selection& selection, PictureFiles& files, Platform& platform,
        Views& views, UniformRandom& random);

  // The font engine text mode draws with; without one text mode draws nothing.
  void SetFontEngine(FontEngine* fonts) { fonts_ = fonts; }

  // The floating piece becomes the source and the result: `piece`'s whole buffer with its mask,
  // its top-left w × h used.
  void LoadPiece(const CDibTM& piece, int w, int h);

  // Menu commands, by the Tag of their item where several items share one.
  void mnuMagAspectClick(int tag);
  void mnuSpin0Click(int tag);
  void mnuTrapezoidRClick(int tag);
  void mnuTileClick();
  void mnuPutSidebySideClick();
  void mnuStrModeClick();
  void mnuStrInputClick();
  void mnuStrFontClick();
  void mnuDoCalClick();
  void mnuFixClick();
  void mnuAAClick();
  void mnuSmoothingClick();
  void mnuMaskUseClick();
  void mnuOpenFileClick(int tag);
  void mnuPasteClick();
  void mnuPastOrgClick();
  void mnuDoEscClick();

  // The client area: its size, the pointer in it (right button ignored) and its picture.
  void FormResize(int width, int height);
  void FormMouseDown(int button, int x, int y);
  void FormMouseMove(int x, int y);
  void FormMouseUp(int button);
  void FormPaint();

  // ControlWindow.
  const ControlSet& Controls() const override { return controls; }
  bool Click(std::string_view name) override;
  bool Change(std::string_view, int) override { return false; }
  const PaintBox* Paint(std::string_view name) override;
  bool MouseDown(std::string_view name, int button, int x, int y, int shiftState) override;
  bool MouseMove(std::string_view name, int x, int y, int shiftState) override;
  bool MouseUp(std::string_view name, int button, int x, int y, int shiftState) override;

  ResampleState r;
  bool dragging = false;
  int dragHandle = 0;
  int editMode = emNone;
  HandlePoint viewCentre{200, 213};
  bool keepAspect = true;
  std::array<std::string, 4> folderHistory;
  std::string drawText = "文字列";
  FontChoice font{"ＭＳ Ｐゴシック", 16, true, false};
  int clientWidth = 400;
  int clientHeight = 427;
  bool visible = false;
  PaintBox canvas;
  ControlSet controls;

 private:
  // Repaints the client area and tells the view.
  void Changed();
  // `piece`'s whole buffer with its mask becomes the source and the result, its top-left w × h
  // used, and nothing is being edited; false (after the buffer's message) when it cannot be held.
  bool TakeSource(const CDibTM& piece, int w, int h);
  // The folders' captions on their menu items.
  void ShowFolders();
  // A typed number: the text's leading real number (0 for text that is none).
  static double TypedNumber(const std::string& text);
  // Puts a picture's folder at the top of the history.
  void RememberFolder(const std::string& folder);
  // The piece buffer holds `picture`'s top-left w × h (and, with `mask`, its mask); false after
  // the buffer's message when it cannot be sized.
  bool FillWorkLayer(const CDibTrue& picture, const CDib256* mask, int w, int h);

  ToolEngine& engine_;
  Selection& selection_;
  PictureFiles& files_;
  Platform& platform_;
  Views& views_;
  UniformRandom& random_;
  FontEngine* fonts_ = nullptr;
  GlyphCanvas glyphs_;
  std::string openFolder_;  // where the open dialog starts
};

}  // namespace mirasketch

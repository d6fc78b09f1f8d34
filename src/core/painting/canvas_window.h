#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "buffers/dib_tm.h"
#include "buffers/dib_true.h"
#include "painting/undo_tiles.h"
#include "project/canvas_view_state.h"

namespace mirasketch {

class CanvasLinks;
class LayerProject;
class Platform;
class Surface;
class ToolEngine;
class Views;

// Pointer buttons as the canvas receives them.
enum class MouseButton { kLeft, kRight, kMiddle };
// The button of a button number as the windows' paint boxes count them: 1 left, 2 right, any
// other the middle one.
constexpr MouseButton ButtonOfNumber(int number) {
  return number == 1   ? MouseButton::kLeft
         : number == 2 ? MouseButton::kRight
                       : MouseButton::kMiddle;
}

// Modifier bits of a key event.
inline constexpr int kShiftKey = 1;
inline constexpr int kAltKey = 2;
inline constexpr int kCtrlKey = 4;

// The canvas window: shows the composed picture at an integer zoom by pixel replication, maps
// pointer input to active-layer coordinates for the tool engine, handles the painting keys, and
// keeps the undo ring of snapshots of the active layer's colour pixels.
class TfrmM {
 public:
  TfrmM(LayerProject& project, ToolEngine& tools, Platform& platform, Views& views,
        CanvasLinks& links);

  // Pointer and key events of the paint box, in paint-box pixels.
  void pbxAMouseDown(MouseButton button, int x, int y);
  void pbxAMouseMove(int x, int y);
  void pbxAMouseUp(MouseButton button, int x, int y);
  // Shows the visible part of the canvas (the paint box's paint event, after an expose or a
  // scroll): the composed picture as it is, recomposed first only when it may not hold the
  // layers as they are.
  void pbxAPaint();
  void FormKeyDown(int key, int shiftState);
  void FormKeyUp(int key, int shiftState);
  void FormHide();

  // The end of the start-up suspension: repaints are allowed from now on.
  void InitAfterSettings();
  // True when the project may be replaced: unmodified, or the user agreed to discard it.
  bool ConfirmDiscard();
  // Clears the modified flag, the selection frame and the guide line, and sizes the paint box to
  // the canvas at the current zoom; the position window follows the canvas's size.
  void ResetView();
  // Recomposes and shows the whole canvas, when the window is shown and repaint is not suspended;
  // otherwise the composed picture is marked for recomposition at the next paint.
  void Redraw();
  // Recomposes and shows only the visible part of the canvas, for changes that left the layers'
  // pixels alone (a setting of the current tool, the zoom).
  void RedrawVisible();
  // Recomposes and shows a rectangle in active-layer coordinates.
  void RedrawRect(int x, int y, int w, int h);
  // Shows the canvas with another display mode once, then restores the mode.
  void RedrawWithMode(int mode);
  // Sets the zoom, clamped to 1 … 16, and sizes the paint box to canvas × zoom.
  void SetZoom(int z);
  // Scrolls so that canvas point (x, y) is in the middle of the client area (within the scroll
  // range), then has the position window redrawn.
  void CenterOn(int x, int y);
  // Starts the guide line at active-layer point (x, y).
  void StartRubberBand(int x, int y);

  // The undo ring. `SetUndoLevels` clamps to 1 … 15 and restarts the history from the active
  // layer's present pixels; `PushUndo` begins a new snapshot of the layer before a stroke; `Undo`
  // steps back once; `RestoreSnapshot` copies the newest snapshot back without changing the
  // history, `RestoreSnapshotRect` only a rectangle of it (clipped). A snapshot holds only the
  // tiles something wrote into after it began: whatever writes into the active layer first calls
  // `SaveBeforeWrite` with the rectangle it is about to write.
  void SetUndoLevels(int n);
  void PushUndo();
  void Undo();
  // Takes back the latest undo, in the slot that undo left behind: the layer returns to what it
  // was before that undo. Does nothing once a stroke, a new history (`SetUndoLevels`) or any other
  // change of the layer came after the undo.
  void Redo();
  void RestoreSnapshot();
  void RestoreSnapshotRect(int x, int y, int w, int h);
  // Saves the tiles of the rectangle (active-layer coordinates, clipped) that the snapshots still
  // find in the layer itself. False when memory for them is refused: the user is told (once a
  // stroke), the stroke under way stops, and nothing of the rectangle may be written.
  bool SaveBeforeWrite(int x, int y, int w, int h);
  // Pixel (x, y) of the newest snapshot, the layer as the stroke began, 3 bytes a pixel; `count`
  // (at least 1) is cut to the pixels of the row that follow contiguously. Null outside the layer.
  const std::uint8_t* SnapshotRun(int x, int y, int& count) const;
  // The colour at (x, y) of the state slot `slot` holds, or −1 outside the active layer.
  int SlotPixel(int slot, int x, int y) const;
  // The tiles for the undo ring: square, 1 << shift pixels a side. Restarts the history.
  void SetUndoTileShift(int shift);
  // The bytes the undo ring's saved tiles take.
  std::size_t UndoBytes() const { return tiles_.Bytes(); }

  // Paint-box point to canvas point (divide by the zoom, truncating).
  int CanvasX(int x) const { return x / view.zoom; }
  int CanvasY(int y) const { return y / view.zoom; }

  CDibTM& DrawTarget() { return *drawTarget; }
  void SetDrawTarget(CDibTM& layer) { drawTarget = &layer; }
  int ScrollRangeX() const { return std::max(0, paintBoxWidth - view.clientWidth); }
  int ScrollRangeY() const { return std::max(0, paintBoxHeight - view.clientHeight); }

  CanvasViewState view;
  Surface* paintBox = nullptr;  // the view's drawing surface, null while none is attached
  int paintBoxWidth = 0;
  int paintBoxHeight = 0;
  std::string caption = "(New Layer Project)";
  // The cursor over the paint box: 0 the system's arrow, k ≥ 1 `CanvasCursors()[k − 1]`.
  int pbxACursor = 0;
  bool visible = false;
  bool redrawSuspended = true;
  bool modified = false;
  // Counts the changes the modified flag stands for (strokes begun, undos, redos), so a recovery
  // copy can tell whether it still holds the latest.
  std::int64_t changeCount = 0;
  bool rubberBandOn = false;
  int pointerX = 0;  // the latest pointer position over the paint box
  int pointerY = 0;
  int rubberAnchorX = 0;
  int rubberAnchorY = 0;
  int undoLevels = 2;
  int undoIndex = 0;
  int undoCount = 0;
  int redoCount = 0;  // undos that `Redo` can take back, kept in the slots after `undoIndex`

 private:
  void DrawRubberBand(int x, int y);
  // Lays the region of a stroke that has just ended once more and shows it.
  void RedrawEndedStroke();
  void UpdateToolVisibleArea();
  int ButtonCode(MouseButton button) const;
  // A repaint that could not happen now: the composed picture may lag behind the layers.
  void MarkStale();
  // The rectangle (active-layer coordinates) was recomposed: the picture is stale if a tool drew
  // outside it.
  void ComposedOnly(int x, int y, int w, int h);
  // After the layer stepped through its history: the frame and guide line go, the current tool
  // forgets the pixels it knew, and the canvas and the readouts follow.
  void AfterHistoryStep();
  // Whether slot `slot` holds a redo state (one of the `redoCount` slots after `undoIndex`).
  bool HoldsRedo(int slot) const;
  // Where the state of slot `slot` finds tile `tile`: the copy of the slot that holds one, next
  // toward the layer (a snapshot holds what later snapshots changed, a redo state what earlier
  // ones changed), or null for the active layer itself.
  const std::uint8_t* ResolvedTile(int slot, int tile) const;
  // The slot whose copy that is, or −1 for the layer.
  int ResolvedSlot(int slot, int tile) const;
  // Pixel (x, y) of the state slot `slot` holds, 3 bytes; null outside the active layer.
  const std::uint8_t* StatePixel(int slot, int x, int y) const;
  // Clips the rectangle to the active layer and the tile grid: x0 … x1 − 1, y0 … y1 − 1; false
  // when nothing is left.
  bool ClipToTiles(int x, int y, int w, int h, int& x0, int& y0, int& x1, int& y1) const;
  // Copies the tile of the layer into the slot within the memory budget of the stroke.
  bool SaveTile(int slot, int tile);
  // A save was refused: the stroke is to stop, and the user is told once. Always false.
  bool RefuseSave();
  // Forgets the redo states; a slot no state of the history is in holds no tile, so a snapshot
  // that comes to it later reads the layer. When every slot holds a redo state, the newest
  // snapshot keeps the one it holds.
  void EndRedo();
  // The active layer's identity, size and pixels as one digest.
  std::uint64_t LayerFingerprint() const;
  // A press on the canvas while every slot holds a redo state: the redo ends and the newest
  // snapshot becomes the layer as it is, which is what a tool reading it without saving expects.
  void EndRedoBeforeStroke();

  LayerProject& project_;
  ToolEngine& tools_;
  Platform& platform_;
  Views& views_;
  CanvasLinks& links_;
  CDibTM placeholder_;  // the drawing target until the layer project sets the first layer
  CDibTM* drawTarget = &placeholder_;
  UndoTiles tiles_;
  // The memory the saved tiles may still take: what the system had available when the stroke or
  // operation began, less what was saved since.
  std::int64_t saveBudget_ = 0;
  bool saveRefused_ = false;           // a save was refused since the latest press
  bool refusalShown_ = false;          // the user was told so
  std::uint64_t redoFingerprint_ = 0;  // the layer as the latest undo or redo left it
};

}  // namespace mirasketch

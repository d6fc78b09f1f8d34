#include "painting/canvas_window.h"

#include <algorithm>

#include "buffers/fingerprint.h"
#include "painting/canvas_links.h"
#include "painting/tool_engine.h"
#include "platform/platform.h"
#include "platform/surface.h"
#include "platform/views.h"
#include "project/compositor.h"
#include "project/layer_project.h"

namespace mirasketch {

TfrmM::TfrmM(LayerProject& project, ToolEngine& tools, Platform& platform, Views& views,
             CanvasLinks& links)
    : project_(project), tools_(tools), platform_(platform), views_(views), links_(links) {}

int TfrmM::ButtonCode(MouseButton button) const {
  switch (button) {
    case MouseButton::kLeft:
      return 1;
    case MouseButton::kRight:
      return 2;
    case MouseButton::kMiddle:
      return 0;
  }
  return 0;
}

void TfrmM::UpdateToolVisibleArea() {
  // The visible part of the canvas in active-layer coordinates, with a margin of one zoom.
  const CDibTM& active = *drawTarget;
  const int z = view.zoom;
  PixelRect& r = tools_.visibleArea;
  r.x = view.scrollX / z - active.offsetX;
  r.y = view.scrollY / z - active.offsetY;
  r.width = std::min(view.clientWidth / z + z, active.Width() - r.x);
  r.height = std::min(view.clientHeight / z + z, active.Height() - r.y);
}

void TfrmM::pbxAMouseDown(MouseButton button, int x, int y) {
  UpdateToolVisibleArea();
  saveRefused_ = false;
  refusalShown_ = false;
  saveBudget_ = platform_.AvailableMemory();
  EndRedoBeforeStroke();
  const CDibTM& active = *drawTarget;
  const bool began = tools_.BeginStroke(CanvasX(x) - active.offsetX, CanvasY(y) - active.offsetY,
                                        ButtonCode(button));
  // A stroke whose tiles could not be saved for undo stops where it is.
  if (saveRefused_) tools_.strokeActive = false;
  if (!began) return;
  modified = true;
  ++changeCount;
  if (tools_.wideRefresh) {
    const PixelRect& r = tools_.dirtyRect;
    RedrawRect(r.x, r.y, r.width, r.height);
    links_.RefreshPositionRect(r.x, r.y, r.width, r.height);
  }
}

void TfrmM::pbxAMouseMove(int x, int y) {
  pointerX = x;
  pointerY = y;
  const CDibTM& active = *drawTarget;
  links_.ShowPointer(CanvasX(x) - active.offsetX, CanvasY(y) - active.offsetY);
  const bool moved = tools_.MoveStroke(CanvasX(x) - active.offsetX, CanvasY(y) - active.offsetY);
  if (saveRefused_) tools_.strokeActive = false;
  if (moved) {
    const PixelRect& r = tools_.dirtyRect;
    RedrawRect(r.x, r.y, r.width, r.height);
    links_.RefreshPositionRect(r.x, r.y, r.width, r.height);
  }
  if (rubberBandOn) DrawRubberBand(x, y);
}

void TfrmM::pbxAMouseUp(MouseButton button, int x, int y) {
  UpdateToolVisibleArea();
  const CDibTM& active = *drawTarget;
  if (tools_.EndStroke(CanvasX(x) - active.offsetX, CanvasY(y) - active.offsetY,
                       ButtonCode(button)))
    RedrawEndedStroke();
  links_.ProjectChangeEnded();
}

void TfrmM::RedrawEndedStroke() {
  // The stroke's region is laid once more over a fresh checkerboard, so blending modes do not
  // keep what the stroke's intermediate repaints built up.
  const bool background = project_.backgroundRefresh;
  project_.backgroundRefresh = true;
  const PixelRect& r = tools_.dirtyRect;
  RedrawRect(r.x, r.y, r.width, r.height);
  project_.backgroundRefresh = background;
  if (tools_.wideRefresh)
    links_.RefreshPosition();
  else
    links_.RefreshPositionRect(r.x, r.y, r.width, r.height);
  if (view.selectionVisible && visible && !redrawSuspended) {
    DrawSelectionFrame(project_);
    views_.CanvasPainted();
  }
}

void TfrmM::pbxAPaint() {
  if (project_.compositeStale) {
    Redraw();
    return;
  }
  if (!visible || redrawSuspended) return;
  ShowComposite(project_);
  views_.CanvasPainted();
}

void TfrmM::FormKeyDown(int key, int shiftState) {
  const bool ctrl = (shiftState & kCtrlKey) != 0;
  auto is = [key](char upper) { return key == upper || key == upper + ('a' - 'A'); };
  if (ctrl) {
    if (is('Z') && (shiftState & kShiftKey) == 0) {
      Undo();
    } else if (is('Z') || is('Y')) {
      Redo();
    } else if (is('X')) {
      links_.CutOrCopy(1);
    } else if (is('C')) {
      links_.CutOrCopy(2);
    } else if (is('P')) {
      links_.PasteFromClipboard();
    }
    return;
  }
  if (is('S')) {
    // The pick reads the canvas point under the pointer on the active layer, offset included, so
    // it takes the colour where the layer is actually shown.
    const CDibTM& active = *drawTarget;
    const int colour =
        active.GetPixel(CanvasX(pointerX) - active.offsetX, CanvasY(pointerY) - active.offsetY);
    if (colour >= 0) links_.SetDrawColour(colour);
    return;
  }
  if ((shiftState & kShiftKey) != 0) tools_.settings.shiftConstrain = true;
}

void TfrmM::FormKeyUp(int, int) {
  tools_.settings.shiftConstrain = false;
}

void TfrmM::FormHide() {
  links_.CanvasHidden();
}

void TfrmM::InitAfterSettings() {
  view.selectionVisible = false;
  rubberBandOn = false;
  redrawSuspended = false;
}

bool TfrmM::ConfirmDiscard() {
  if (!modified) return true;
  if (!platform_.AskYesNo(caption + "は変更されています、破棄してもよろしいですか?")) return false;
  links_.ProjectChangesGone();
  return true;
}

void TfrmM::ResetView() {
  modified = false;
  links_.ProjectChangesGone();
  view.selectionVisible = false;
  rubberBandOn = false;
  SetZoom(view.zoom);
  links_.ResizePositionToCanvas();
}

void TfrmM::MarkStale() {
  project_.compositeStale = true;
  tools_.draw.ForgetChanged();
}

void TfrmM::Redraw() {
  if (!visible || redrawSuspended) {
    MarkStale();
    return;
  }
  RefreshComposite(project_);
  if (project_.composeEnabled) tools_.draw.ForgetChanged();
  views_.CanvasPainted();
}

void TfrmM::RedrawVisible() {
  if (!visible || redrawSuspended) {
    MarkStale();
    return;
  }
  if (project_.composeEnabled) {
    const PixelRect area = VisibleArea(project_, view);
    if (CoveringLayer(project_, area.x, area.y, area.width, area.height) < 0)
      DrawChecker(project_, area.x, area.y, area.width, area.height);
    ComposeRect(project_, area.x, area.y, area.width, area.height);
    ComposedOnly(area.x - drawTarget->offsetX, area.y - drawTarget->offsetY, area.width,
                 area.height);
  }
  ShowComposite(project_);
  views_.CanvasPainted();
}

void TfrmM::RedrawRect(int x, int y, int w, int h) {
  if (!visible || redrawSuspended) {
    MarkStale();
    return;
  }
  RecomposeRect(project_, x, y, w, h);
  if (project_.composeEnabled)
    ComposedOnly(x, y, w, h);
  else
    ComposedOnly(0, 0, 0, 0);
  views_.CanvasPainted();
}

void TfrmM::ComposedOnly(int x, int y, int w, int h) {
  // Pixels a tool drew beyond what was recomposed (a figure reaching past the visible area, a
  // fill) are composed at the next paint.
  if (!tools_.draw.TakeChangedWithin(x, y, w, h)) MarkStale();
}

void TfrmM::RedrawWithMode(int mode) {
  const int previous = view.displayMode;
  view.displayMode = mode;
  Redraw();
  view.displayMode = previous;
}

void TfrmM::SetZoom(int z) {
  redrawSuspended = true;
  view.zoom = std::clamp(z, 1, 16);
  paintBoxWidth = project_.CanvasWidth() * view.zoom;
  paintBoxHeight = project_.CanvasHeight() * view.zoom;
  view.scrollX = std::min(view.scrollX, ScrollRangeX());
  view.scrollY = std::min(view.scrollY, ScrollRangeY());
  // The resized paint box repaints itself; a new zoom changes no pixel of the composed picture,
  // so nothing is recomposed for it.
  views_.CanvasGeometryChanged();
  redrawSuspended = false;
}

void TfrmM::CenterOn(int x, int y) {
  redrawSuspended = true;
  if (ScrollRangeX() > 0)
    view.scrollX = std::clamp(x * view.zoom - view.clientWidth / 2, 0, ScrollRangeX());
  if (ScrollRangeY() > 0)
    view.scrollY = std::clamp(y * view.zoom - view.clientHeight / 2, 0, ScrollRangeY());
  views_.CanvasGeometryChanged();
  redrawSuspended = false;
  links_.RefreshPosition();
}

void TfrmM::StartRubberBand(int x, int y) {
  rubberAnchorX = x + drawTarget->offsetX;
  rubberAnchorY = y + drawTarget->offsetY;
  rubberBandOn = true;
}

void TfrmM::DrawRubberBand(int x, int y) {
  const bool compose = project_.composeEnabled;
  project_.composeEnabled = false;
  Redraw();
  project_.composeEnabled = compose;
  if (paintBox == nullptr || !visible || redrawSuspended) return;
  const int z = view.zoom;
  paintBox->Line(rubberAnchorX * z + z / 2, rubberAnchorY * z + z / 2, x, y);
  views_.CanvasPainted();
}

void TfrmM::SetUndoLevels(int n) {
  undoLevels = std::clamp(n, 1, 15);
  tiles_.Reset(drawTarget->Width(), drawTarget->Height());
  undoIndex = 0;
  undoCount = 0;
  redoCount = 0;
  saveBudget_ = platform_.AvailableMemory();
}

void TfrmM::SetUndoTileShift(int shift) {
  tiles_.SetShift(shift);
  SetUndoLevels(undoLevels);
}

void TfrmM::PushUndo() {
  // The slot taken next may hold a redo state; a new stroke ends the redo in any case.
  EndRedo();
  undoIndex = (undoIndex + 1) % undoLevels;
  tiles_.Clear(undoIndex);
  undoCount = std::min(undoCount + 1, undoLevels);
  saveBudget_ = platform_.AvailableMemory();
}

void TfrmM::Undo() {
  if (undoCount <= 0) return;
  undoCount = std::max(undoCount - 1, 0);
  // Redo states saved before the layer changed by other means no longer follow from it.
  if (redoCount > 0 && LayerFingerprint() != redoFingerprint_) EndRedo();
  // The tiles the snapshot holds are the only ones the stroke changed; exchanged with the layer,
  // they hold the layer as it is, for a redo to bring back.
  tiles_.Swap(undoIndex, *drawTarget);
  ++redoCount;
  redoFingerprint_ = LayerFingerprint();
  undoIndex = undoIndex - 1 < 0 ? undoLevels - 1 : undoIndex - 1;
  AfterHistoryStep();
}

void TfrmM::Redo() {
  if (redoCount <= 0) return;
  if (LayerFingerprint() != redoFingerprint_) {
    EndRedo();
    return;
  }
  undoIndex = (undoIndex + 1) % undoLevels;
  tiles_.Swap(undoIndex, *drawTarget);
  ++undoCount;
  --redoCount;
  if (redoCount > 0) redoFingerprint_ = LayerFingerprint();
  AfterHistoryStep();
}

void TfrmM::AfterHistoryStep() {
  view.selectionVisible = false;
  rubberBandOn = false;
  tools_.NotifyUndone();
  Redraw();
  links_.RefreshPosition();
  links_.ClearReadouts();
  ++changeCount;
  links_.ProjectChangeEnded();
}

std::uint64_t TfrmM::LayerFingerprint() const {
  const CDibTM& active = *drawTarget;
  const std::size_t bytes = active.Bits() == nullptr
                                ? 0
                                : static_cast<std::size_t>(active.Width()) *
                                      static_cast<std::size_t>(active.Height()) * 3;
  const auto seed = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(drawTarget)) ^
                    (static_cast<std::uint64_t>(static_cast<std::uint32_t>(active.Width())) << 32) ^
                    static_cast<std::uint32_t>(active.Height());
  return Fingerprint(active.Bits(), bytes, seed);
}

bool TfrmM::HoldsRedo(int slot) const {
  return (slot - undoIndex - 1 + 2 * undoLevels) % undoLevels < redoCount;
}

int TfrmM::ResolvedSlot(int slot, int tile) const {
  // Snapshots lead forward to the newest one, redo states back to the oldest; both end at the
  // layer. No chain is longer than the ring.
  for (int step = 0; step < undoLevels; ++step) {
    if (tiles_.Saved(slot, tile) != nullptr) return slot;
    if (HoldsRedo(slot)) {
      if (slot == (undoIndex + 1) % undoLevels) return -1;
      slot = (slot - 1 + undoLevels) % undoLevels;
    } else {
      if (slot == undoIndex) return -1;
      slot = (slot + 1) % undoLevels;
    }
  }
  return -1;
}

const std::uint8_t* TfrmM::ResolvedTile(int slot, int tile) const {
  const int holder = ResolvedSlot(slot, tile);
  return holder < 0 ? nullptr : tiles_.Saved(holder, tile);
}

bool TfrmM::SaveTile(int slot, int tile) {
  const auto bytes = static_cast<std::int64_t>(tiles_.TileBytes());
  if (saveBudget_ < bytes || !tiles_.Save(slot, tile, *drawTarget, nullptr)) return RefuseSave();
  saveBudget_ -= bytes;
  return true;
}

bool TfrmM::RefuseSave() {
  saveRefused_ = true;
  if (!refusalShown_) platform_.ShowMessage(kBitsAllocError);
  refusalShown_ = true;
  return false;
}

void TfrmM::EndRedo() {
  if (redoCount >= undoLevels) {
    // Every slot holds a redo state, the newest snapshot's slot too, and it stays the snapshot:
    // the tiles it finds in the other slots become its own before they go.
    const int x1 = std::min(drawTarget->Width(), tiles_.GridWidth());
    const int y1 = std::min(drawTarget->Height(), tiles_.GridHeight());
    for (int y = 0; y < y1; y += tiles_.Side())
      for (int x = 0; x < x1; x += tiles_.Side()) {
        const int tile = tiles_.TileAt(x, y);
        const int holder = ResolvedSlot(undoIndex, tile);
        if (holder >= 0 && holder != undoIndex) tiles_.Move(undoIndex, holder, tile);
      }
  }
  for (int k = 1; k <= std::min(redoCount, undoLevels - 1); ++k)
    tiles_.Clear((undoIndex + k) % undoLevels);
  redoCount = 0;
}

void TfrmM::EndRedoBeforeStroke() {
  if (redoCount < undoLevels) return;
  if (LayerFingerprint() != redoFingerprint_) {
    EndRedo();
    return;
  }
  // With the layer as the latest undo left it, the snapshot becomes the layer itself.
  for (int k = 0; k < undoLevels; ++k) tiles_.Clear(k);
  redoCount = 0;
}

bool TfrmM::ClipToTiles(int x, int y, int w, int h, int& x0, int& y0, int& x1, int& y1) const {
  const CDibTM& active = *drawTarget;
  x0 = std::max(x, 0);
  y0 = std::max(y, 0);
  x1 = static_cast<int>(std::min<std::int64_t>(
      {static_cast<std::int64_t>(x) + w, active.Width(), tiles_.GridWidth()}));
  y1 = static_cast<int>(std::min<std::int64_t>(
      {static_cast<std::int64_t>(y) + h, active.Height(), tiles_.GridHeight()}));
  return x0 < x1 && y0 < y1;
}

bool TfrmM::SaveBeforeWrite(int x, int y, int w, int h) {
  int x0, y0, x1, y1;
  if (!ClipToTiles(x, y, w, h, x0, y0, x1, y1)) return true;
  // The slots that find these tiles in the layer itself: the newest snapshot, unless every slot
  // holds a redo state, and the redo state next to it.
  const bool snapshot = redoCount < undoLevels;
  const int redoSlot = (undoIndex + 1) % undoLevels;
  const int shift = tiles_.Shift();
  for (int ty = y0 >> shift; ty <= (y1 - 1) >> shift; ++ty)
    for (int tx = x0 >> shift; tx <= (x1 - 1) >> shift; ++tx) {
      const int tile = ty * tiles_.TilesX() + tx;
      if (snapshot && tiles_.Saved(undoIndex, tile) == nullptr && !SaveTile(undoIndex, tile))
        return false;
      if (redoCount > 0 && tiles_.Saved(redoSlot, tile) == nullptr && !SaveTile(redoSlot, tile))
        return false;
    }
  return true;
}

void TfrmM::RestoreSnapshot() {
  RestoreSnapshotRect(0, 0, drawTarget->Width(), drawTarget->Height());
}

void TfrmM::RestoreSnapshotRect(int x, int y, int w, int h) {
  CDibTM& active = *drawTarget;
  int x0, y0, x1, y1;
  if (!ClipToTiles(x, y, w, h, x0, y0, x1, y1)) return;
  // Only tiles the snapshot does not find in the layer differ from it.
  const int redoSlot = (undoIndex + 1) % undoLevels;
  const int shift = tiles_.Shift();
  for (int ty = y0 >> shift; ty <= (y1 - 1) >> shift; ++ty)
    for (int tx = x0 >> shift; tx <= (x1 - 1) >> shift; ++tx) {
      const int tile = ty * tiles_.TilesX() + tx;
      const std::uint8_t* copy = ResolvedTile(undoIndex, tile);
      if (copy == nullptr) continue;
      // A redo state that finds the tile in the layer keeps it; without the memory for that, the
      // redo ends at the next undo or redo.
      if (redoCount > 0 && tiles_.Saved(redoSlot, tile) == nullptr &&
          (!tiles_.Save(redoSlot, tile, active, nullptr)))
        redoFingerprint_ = ~LayerFingerprint();
      tiles_.CopyOut(copy, tile, active, x0, y0, x1 - 1, y1 - 1);
    }
}

const std::uint8_t* TfrmM::StatePixel(int slot, int x, int y) const {
  const CDibTM& active = *drawTarget;
  if (x < 0 || y < 0 || x >= active.Width() || y >= active.Height() || active.Bits() == nullptr)
    return nullptr;
  const int side = tiles_.Side();
  const std::uint8_t* copy = x < tiles_.GridWidth() && y < tiles_.GridHeight()
                                 ? ResolvedTile(slot, tiles_.TileAt(x, y))
                                 : nullptr;
  if (copy == nullptr) return active.Bits() + active.PixelOffset(x, y);
  return copy + (static_cast<std::ptrdiff_t>(y & (side - 1)) * side + (x & (side - 1))) * 3;
}

const std::uint8_t* TfrmM::SnapshotRun(int x, int y, int& count) const {
  const std::uint8_t* p = StatePixel(undoIndex, x, y);
  if (p == nullptr) return nullptr;
  const int side = tiles_.Side();
  count = std::max(1, std::min({count, side - (x & (side - 1)), drawTarget->Width() - x}));
  return p;
}

int TfrmM::SlotPixel(int slot, int x, int y) const {
  const std::uint8_t* p = StatePixel(slot, x, y);
  return p == nullptr ? -1 : MakeColour(p[2], p[1], p[0]);
}

}  // namespace mirasketch

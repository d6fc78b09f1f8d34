#include "painting/canvas_window.h"

#include <algorithm>

#include "buffers/copy_block.h"
#include "buffers/fingerprint.h"
#include "painting/canvas_links.h"
#include "painting/tool_engine.h"
#include "platform/platform.h"
#include "platform/surface.h"
#include "platform/system_memory.h"
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
  EndRedoBeforeStroke();
  const CDibTM& active = *drawTarget;
  if (!tools_.BeginStroke(CanvasX(x) - active.offsetX, CanvasY(y) - active.offsetY,
                          ButtonCode(button)))
    return;
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
  if (tools_.MoveStroke(CanvasX(x) - active.offsetX, CanvasY(y) - active.offsetY)) {
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
  const CDibTM& active = *drawTarget;
  // The slots grow to the active layer only while the memory they newly take is there, so a
  // layer too large for every level gets as many as fit (at least the one the tools need).
  const std::int64_t available = platform_.AvailableMemory();
  std::uint64_t growth = 0;
  ringLevels_ = 0;
  for (int i = 0; i < undoLevels; ++i) {
    CDibTrue& slot = undoSlots[static_cast<std::size_t>(i)];
    const int w = std::max(slot.Width(), active.Width());
    const int h = std::max(slot.Height(), active.Height());
    if (w != slot.Width() || h != slot.Height()) {
      growth += slot.GrowthFor(w, h);
      if (!MemoryFits(available, growth) || !slot.Alloc(w, h)) {
        platform_.ShowMessage(kBitsAllocError);
        break;
      }
    }
    ++ringLevels_;
  }
  ringLevels_ = std::max(ringLevels_, 1);
  undoIndex = 0;
  undoCount = 0;
  redoCount = 0;
  CopyBlock(undoSlots[0], 0, 0, active, 0, 0, active.Width(), active.Height());
}

void TfrmM::PushUndo() {
  // The slot taken next may hold a redo state; a new stroke ends the redo in any case.
  redoCount = 0;
  undoIndex = (undoIndex + 1) % ringLevels_;
  const CDibTM& active = *drawTarget;
  CopyBlock(undoSlots[static_cast<std::size_t>(undoIndex)], 0, 0, active, 0, 0, active.Width(),
            active.Height());
  undoCount = std::min(undoCount + 1, ringLevels_);
}

void TfrmM::Undo() {
  if (undoCount <= 0) return;
  undoCount = std::max(undoCount - 1, 0);
  // Redo states saved before the layer changed by other means no longer follow from it.
  if (redoCount > 0 && LayerFingerprint() != redoFingerprint_) redoCount = 0;
  // The layer as it is goes into the slot being restored, so that a redo can bring it back.
  if (SwapWithSnapshot()) {
    ++redoCount;
    redoFingerprint_ = LayerFingerprint();
  } else {
    RestoreSnapshot();
    redoCount = 0;
  }
  undoIndex = undoIndex - 1 < 0 ? ringLevels_ - 1 : undoIndex - 1;
  AfterHistoryStep();
}

void TfrmM::Redo() {
  if (redoCount <= 0) return;
  if (LayerFingerprint() != redoFingerprint_) {
    redoCount = 0;
    return;
  }
  // The fingerprint holds the layer's size, and slots only grow with a new history: the slot
  // still covers the layer.
  undoIndex = (undoIndex + 1) % ringLevels_;
  SwapWithSnapshot();
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

bool TfrmM::SwapWithSnapshot() {
  CDibTrue& slot = undoSlots[static_cast<std::size_t>(undoIndex)];
  CDibTM& active = *drawTarget;
  if (slot.Bits() == nullptr || active.Bits() == nullptr || slot.Width() < active.Width() ||
      slot.Height() < active.Height())
    return false;
  const std::size_t rowBytes = static_cast<std::size_t>(active.Width()) * 3;
  for (int y = 0; y < active.Height(); ++y) {
    std::uint8_t* a =
        active.Bits() + static_cast<std::ptrdiff_t>(active.Height() - 1 - y) * active.Width() * 3;
    std::uint8_t* s =
        slot.Bits() + static_cast<std::ptrdiff_t>(slot.Height() - 1 - y) * slot.Width() * 3;
    std::swap_ranges(a, a + rowBytes, s);
  }
  return true;
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

void TfrmM::EndRedoBeforeStroke() {
  if (redoCount < ringLevels_) return;
  if (LayerFingerprint() == redoFingerprint_)
    CopyBlock(undoSlots[static_cast<std::size_t>(undoIndex)], 0, 0, *drawTarget, 0, 0,
              drawTarget->Width(), drawTarget->Height());
  redoCount = 0;
}

void TfrmM::RestoreSnapshot() {
  CDibTM& active = *drawTarget;
  CopyBlock(active, 0, 0, undoSlots[static_cast<std::size_t>(undoIndex)], 0, 0, active.Width(),
            active.Height());
}

void TfrmM::RestoreSnapshotRect(int x, int y, int w, int h) {
  CopyBlock(*drawTarget, x, y, undoSlots[static_cast<std::size_t>(undoIndex)], x, y, w, h);
}

const std::uint8_t* TfrmM::SnapshotRow(int y) const {
  const CDibTrue& slot = undoSlots[static_cast<std::size_t>(undoIndex)];
  const CDibTM& active = *drawTarget;
  if (slot.Bits() == nullptr || slot.Width() < active.Width() || slot.Height() < active.Height() ||
      y < 0 || y >= active.Height())
    return nullptr;
  return slot.Bits() + static_cast<std::ptrdiff_t>(slot.Height() - 1 - y) * slot.Width() * 3;
}

}  // namespace mirasketch

#include "transform/selection.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "buffers/copy_block.h"
#include "buffers/dib_tm.h"
#include "platform/platform.h"
#include "project/canvas_view_state.h"

namespace mirasketch {

namespace {

// The rubber band's colour: blue 64, green 240, red 64.
constexpr int kBandColour = 4255808;

// How far the piece may be dragged from the layer: far enough to leave it wholly, near enough
// that its corners stay well inside an int.
constexpr long long kPieceReach = 1LL << 24;

bool IsEmpty(const PixelRect& r) {
  return r.width <= 0 || r.height <= 0;
}

int ClampReach(long long v) {
  return static_cast<int>(std::clamp(v, -kPieceReach, kPieceReach));
}

// Reverses `count` elements of `bytes` bytes each in place, swapping the first with the last.
void ReverseCells(std::uint8_t* row, int count, int bytes) {
  std::uint8_t* left = row;
  std::uint8_t* right = row + static_cast<std::ptrdiff_t>(count - 1) * bytes;
  for (; left < right; left += bytes, right -= bytes) std::swap_ranges(left, left + bytes, right);
}

// Swaps rows i and height − 1 − i of a bottom-up plane whose rows are `stride` bytes apart,
// `rowBytes` of each.
void ReverseRows(std::uint8_t* bits, std::ptrdiff_t stride, int height, std::size_t rowBytes) {
  std::uint8_t* top = bits + (height - 1) * stride;
  std::uint8_t* bottom = bits;
  for (; top > bottom; top -= stride, bottom += stride)
    std::swap_ranges(top, top + rowBytes, bottom);
}

}  // namespace

Selection::Selection(ToolEngine& engine, CanvasViewState& view, Platform& platform,
                     SelectionLinks& links)
    : engine_(engine), view_(view), platform_(platform), links_(links) {}

void Selection::Register() {
  engine_.RegisterTool(tkSelect, *this);
}

void Selection::ToolEventOccurred(ToolEngine& engine, ToolEvent event) {
  switch (event) {
    case teDeactivate:
    case teUndone:
      EndFloatingPiece();
      break;
    case teDown:
      Press();
      break;
    case teMove:
      Move();
      break;
    case teUp:
      Release();
      break;
    case teRefresh:
      // A setting that changes how the piece is laid (the mask switch, the transparency, the
      // piece's own mask) lays it again.
      if (pieceFloating) {
        RestoreDrawn();
        StampPiece();
        drawn_ = PieceRect();
        engine.refreshChangedLayer = true;
      }
      break;
    default:
      break;
  }
}

void Selection::Press() {
  const long long x = engine_.curX, y = engine_.curY;
  if (pieceFloating && x >= pieceX && x < static_cast<long long>(pieceX) + pieceWidth &&
      y >= pieceY && y < static_cast<long long>(pieceY) + pieceHeight) {
    selectDrag = 2;
  } else {
    // A new rectangle: the layer as it is now, a piece left where it lies included, is what an
    // undo returns to.
    engine_.links().PushUndo();
    drawn_ = {};
    selectDrag = 1;
    engine_.links().ClearReadouts();
  }
  engine_.dirtyRect = {engine_.curX - 2, engine_.curY - 2, 4, 4};
  engine_.strokeActive = true;
}

void Selection::Move() {
  // The repaint covers what was drawn before the move and what is drawn now; at the first move of
  // a new rectangle that is the press point.
  PixelRect before = drawn_;
  if (IsEmpty(before)) before = {engine_.prevX, engine_.prevY, 1, 1};
  RestoreDrawn();
  const int x = engine_.curX, y = engine_.curY;
  if (selectDrag == 1) {
    const int px = engine_.prevX, py = engine_.prevY;
    const int width = std::abs(x - px) + 1, height = std::abs(y - py) + 1;
    const int left = std::min(x, px), top = std::min(y, py);
    // The band is drawn into the layer: its four edges are saved for undo first.
    ToolLinks& links = engine_.links();
    if (!links.SaveBeforeWrite(left, py, width, 1) || !links.SaveBeforeWrite(x, top, 1, height) ||
        !links.SaveBeforeWrite(left, y, width, 1) || !links.SaveBeforeWrite(px, top, 1, height)) {
      DirtyUnion(before, before);
      return;
    }
    CDibTM& layer = links.ActiveLayer();
    layer.Line(px, py, x, py, kBandColour);
    layer.Line(x, py, x, y, kBandColour);
    layer.Line(x, y, px, y, kBandColour);
    layer.Line(px, y, px, py, kBandColour);
    drawn_ = {left, top, width, height};
    engine_.draw.MarkChanged(drawn_.x, drawn_.y, drawn_.x + width - 1, drawn_.y + height - 1);
    DirtyUnion(before, drawn_);
    engine_.links().ShowRectReadout(1, px, py, x, y);
    links_.ShowPointReadout(2, "縦横", width, height);
    return;
  }
  pieceX = ClampReach(static_cast<long long>(pieceX) + x - engine_.prevX);
  pieceY = ClampReach(static_cast<long long>(pieceY) + y - engine_.prevY);
  StampPiece();
  drawn_ = PieceRect();
  engine_.prevX = x;
  engine_.prevY = y;
  DirtyUnion(before, drawn_);
  engine_.links().ShowRectReadout(1, pieceX, pieceY, pieceX + pieceWidth - 1,
                                  pieceY + pieceHeight - 1);
}

void Selection::Release() {
  PixelRect before = drawn_;
  if (IsEmpty(before)) before = {engine_.curX, engine_.curY, 1, 1};
  RestoreDrawn();
  if (selectDrag == 1) {
    SelectRect(engine_.prevX, engine_.prevY, engine_.curX, engine_.curY);
  } else {
    StampPiece();
    drawn_ = PieceRect();
    ShowSelectionFrame();
  }
  DirtyUnion(before, IsEmpty(drawn_) ? before : drawn_);
}

void Selection::RestoreDrawn() {
  if (IsEmpty(drawn_)) return;
  engine_.links().RestoreSnapshotRect(drawn_.x, drawn_.y, drawn_.width, drawn_.height);
  engine_.draw.MarkChanged(drawn_.x, drawn_.y, drawn_.x + drawn_.width - 1,
                           drawn_.y + drawn_.height - 1);
  drawn_ = {};
}

void Selection::DirtyUnion(const PixelRect& before, const PixelRect& after) {
  engine_.DirtyFrom(std::min(before.x, after.x), std::min(before.y, after.y),
                    std::max(before.x + before.width, after.x + after.width) - 1,
                    std::max(before.y + before.height, after.y + after.height) - 1);
}

void Selection::SelectRect(int x0, int y0, int x1, int y1) {
  if (x0 > x1) std::swap(x0, x1);
  if (y0 > y1) std::swap(y0, y1);
  // A snapped drag ends on the grid line after the last selected pixel.
  if (engine_.strokeActive && engine_.snapEnabled) {
    --x1;
    --y1;
  }
  CDibTM& layer = engine_.links().ActiveLayer();
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, layer.Width() - 1);
  y1 = std::min(y1, layer.Height() - 1);
  const int width = x1 - x0 + 1, height = y1 - y0 + 1;
  // Nothing of the rectangle lies on the layer (or a snapped click selected no pixel).
  if (width < 1 || height < 1) return;
  CDibTM& piece = engine_.workLayer;
  if (!engine_.EnsureWorkLayer(width + 1, height + 1, platform_)) {
    EndFloatingPiece();
    return;
  }
  CopyBlock(piece, 0, 0, layer, x0, y0, width, height);
  CopyBlock256(piece.mask, 0, 0, layer.mask, x0, y0, width, height);
  pieceX = x0;
  pieceY = y0;
  pieceWidth = width;
  pieceHeight = height;
  pieceFloating = true;
  drawn_ = PieceRect();
  ShowSelectionFrame();
}

bool Selection::HoldsPiece() const {
  const CDibTM& piece = engine_.workLayer;
  return pieceWidth >= 1 && pieceHeight >= 1 && piece.Bits() != nullptr &&
         piece.Width() > pieceWidth && piece.Height() > pieceHeight &&
         piece.mask.Bits() != nullptr && piece.mask.Width() == piece.Width() &&
         piece.mask.Height() == piece.Height();
}

void Selection::StampPiece() {
  if (!HoldsPiece()) return;
  if (pieceMaskTransparent || engine_.settings.maskEnabled) {
    StampPieceMasked();
    return;
  }
  ToolLinks& links = engine_.links();
  if (!links.SaveBeforeWrite(pieceX, pieceY, pieceWidth, pieceHeight)) return;
  if (CopyBlock(links.ActiveLayer(), pieceX, pieceY, engine_.workLayer, 0, 0, pieceWidth,
                pieceHeight))
    engine_.draw.MarkChanged(pieceX, pieceY, pieceX + pieceWidth - 1, pieceY + pieceHeight - 1);
}

void Selection::StampPieceMasked() {
  DrawContext& draw = engine_.draw;
  if (!draw.PrepareDraw(0, 0)) return;
  const CDibTM& piece = engine_.workLayer;
  int dx = pieceX, dy = pieceY, sx = 0, sy = 0, w = pieceWidth, h = pieceHeight;
  if (!ClipBlock(dx, dy, sx, sy, w, h, draw.width, draw.height, piece.Width(), piece.Height()))
    return;
  if (!engine_.links().SaveBeforeWrite(dx, dy, w, h)) return;
  const int a = engine_.settings.transparencyOff ? 0 : engine_.settings.transparency;
  const std::ptrdiff_t pieceStride = static_cast<std::ptrdiff_t>(piece.Width());
  draw.t = 0;
  for (int r = 0; r < h; ++r) {
    const std::uint8_t* pixel = piece.Bits() + piece.PixelOffset(sx, sy + r);
    const std::uint8_t* own =
        piece.mask.Bits() + (piece.Height() - 1 - (sy + r)) * pieceStride + sx;
    for (int c = 0; c < w; ++c, pixel += 3, ++own) {
      draw.paintB = pixel[0];
      draw.paintG = pixel[1];
      draw.paintR = pixel[2];
      if (pieceMaskTransparent) draw.t = std::min(*own + a, 255);
      draw.PlotPixelUnchecked(dx + c, dy + r);
    }
  }
}

void Selection::ShowSelectionFrame() {
  view_.selectionRect = {pieceX, pieceY, pieceX + pieceWidth - 1, pieceY + pieceHeight - 1};
  view_.selectionVisible = true;
  links_.ShowPointReadout(2, "縦横", pieceWidth, pieceHeight);
}

void Selection::FlipPiece(bool leftRight) {
  CDibTM& piece = engine_.workLayer;
  const std::ptrdiff_t stride = piece.Width();
  // The piece's rows are its bottom rows in memory: row y of the piece is buffer row
  // height − 1 − y.
  std::uint8_t* pixels = piece.Bits() + (piece.Height() - pieceHeight) * stride * 3;
  std::uint8_t* own = piece.mask.Bits() + (piece.Height() - pieceHeight) * stride;
  if (leftRight) {
    for (int y = 0; y < pieceHeight; ++y) {
      ReverseCells(pixels + y * stride * 3, pieceWidth, 3);
      ReverseCells(own + y * stride, pieceWidth, 1);
    }
  } else {
    ReverseRows(pixels, stride * 3, pieceHeight, static_cast<std::size_t>(pieceWidth) * 3);
    ReverseRows(own, stride, pieceHeight, static_cast<std::size_t>(pieceWidth));
  }
}

void Selection::SelectAction(int action) {
  ToolLinks& links = engine_.links();
  if (action == 1 || action == 2) {
    if (!pieceFloating || !HoldsPiece()) return;
    RestoreDrawn();
    FlipPiece(action == 1);
    StampPiece();
    drawn_ = PieceRect();
  } else if (action == 3) {
    links.PushUndo();
    drawn_ = {};
    const CDibTM& layer = links.ActiveLayer();
    SelectRect(0, 0, layer.Width() - 1, layer.Height() - 1);
  } else {
    return;
  }
  links.RedrawCanvas();
  links.RefreshPosition();
}

void Selection::CutOrCopy(int mode) {
  if (!pieceFloating || !HoldsPiece()) return;
  platform_.PutClipboardBitmap(engine_.workLayer, pieceWidth, pieceHeight);
  ToolLinks& links = engine_.links();
  if (mode == 1 && links.SaveBeforeWrite(pieceX, pieceY, pieceWidth, pieceHeight)) {
    links.ActiveLayer().FillRect(pieceX, pieceY, pieceWidth, pieceHeight,
                                 static_cast<int>(engine_.settings.eraseColor));
    EndFloatingPiece();
    // The erased layer is saved, so an undo right after the cut keeps the cut.
    links.PushUndo();
  }
  links.RedrawCanvas();
}

void Selection::PasteFromClipboard() {
  if (!platform_.ClipboardHasBitmap()) return;
  // Taken into a buffer of its own first: a picture the buffers refuse leaves the piece that
  // floats now as it is.
  CDibTrue pasted;
  int width = 0, height = 0;
  if (!platform_.TakeClipboardBitmap(pasted, 1, 1, width, height)) {
    if (width > 0 && height > 0) platform_.ShowMessage(kBitsAllocError);
    return;
  }
  CDibTM& piece = engine_.workLayer;
  if (!engine_.EnsureWorkLayer(width + 1, height + 1, platform_)) {
    EndFloatingPiece();
    return;
  }
  CopyBlock(piece, 0, 0, pasted, 0, 0, width + 1, height + 1);
  pieceWidth = width;
  pieceHeight = height;
  PlacePiece();
  engine_.links().RedrawCanvas();
  engine_.links().RecomposeAndRefreshPosition();
}

void Selection::PastePiece(int width, int height) {
  pieceWidth = width;
  pieceHeight = height;
  if (!HoldsPiece()) return;
  PlacePiece();
  links_.ShowCanvasWindow();
  engine_.links().RedrawCanvas();
  engine_.links().RecomposeAndRefreshPosition();
}

void Selection::PlacePiece() {
  ToolLinks& links = engine_.links();
  links.PushUndo();
  drawn_ = {};
  links.SelectTool(tkSelect);
  const CDibTM& layer = links.ActiveLayer();
  const int zoom = std::max(view_.zoom, 1);
  long long x = view_.scrollX / zoom - static_cast<long long>(layer.offsetX);
  long long y = view_.scrollY / zoom - static_cast<long long>(layer.offsetY);
  if (engine_.snapEnabled) {
    const long long w = std::max(engine_.snapWidth, 1), h = std::max(engine_.snapHeight, 1);
    x = x / w * w;
    y = y / h * h;
  }
  pieceX = ClampReach(x);
  pieceY = ClampReach(y);
  StampPiece();
  pieceFloating = true;
  drawn_ = PieceRect();
  ShowSelectionFrame();
  links.RefreshPosition();
}

void Selection::OpenTransform() {
  links_.OpenTransformWindow(pieceFloating && HoldsPiece(), pieceWidth, pieceHeight);
}

void Selection::EndFloatingPiece() {
  pieceFloating = false;
  view_.selectionVisible = false;
  drawn_ = {};
}

}  // namespace mirasketch

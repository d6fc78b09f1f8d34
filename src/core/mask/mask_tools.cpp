#include "mask/mask_tools.h"

#include <algorithm>
#include <cstring>

#include "buffers/copy_block.h"
#include "buffers/dib_tm.h"
#include "buffers/fingerprint.h"
#include "mask/mask_links.h"
#include "painting/paint_bucket.h"
#include "project/layer_project.h"

namespace mirasketch {

namespace {

constexpr int kUndoLevels = 3;
// The mask values the region fill takes with the one clicked.
constexpr int kFillRange = 8;
// The value of the centre drag's guide line.
constexpr int kGuideValue = 128;

}  // namespace

MaskTools::MaskTools(ToolEngine& engine, MaskLinks& links) : engine_(engine), links_(links) {}

void MaskTools::Register() {
  engine_.RegisterTool(tkMask, *this);
}

CDib256* MaskTools::Mask() {
  CDibTM& layer = engine_.links().ActiveLayer();
  CDib256& mask = layer.mask;
  if (mask.Bits() == nullptr || mask.Width() != layer.Width() || mask.Height() != layer.Height())
    return nullptr;
  return &mask;
}

std::uint8_t* MaskTools::UndoSlot(int slot) {
  const CDibTM& layer = engine_.links().ActiveLayer();
  const std::size_t plane =
      static_cast<std::size_t>(layer.Width()) * static_cast<std::size_t>(layer.Height());
  CDibTM& scratch = engine_.workLayer;
  const std::size_t held =
      static_cast<std::size_t>(scratch.Width()) * static_cast<std::size_t>(scratch.Height()) * 3;
  if (scratch.Bits() == nullptr || held < plane * kUndoLevels) return nullptr;
  return scratch.Bits() + plane * static_cast<std::size_t>(slot);
}

void MaskTools::PushMaskUndo() {
  redoCount = 0;
  CDib256* mask = Mask();
  if (mask == nullptr) return;
  const int next = (undoIndex + 1) % kUndoLevels;
  std::uint8_t* slot = UndoSlot(next);
  if (slot == nullptr) return;
  undoIndex = next;
  std::memcpy(slot, mask->Bits(),
              static_cast<std::size_t>(mask->Width()) * static_cast<std::size_t>(mask->Height()));
  undoCount = std::min(undoCount + 1, kUndoLevels);
}

bool MaskTools::SwapWithSlot() {
  CDib256* mask = Mask();
  std::uint8_t* slot = UndoSlot(undoIndex);
  if (mask == nullptr || slot == nullptr) return false;
  const std::size_t bytes =
      static_cast<std::size_t>(mask->Width()) * static_cast<std::size_t>(mask->Height());
  std::swap_ranges(mask->Bits(), mask->Bits() + bytes, slot);
  engine_.draw.MarkChanged(0, 0, mask->Width() - 1, mask->Height() - 1);
  return true;
}

std::uint64_t MaskTools::RedoFingerprint() {
  const CDib256* mask = Mask();
  const std::uint8_t* planes = UndoSlot(0);
  if (mask == nullptr || planes == nullptr) return 0;
  const std::size_t bytes =
      static_cast<std::size_t>(mask->Width()) * static_cast<std::size_t>(mask->Height());
  return Fingerprint(mask->Bits(), bytes, Fingerprint(planes, bytes * kUndoLevels));
}

void MaskTools::UndoMask() {
  if (undoCount <= 0) return;
  // Redo states saved before the mask changed by other means no longer follow from it.
  if (redoCount > 0 && RedoFingerprint() != redoFingerprint_) redoCount = 0;
  // The mask as it is goes into the slot being restored, so that a redo can bring it back.
  if (!SwapWithSlot()) return;
  undoIndex = undoIndex - 1 < 0 ? kUndoLevels - 1 : undoIndex - 1;
  --undoCount;
  ++redoCount;
  redoFingerprint_ = RedoFingerprint();
}

void MaskTools::RedoMask() {
  if (redoCount <= 0) return;
  if (RedoFingerprint() != redoFingerprint_) {
    redoCount = 0;
    return;
  }
  undoIndex = (undoIndex + 1) % kUndoLevels;
  SwapWithSlot();
  ++undoCount;
  --redoCount;
  redoFingerprint_ = RedoFingerprint();
}

void MaskTools::SaveMaskToScratch() {
  if (CDib256* mask = Mask())
    CopyBlock256(engine_.workPlane, 0, 0, *mask, 0, 0, mask->Width(), mask->Height());
}

void MaskTools::RestoreMaskFromScratch() {
  if (CDib256* mask = Mask())
    CopyBlock256(*mask, 0, 0, engine_.workPlane, 0, 0, mask->Width(), mask->Height());
}

void MaskTools::PickMaskStrength() {
  const CDib256* mask = Mask();
  const int value = mask != nullptr ? mask->GetPixel(engine_.curX, engine_.curY) : -1;
  links_.SetStrengthBar(std::max(value, 0));
}

void MaskTools::MarkColourRange(int colour, bool set) {
  if (colour < 0) return;
  std::array<std::uint8_t, 256>& range = links_.ColourRange();
  const int width = links_.DropperWidth();
  for (int k = 0; k < 3; ++k) {
    const int value = (colour >> (8 * k)) & 0xFF;
    const auto bit = static_cast<std::uint8_t>(1 << k);
    for (int i = 0; i <= width; ++i) {
      for (const int v : {std::clamp(value + i, 0, 255), std::clamp(value - i, 0, 255)}) {
        std::uint8_t& entry = range[static_cast<std::size_t>(v)];
        entry =
            set ? static_cast<std::uint8_t>(entry | bit) : static_cast<std::uint8_t>(entry & ~bit);
      }
    }
  }
  links_.ColourRangeChanged();
}

void MaskTools::ExtractMaskByColour() {
  PushMaskUndo();
  CDib256* mask = Mask();
  if (mask == nullptr) return;
  const CDibTM& layer = engine_.links().ActiveLayer();
  const std::array<std::uint8_t, 256>& range = links_.ColourRange();
  const std::size_t pixels =
      static_cast<std::size_t>(layer.Width()) * static_cast<std::size_t>(layer.Height());
  const std::uint8_t* p = layer.Bits();
  std::uint8_t* m = mask->Bits();
  const auto strength = static_cast<std::uint8_t>(maskStrength);
  for (std::size_t i = 0; i < pixels; ++i, p += 3) {
    if ((range[p[2]] & 1) != 0 && (range[p[1]] & 2) != 0 && (range[p[0]] & 4) != 0) m[i] = strength;
  }
  engine_.draw.MarkChanged(0, 0, mask->Width() - 1, mask->Height() - 1);
}

void MaskTools::InvertMask() {
  PushMaskUndo();
  CDib256* mask = Mask();
  if (mask == nullptr) return;
  std::uint8_t* m = mask->Bits();
  const std::size_t bytes =
      static_cast<std::size_t>(mask->Width()) * static_cast<std::size_t>(mask->Height());
  for (std::size_t i = 0; i < bytes; ++i) m[i] = static_cast<std::uint8_t>(255 - m[i]);
  engine_.draw.MarkChanged(0, 0, mask->Width() - 1, mask->Height() - 1);
}

void MaskTools::ClearMask() {
  PushMaskUndo();
  CDib256* mask = Mask();
  if (mask == nullptr) return;
  mask->FillRect(0, 0, mask->Width(), mask->Height(), 0);
  engine_.draw.MarkChanged(0, 0, mask->Width() - 1, mask->Height() - 1);
}

void MaskTools::ToolEventOccurred(ToolEngine& e, ToolEvent event) {
  if (event == teActivate) {
    const CDibTM& layer = e.links().ActiveLayer();
    // The undo planes live in the work layer's storage: three of them fit a picture of the
    // layer's size.
    e.EnsureWorkLayer(layer.Width(), layer.Height(), e.project().Messages());
    undoIndex = 0;
    undoCount = 0;
    redoCount = 0;
    links_.SetDisplayMode(maskTool == mtSpoit ? 1 : 2);
    e.links().RedrawCanvas();
    e.links().RefreshPosition();
    return;
  }
  switch (maskTool) {
    case mtPen:
      Pen(event);
      break;
    case mtBox:
      Box(event);
      break;
    case mtFill:
      Fill(event);
      break;
    case mtSpoit:
      Dropper(event);
      break;
    case mtCentreDrag:
      CentreDrag(event);
      break;
    default:
      break;
  }
}

void MaskTools::StampMask(int x, int y) {
  CDib256* mask = Mask();
  if (mask == nullptr) return;
  const CDib256& sheet = engine_.brushImage;
  const int cellX = maskBrush % 8 * 16;
  const int cellY = maskBrush / 8 * 16;
  const int w = mask->Width();
  const int h = mask->Height();
  const auto strength = static_cast<std::uint8_t>(maskStrength);
  for (int i = 0; i < 16; ++i) {
    const int my = y + i - 8;
    if (my < 0 || my >= h) continue;
    std::uint8_t* row = mask->Bits() + static_cast<std::ptrdiff_t>(h - 1 - my) * w;
    for (int j = 0; j < 16; ++j) {
      const int mx = x + j - 8;
      // A cell the sheet does not hold reads as −1 and so paints.
      if (mx >= 0 && mx < w && sheet.GetPixel(cellX + j, cellY + i) < 255) row[mx] = strength;
    }
  }
  engine_.draw.MarkChanged(x - 8, y - 8, x + 7, y + 7);
}

void MaskTools::Pen(ToolEvent event) {
  ToolEngine& e = engine_;
  if (event == teDown && e.buttonCode != 1) {
    PickMaskStrength();
    return;
  }
  if (event != teDown && event != teMove) return;
  if (event == teDown) {
    PushMaskUndo();
    e.DirtyAround(e.curX, e.curY);
    e.strokeActive = true;
  } else {
    e.DirtyFrom(e.prevX, e.prevY, e.curX, e.curY);
  }
  e.draw.WalkLine(e.prevX, e.prevY, e.curX, e.curY, [this](int x, int y) { StampMask(x, y); });
  e.prevX = e.curX;
  e.prevY = e.curY;
}

void MaskTools::DirtyBox() {
  ToolEngine& e = engine_;
  e.DirtyFrom(e.prevX, e.prevY, e.curX, e.curY);
  e.stampBox[0] = {e.dirtyRect.x, e.dirtyRect.y, e.dirtyRect.x + e.dirtyRect.width - 1,
                   e.dirtyRect.y + e.dirtyRect.height - 1};
}

void MaskTools::DrawBox() {
  ToolEngine& e = engine_;
  RestoreMaskFromScratch();
  CDib256* mask = Mask();
  if (mask == nullptr) return;
  const int x0 = std::min(e.prevX, e.curX);
  const int x1 = std::max(e.prevX, e.curX);
  const int y0 = std::min(e.prevY, e.curY);
  const int y1 = std::max(e.prevY, e.curY);
  mask->FillRect(x0, y0, x1 - x0 + 1, y1 - y0 + 1, maskStrength);
  // The rectangle drawn before is gone again: both have changed.
  e.draw.MarkChanged(std::min(x0, lastBox_[0]), std::min(y0, lastBox_[1]),
                     std::max(x1, lastBox_[2]), std::max(y1, lastBox_[3]));
  lastBox_ = {x0, y0, x1, y1};
}

void MaskTools::Box(ToolEvent event) {
  ToolEngine& e = engine_;
  switch (event) {
    case teDown:
      if (e.buttonCode != 1) {
        PickMaskStrength();
        break;
      }
      PushMaskUndo();
      SaveMaskToScratch();
      if (CDib256* mask = Mask()) mask->SetPixel(e.curX, e.curY, maskStrength);
      lastBox_ = {e.curX, e.curY, e.curX, e.curY};
      e.draw.MarkChanged(e.curX, e.curY, e.curX, e.curY);
      DirtyBox();
      e.strokeActive = true;
      break;
    case teMove:
      // The repaint covers the previous rectangle and the new one.
      e.DirtyDiscUnion(std::min(e.prevX, e.curX), std::min(e.prevY, e.curY),
                       std::max(e.prevX, e.curX), std::max(e.prevY, e.curY));
      DrawBox();
      break;
    case teUp:
      DrawBox();
      break;
    default:
      break;
  }
}

void MaskTools::Fill(ToolEvent event) {
  ToolEngine& e = engine_;
  if (event != teDown) return;
  if (e.buttonCode != 1) {
    PickMaskStrength();
    return;
  }
  PushMaskUndo();
  const CDib256* mask = Mask();
  const int seed = mask != nullptr ? mask->GetPixel(e.curX, e.curY) : -1;
  if (seed < 0) return;
  MaskFloodFill(e, e.curX, e.curY, seed, kFillRange, static_cast<std::uint8_t>(maskStrength));
}

void MaskTools::Dropper(ToolEvent event) {
  ToolEngine& e = engine_;
  const int colour = e.links().ActiveLayer().GetPixel(e.curX, e.curY);
  if (event == teDown) {
    MarkColourRange(colour, e.buttonCode == 1);
    if (e.buttonCode == 1) e.strokeActive = true;
  } else if (event == teMove) {
    MarkColourRange(colour, true);
  }
}

void MaskTools::CentreDrag(ToolEvent event) {
  ToolEngine& e = engine_;
  switch (event) {
    case teDown:
      if (e.buttonCode != 1) break;
      SaveMaskToScratch();
      DirtyBox();
      e.strokeActive = true;
      break;
    case teMove:
      RestoreMaskFromScratch();
      if (CDib256* mask = Mask()) mask->Line(e.prevX, e.prevY, e.curX, e.curY, kGuideValue);
      e.draw.MarkChanged(std::min(e.prevX, e.curX), std::min(e.prevY, e.curY),
                         std::max(e.prevX, e.curX), std::max(e.prevY, e.curY));
      e.DirtyDiscUnion(std::min(e.prevX, e.curX), std::min(e.prevY, e.curY),
                       std::max(e.prevX, e.curX), std::max(e.prevY, e.curY));
      break;
    case teUp:
      RestoreMaskFromScratch();
      links_.MoveEffectCentre(e.curX - e.prevX, e.curY - e.prevY);
      break;
    default:
      break;
  }
}

}  // namespace mirasketch

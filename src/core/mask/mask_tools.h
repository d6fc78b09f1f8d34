#pragma once

#include <array>
#include <cstdint>

#include "painting/tool_engine.h"

namespace mirasketch {

class CDibTM;
class MaskLinks;

// The mask tools, by the Tag of their button in the mask window.
enum MaskToolKind : std::int32_t {
  mtSpoit = 1,  // the dropper: marks colour ranges around the colour under the pointer
  mtPen = 4,
  mtBox = 5,
  mtFill = 6,
  mtCentreDrag = 128,  // moves the centre of a mask effect by the drag
};

// The mask tool module: what a stroke on the canvas does to the active layer's mask while the mask
// tool is current, the three-level mask undo kept in the work layer's storage, and the whole-mask
// operations of the mask window. Mask bytes: 0 not masked … 255 fully masked.
class MaskTools : public ToolHandler {
 public:
  MaskTools(ToolEngine& engine, MaskLinks& links);

  // Registers the module with the engine under the mask tool's code.
  void Register();
  void ToolEventOccurred(ToolEngine& engine, ToolEvent event) override;

  // Saves the active layer's mask into the next undo slot, and restores the newest one (nothing
  // when the ring is empty). `RedoMask` takes back the latest undo; it does nothing once a save,
  // an activation or any other change of the mask came after that undo.
  void PushMaskUndo();
  void UndoMask();
  void RedoMask();
  // The mask copied into the work plane and back, around drags that redraw from it.
  void SaveMaskToScratch();
  void RestoreMaskFromScratch();
  // The strength bar goes to the mask byte under the pointer (0 outside the layer).
  void PickMaskStrength();
  // Sets or clears, for each channel of `colour` (0x00BBGGRR; nothing for a negative one), its
  // bit in the table entries within the dropper width of the channel's value.
  void MarkColourRange(int colour, bool set);
  // Every pixel whose red, green and blue are all marked in the colour-range table takes the
  // strength; the others keep their mask. One undo level, even when nothing changes.
  void ExtractMaskByColour();
  // Every mask byte v becomes 255 − v; the whole mask becomes 0. One undo level each.
  void InvertMask();
  void ClearMask();

  // The active layer's mask when it has the layer's size, else null: nothing is done then.
  CDib256* Mask();

  std::int32_t maskTool = mtPen;
  std::int32_t maskStrength = 255;  // the value the tools write, 0 … 255
  std::int32_t maskBrush = 0;       // the stamp of the mask pen
  int undoIndex = 0;
  int undoCount = 0;
  int redoCount = 0;  // undos that `RedoMask` can take back, kept in the slots after `undoIndex`

 private:
  // The undo slot `slot` in the work layer's storage, null when it cannot hold three planes.
  std::uint8_t* UndoSlot(int slot);
  // Exchanges the mask with undo slot `undoIndex`; false when either is missing.
  bool SwapWithSlot();
  // The mask and the three undo planes as one digest: a redo is valid only while it is unchanged.
  std::uint64_t RedoFingerprint();
  void Pen(ToolEvent event);
  void Box(ToolEvent event);
  void Fill(ToolEvent event);
  void Dropper(ToolEvent event);
  void CentreDrag(ToolEvent event);
  // Stamps the mask pen's stamp at (x, y): every cell that paints sets the strength.
  void StampMask(int x, int y);
  // The box of the press point and the current point extended by the stamp's reach, taken as the
  // stroke's first stamp box too.
  void DirtyBox();
  // The rectangle of the press point and the current point filled with the strength, over the
  // mask as it was at the press.
  void DrawBox();

  ToolEngine& engine_;
  MaskLinks& links_;
  std::array<int, 4> lastBox_{};  // the rectangle the box drew last (left, top, right, bottom)
  std::uint64_t redoFingerprint_ = 0;
};

}  // namespace mirasketch

#pragma once

#include <string>

#include "painting/tool_engine.h"
#include "platform/surface.h"

namespace mirasketch {

class Platform;
struct CanvasViewState;

// What the selection needs from the windows around it beyond the tool engine's links: the canvas
// window shown, the option window's size readout, and the transform window. The Studio implements
// it.
class SelectionLinks {
 public:
  virtual ~SelectionLinks() = default;

  virtual void ShowCanvasWindow() = 0;
  // Option window: readout line `line` as the prefix followed by the two numbers.
  virtual void ShowPointReadout(int line, const std::string& prefix, int a, int b) = 0;
  // Transform window: shown, handed the floating piece (the tool engine's `workLayer`, its
  // top-left width × height) when `withPiece`.
  virtual void OpenTransformWindow(bool withPiece, int width, int height) = 0;
};

// The rectangle selection tool and the floating piece: a rectangle of the active layer, pixels
// and mask, copied into the tool engine's `workLayer` (with a spare column and row the flips use)
// and stamped on the layer at its place; dragging it re-draws it over the layer as the undo
// snapshot holds it, so it leaves no copies. Cut, copy and paste go through the platform's
// clipboard.
class Selection : public ToolHandler {
 public:
  Selection(ToolEngine& engine, CanvasViewState& view, Platform& platform, SelectionLinks& links);

  // Registers the module with the engine under the selection tool's code.
  void Register();
  void ToolEventOccurred(ToolEngine& engine, ToolEvent event) override;

  // Copies the rectangle with corners (x0, y0) and (x1, y1), clamped to the layer, into the piece
  // and makes it float where it was; the layer is not changed. A rectangle left empty by the
  // clamps is refused.
  void SelectRect(int x0, int y0, int x1, int y1);
  // Draws the piece on the active layer at its place: copied, or blended through the masks when
  // the piece's own mask is its transparency or the mask switch is on.
  void StampPiece();
  // Frames the piece on the canvas and shows its size.
  void ShowSelectionFrame();
  // 1 flips the piece left-right, 2 upside down, 3 selects the whole layer.
  void SelectAction(int action);
  // 1 cuts, 2 copies the floating piece to the clipboard; the cut fills its place with the erase
  // colour and saves the result as an undo level.
  void CutOrCopy(int mode);
  // The clipboard's picture becomes a floating piece (mask clear) at the window's top-left; a
  // clipboard without a picture does nothing, one too large for the buffers is refused with the
  // buffer's message.
  void PasteFromClipboard();
  // A piece of width × height already in `workLayer` floats at the window's top-left, after an
  // undo level.
  void PastePiece(int width, int height);
  // Shows the transform window, handing it the piece when one floats.
  void OpenTransform();
  // The piece stops floating and its frame goes: it stays painted where it is.
  void EndFloatingPiece();

  int pieceX = 0;
  int pieceY = 0;
  int pieceWidth = 0;
  int pieceHeight = 0;
  bool pieceFloating = false;
  int selectDrag = 1;  // 1 drawing a new rectangle, 2 moving the piece
  bool pieceMaskTransparent = false;

 private:
  void Press();
  void Move();
  void Release();
  // Takes back what the selection drew over the snapshot (the rubber band or the piece).
  void RestoreDrawn();
  // The piece stamped and remembered as drawn; the dirty rectangle covers its old and new place.
  void StampAndTrack();
  void StampPieceMasked();
  // Swaps columns (or rows) i and width − 1 − i of the piece through the spare column (row).
  void FlipPiece(bool leftRight);
  // Puts the piece's top-left at the canvas point in the window's top-left corner and lets it
  // float, after an undo level.
  void PlacePiece();
  // Whether `workLayer` holds the piece with its spare column and row.
  bool HoldsPiece() const;
  PixelRect PieceRect() const { return {pieceX, pieceY, pieceWidth, pieceHeight}; }
  void DirtyUnion(const PixelRect& before, const PixelRect& after);

  ToolEngine& engine_;
  CanvasViewState& view_;
  Platform& platform_;
  SelectionLinks& links_;
  // Where the layer differs from the newest snapshot because of the selection (empty: nowhere).
  PixelRect drawn_{};
};

}  // namespace mirasketch

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "painting/tool_engine.h"

namespace mirasketch {

class MessageSink;

// The ruler: a triangle or a cloud-curve template laid over the canvas, moved by its centre,
// turned by its handle, and drawn along: while the pointer passes near its edge, stamps land on
// the edge. The outline is drawn into the composed picture (composing stays off while the ruler
// is current) and, as the rail the strokes follow, with value 1 into the work layer's mask.
class RulerTool : public ToolHandler {
 public:
  // "Ruler.dat": two records of 128 bytes, the triangle's and the cloud's; each holds a point
  // count, a reserved word and 15 points (x, y) relative to the centre, all little-endian int32.
  static constexpr int kRecordBytes = 128;
  static constexpr int kDataBytes = 2 * kRecordBytes;
  static constexpr int kRecordPoints = 15;
  // Template coordinates beyond this are refused: scaled by at most 5 they stay well inside the
  // range a line walk handles.
  static constexpr int kMaxCoordinate = 10000;

  // What a press does: nothing, move the ruler, rotate it, draw along it.
  enum Drag { kNone = 0, kMove = 1, kRotate = 2, kDrawAlong = 3 };

  struct Point {
    int x = 0;
    int y = 0;
  };

  void Register(ToolEngine& engine);
  // Reads the two templates. A missing file, a file of the wrong length, a count outside 0 … 15
  // or a coordinate beyond kMaxCoordinate is reported and leaves both records empty, so the ruler
  // draws nothing and has no rail.
  bool LoadRulerData(const std::string& fileName, MessageSink& messages);
  void ToolEventOccurred(ToolEngine& engine, ToolEvent event) override;

  // The template of the current kind at the current scale and mirroring into the engine's point
  // list.
  void LoadRulerShape(ToolEngine& engine) const;
  // Recomposes the whole canvas and draws the outline, its rail and (unless drawing along) the
  // handles. `mode` 3 first clears the rail of earlier positions.
  void DrawRulerOverlay(ToolEngine& engine, int mode);
  // The drag a press at (x, y) starts: move near the centre, rotate near the handle, else draw.
  int RulerHitTest(int x, int y) const;
  // A template point turned by the angle and placed at the centre.
  Point TransformPoint(double x, double y) const;
  // The rotation handle, 24 pixels from the centre along the angle.
  Point Handle() const;

  Point rulerCenter{128, 128};
  float rulerAngle = 0.0f;
  int rulerDrag = kNone;
  std::array<std::uint8_t, kDataBytes> rulerData{};

 private:
  // The overlay over the composed picture as it stands: the previous overlay's pixels are put back
  // first. Valid while nothing else changed the picture since that overlay, as within one drag.
  void RedrawOverlayQuick(ToolEngine& engine);
  void DrawOutline(ToolEngine& engine);
  void DrawHandles(ToolEngine& engine);
  // A line of the outline: into the composed picture at the layer offset and into the rail.
  void OutlineLine(ToolEngine& engine, Point a, Point b);
  // A one-pixel line into the composed picture, each pixel's old colour kept for the next quick
  // redraw.
  void OverlayLine(ToolEngine& engine, int x1, int y1, int x2, int y2, int colour);
  void RestoreUnder(ToolEngine& engine);
  void MoveOrRotate(ToolEngine& engine);
  void DrawAlong(ToolEngine& engine);

  struct Saved {
    std::ptrdiff_t offset;
    std::uint8_t b, g, r;
  };
  // The composed picture's pixels under the overlay, in the order they were drawn over.
  std::vector<Saved> under_;
  // The picture the saved pixels belong to.
  const std::uint8_t* underBits_ = nullptr;
  int underWidth_ = 0, underHeight_ = 0;
  // Whether the press of the stroke drawing along prepared the stamp.
  bool prepared_ = false;
  // Cosine and sine of the angle, and the layer offset, for the overlay being drawn.
  double cos_ = 1.0, sin_ = 0.0;
  int offsetX_ = 0, offsetY_ = 0;
};

}  // namespace mirasketch

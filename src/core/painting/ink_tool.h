#pragma once

#include <array>

#include "painting/spline.h"
#include "painting/tool_engine.h"

namespace mirasketch {

// The inking tool: a freehand pen for tracing over a sketch. The pointer path is sampled into
// control points at least the panel's interval apart; each point is pulled toward the dark pixels
// around it in the layer as it was before the stroke, and a spline (or straight segments) is drawn
// through the corrected points. Every move redraws the whole stroke from its snapshot.
class InkTool : public ToolHandler {
 public:
  static constexpr int kMaxPoints = 63;
  // The neighbourhood the darkness correction looks at: 7 × 7 pixels.
  static constexpr int kSnapRadius = 3;

  struct Point {
    int x = 0;
    int y = 0;
  };

  // Registers the tool with the engine under its code.
  void Register(ToolEngine& engine);
  void ToolEventOccurred(ToolEngine& engine, ToolEvent event) override;

  // Moves p to the darkness-weighted centre of the pixels within `radius` of it in the stroke's
  // snapshot, leaving out pixels outside the layer and pixels of exactly the drawing colour; p
  // stays where it is when every weight is 0 (a white neighbourhood).
  static void CentroidSnap(ToolEngine& engine, SplinePoint& p, int radius);

  // The control points of the current stroke.
  std::array<Point, kMaxPoints> inkPoints{};
  int inkCount = 0;

 private:
  void DrawInkStroke(ToolEngine& engine);
};

}  // namespace mirasketch

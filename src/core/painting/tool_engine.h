#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "buffers/dib256.h"
#include "buffers/dib_tm.h"
#include "painting/draw_context.h"
#include "painting/spline.h"
#include "painting/tool_links.h"
#include "painting/tool_settings.h"
#include "platform/surface.h"

namespace mirasketch {

class LayerProject;
class MessageSink;
class ToolEngine;

// A tool family: the module that handles the events of the tools registered under its codes.
// Events arrive for the current tool only; the stroke state is the engine's.
class ToolHandler {
 public:
  virtual ~ToolHandler() = default;
  virtual void ToolEventOccurred(ToolEngine& engine, ToolEvent event) = 0;
};

// The highest tool code a handler can be registered under.
inline constexpr int kMaxToolCode = 127;

// The tool engine: the current tool and its settings, the state of the stroke the canvas window
// drives, the grid snap, the dirty rectangle the canvas repaints, the brush sheet and the two
// scratch buffers the rest of the program shares (`workPlane` follows the canvas size;
// `workLayer` is borrowed as scratch). Stroke calls take active-layer coordinates and are sent as
// events to the handler registered for the current tool; a tool without one takes up no stroke.
class ToolEngine {
 public:
  ToolEngine(LayerProject& project, ToolLinks& links);

  // Makes `handler` receive the events of tool `code` (0 … kMaxToolCode), replacing any handler
  // registered before; other codes are ignored.
  void RegisterTool(int code, ToolHandler& handler);

  // Makes the current tool current again: reads the colour window's transparency and colour, ends
  // Shift, lets the next repaint lay the checkerboard again, sends `teActivate` and clears the
  // readouts.
  void ActivateCurrentTool();
  // Sends `teDeactivate`: the tool saves the panel's values.
  void DeactivateCurrentTool();
  // Sends `teRefresh` after a setting changed elsewhere, repaints the canvas and clears the
  // readouts.
  void RefreshTool();
  // Pointer press, move and release in active-layer coordinates; true when the canvas should
  // repaint `dirtyRect`.
  bool BeginStroke(int x, int y, int buttonCode);
  bool MoveStroke(int x, int y);
  bool EndStroke(int x, int y, int buttonCode);
  // After an undo: the current tool drops any state that referred to the undone pixels.
  void NotifyUndone();
  // Transparency clamped to 0 … 255.
  void SetTransparency(int n);
  // Grows the work layer's picture to at least w × h and gives it a clear mask of its size; false
  // after the buffer's message when the size is refused or the growth does not fit in memory.
  bool EnsureWorkLayer(int w, int h, MessageSink& messages);
  // Reads the brush sheet; without it every stamp paints nothing. The reader reports failures.
  bool LoadBrushImage(const std::string& fileName, MessageSink& messages);

  // Shared by the tool modules.
  // The active layer's colour at the current point goes to the colour window; ends the stroke.
  void PickColor();
  // Dirty rectangle around a point, and the box a 16 × 16 stamp centred on any point of the
  // segment (x0, y0)–(x1, y1) can touch.
  void DirtyAround(int x, int y);
  void DirtyFrom(int x0, int y0, int x1, int y1);
  // The box of the segment, united with the previous one: the big brush's repaint.
  void DirtyDiscUnion(int x0, int y0, int x1, int y1);
  // The move of a freehand tool: with `interpolate` the point operation runs along the segment from
  // the current point back to the previous one (which was drawn already) and the segment's box is
  // repainted; otherwise it runs at the current point alone. The current point then becomes the
  // previous one.
  template <typename PointOp>
  void FollowStroke(bool interpolate, PointOp&& op) {
    if (interpolate) {
      draw.WalkLine(curX, curY, prevX, prevY, op);
      DirtyFrom(prevX, prevY, curX, curY);
    } else {
      op(curX, curY);
      DirtyAround(curX, curY);
    }
    prevX = curX;
    prevY = curY;
  }
  // Pushes a tool's saved stamp and transparency into the panel and the colour window; pulls
  // them back.
  void PanelPush(int stamp, int transparency);
  void PanelPull(std::int32_t& stamp, std::int32_t& transparency) const;

  LayerProject& project() { return project_; }
  ToolLinks& links() { return links_; }

  ToolSettings settings;

  // The visible part of the active layer, which the canvas window keeps up to date.
  PixelRect visibleArea;

  // Stroke state.
  int curX = 0, curY = 0, prevX = 0, prevY = 0;
  int buttonCode = 0;
  bool strokeActive = false;
  PixelRect dirtyRect;
  // The big brush's last and previous disc boxes (left, top, right, bottom).
  std::array<std::array<int, 4>, 2> stampBox{};
  bool wideRefresh = false;
  // Set by a tool whose `teRefresh` changed the layer's pixels: the canvas is then recomposed as
  // a whole.
  bool refreshChangedLayer = false;
  bool snapEnabled = false;
  int snapWidth = 32;
  int snapHeight = 32;

  CDib256 workPlane;
  CDibTM workLayer;
  CDib256 brushImage;
  DrawContext draw;
  // The control points the curve tools share.
  SplinePoints spline;

 private:
  // Sends an event to the current tool's handler; false when it has none.
  bool Dispatch(ToolEvent event);
  void Snap(int x, int y);

  LayerProject& project_;
  ToolLinks& links_;
  std::array<ToolHandler*, kMaxToolCode + 1> handlers_{};
};

}  // namespace mirasketch

#include "painting/pen_tools.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "painting/tool_engine.h"
#include "project/layer_project.h"

namespace mirasketch {

namespace {

// The press of a stamping stroke: prepares, saves the undo snapshot and stamps the point.
bool StartStampStroke(ToolEngine& e, int stamp, std::uint32_t colour, int transparency) {
  if (!e.draw.PrepareStamp(stamp, colour, transparency)) return false;
  e.links().PushUndo();
  e.draw.StampAt(e.curX, e.curY);
  e.DirtyFrom(e.curX - 8, e.curY - 8, e.curX + 7, e.curY + 7);
  e.strokeActive = true;
  return true;
}

}  // namespace

void PenTool(ToolEngine& e, ToolEvent event) {
  ToolSettings& s = e.settings;
  switch (event) {
    case teActivate:
      e.wideRefresh = false;
      e.PanelPush(s.penBrush, s.penTransparency);
      break;
    case teDeactivate:
      e.wideRefresh = true;
      e.PanelPull(s.penBrush, s.penTransparency);
      break;
    case teDown:
      if (e.buttonCode == 1) {
        s.penBrush = e.links().SelectedBrush();
        StartStampStroke(e, s.penBrush, s.drawColor, s.transparency);
      } else if (s.rightButtonMode == 1) {
        e.strokeActive = false;
        e.links().SelectTool(tkErase);
      } else if (s.rightButtonMode == 2) {
        StartStampStroke(e, s.eraseSize, s.eraseColor, 0);
      } else {
        e.PickColor();
      }
      break;
    case teMove:
      e.FollowStroke(true, [&e](int x, int y) { e.draw.StampAt(x, y); });
      break;
    case teUp:
      e.DirtyAround(e.curX, e.curY);
      break;
    default:
      break;
  }
}

void EraseTool(ToolEngine& e, ToolEvent event) {
  ToolSettings& s = e.settings;
  switch (event) {
    case teActivate:
      e.wideRefresh = false;
      break;
    case teDeactivate:
      e.wideRefresh = true;
      break;
    case teDown:
      if (e.buttonCode == 1)
        StartStampStroke(e, s.eraseSize, s.eraseColor, 0);
      else if (s.rightButtonMode == 1)
        e.links().SelectTool(tkPen);
      break;
    case teMove:
      // From the old point to the new one, which the next segment stamps.
      e.draw.StampLine(e.prevX, e.prevY, e.curX, e.curY);
      e.DirtyFrom(e.prevX, e.prevY, e.curX, e.curY);
      e.prevX = e.curX;
      e.prevY = e.curY;
      break;
    case teUp:
      e.DirtyAround(e.curX, e.curY);
      break;
    default:
      break;
  }
}

namespace {

void DrawBox(ToolEngine& e) {
  const ToolSettings& s = e.settings;
  int adx = std::abs(e.prevX - e.curX);
  int ady = std::abs(e.prevY - e.curY);
  int x0, y0, x1, y1;
  if (s.shapeCenter) {
    if (s.shiftConstrain) adx = ady = std::min(adx, ady);
    x0 = e.prevX - adx;
    y0 = e.prevY - ady;
    x1 = e.prevX + adx;
    y1 = e.prevY + ady;
  } else {
    // Shift shortens the longer side to the shorter one by moving the current point.
    if (s.shiftConstrain) {
      if (ady > adx)
        e.curY = e.curY > e.prevY ? e.prevY + adx : e.prevY - adx;
      else
        e.curX = e.curX > e.prevX ? e.prevX + ady : e.prevX - ady;
    }
    x0 = e.prevX;
    y0 = e.prevY;
    x1 = e.curX;
    y1 = e.curY;
  }
  if (s.shapeFill && x0 != x1) {
    const int step = x1 > x0 ? 1 : -1;
    for (int c = x0; c != x1; c += step) e.draw.FillSpan(c, y0, y1);
  }
  e.draw.StampRect(x0, y0, x1, y1);
}

void DrawEllipse(ToolEngine& e) {
  const ToolSettings& s = e.settings;
  int adx = std::abs(e.prevX - e.curX);
  int ady = std::abs(e.prevY - e.curY);
  if (s.shapeCenter) {
    if (s.shiftConstrain) adx = ady = std::min(adx, ady);
    e.draw.StampEllipse(e.prevX, e.prevY, adx, ady, s.shapeFill);
    return;
  }
  const int cx = (e.prevX + e.curX) / 2;
  const int cy = (e.prevY + e.curY) / 2;
  if (s.shiftConstrain) {
    // A circle around the middle of the drag whose radius is the shorter side.
    const int r = std::min(adx, ady);
    e.draw.StampEllipse(cx, cy, r, r, s.shapeFill);
    return;
  }
  e.draw.StampEllipse(cx, cy, adx / 2, ady / 2, s.shapeFill);
}

// The cosine or sine of a multiple of 45° in single precision, with the values that are zero
// exactly made zero (single-precision π/2 would leave −4e-8, which Floor turns into −1).
float SnappedComponent(float value) {
  return std::fabs(value) < 1e-6f ? 0.0f : value;
}

void DrawLine(ToolEngine& e) {
  const ToolSettings& s = e.settings;
  int dx = e.curX - e.prevX;
  int dy = e.curY - e.prevY;
  if (s.shiftConstrain) {
    const float len = std::sqrt(static_cast<float>(dx * dx + dy * dy));
    const float a = DrawContext::DirectionAngle(e.prevX, e.prevY, e.curX, e.curY, true) *
                    std::numbers::pi_v<float> / 180.0f;
    dx = static_cast<int>(std::floor(SnappedComponent(std::cos(a)) * len));
    dy = static_cast<int>(std::floor(SnappedComponent(std::sin(a)) * len));
  }
  if (s.shapeCenter)
    e.draw.StampLine(e.prevX - dx, e.prevY - dy, e.prevX + dx, e.prevY + dy);
  else
    e.draw.StampLine(e.prevX, e.prevY, e.prevX + dx, e.prevY + dy);
  // The stepper leaves out the end point.
  e.draw.StampAt(e.prevX + dx, e.prevY + dy);
}

void ShowShapeReadout(ToolEngine& e) {
  const ToolSettings& s = e.settings;
  if (!s.shapeCenter) {
    e.links().ShowRectReadout(1, e.prevX, e.prevY, e.curX, e.curY);
    return;
  }
  int w = 2 * (e.curX - e.prevX);
  int h = 2 * (e.curY - e.prevY);
  if (s.currentTool != tkLine) {
    w = std::abs(w);
    h = std::abs(h);
  }
  e.links().ShowBoxReadout(1, e.prevX, e.prevY, w, h);
}

void DrawShape(ToolEngine& e) {
  ToolSettings& s = e.settings;
  e.dirtyRect = e.visibleArea;
  // Back to the layer as it was at the press: the previous preview goes away.
  if (!e.draw.PreparePreview(s.shapeBrush, s.drawColor, s.transparency)) return;
  if (s.currentTool == tkBox)
    DrawBox(e);
  else if (s.currentTool == tkCircle)
    DrawEllipse(e);
  else
    DrawLine(e);
}

}  // namespace

void ShapeTool(ToolEngine& e, ToolEvent event) {
  ToolSettings& s = e.settings;
  switch (event) {
    case teActivate:
      e.project().backgroundRefresh = false;
      e.PanelPush(s.shapeBrush, s.shapeTransparency);
      break;
    case teDeactivate:
      e.PanelPull(s.shapeBrush, s.shapeTransparency);
      break;
    case teDown:
      if (e.buttonCode != 1) {
        e.PickColor();
        break;
      }
      s.shapeBrush = e.links().SelectedBrush();
      e.links().PushUndo();
      e.draw.BeginPreview();
      e.strokeActive = true;
      if (s.currentTool == tkLine) e.DirtyFrom(e.curX, e.curY, e.curX, e.curY);
      break;
    case teMove:
      ShowShapeReadout(e);
      DrawShape(e);
      break;
    case teUp:
      DrawShape(e);
      break;
    case teUndone:
      // An undo during the drag brought an older snapshot: the next preview starts from it.
      e.draw.BeginPreview();
      break;
    default:
      break;
  }
}

}  // namespace mirasketch

#include "painting/ink_tool.h"

#include <algorithm>
#include <cmath>

namespace mirasketch {

void InkTool::Register(ToolEngine& engine) {
  engine.RegisterTool(tkPenLine, *this);
}

void InkTool::CentroidSnap(ToolEngine& e, SplinePoint& p, int radius) {
  const int width = e.links().ActiveLayer().Width();
  const int cx = TruncToPixel(std::floor(p.x));
  const int cy = TruncToPixel(std::floor(p.y));
  const std::uint32_t ink = e.settings.drawColor & 0xFFFFFF;
  const int x0 = std::max(cx - radius, 0);
  const int x1 = std::min(cx + radius, width - 1);
  int weight = 0;
  double sx = 0.0;
  double sy = 0.0;
  for (int y = cy - radius; y <= cy + radius; ++y) {
    for (int x = x0; x <= x1;) {
      int count = x1 - x + 1;
      const std::uint8_t* px = e.links().SnapshotRun(x, y, count);
      if (px == nullptr) break;  // a row outside the layer
      for (; count > 0; --count, ++x, px += 3) {
        const std::uint32_t colour = px[2] | static_cast<std::uint32_t>(px[1]) << 8 |
                                     static_cast<std::uint32_t>(px[0]) << 16;
        if (colour == ink) continue;  // already inked: the stroke must not stick to itself
        const int w = 765 - px[0] - px[1] - px[2];
        weight += w;
        sx += static_cast<double>(x) * w;
        sy += static_cast<double>(y) * w;
      }
    }
  }
  if (weight > 0) p = {sx / weight, sy / weight};
}

void InkTool::DrawInkStroke(ToolEngine& e) {
  const ToolSettings& s = e.settings;
  if (!e.draw.PreparePreview(s.penLineBrush, s.drawColor, s.transparency)) return;
  SplinePoints& spline = e.spline;
  spline.ClearPoints();
  const bool useSpline = inkCount > 4 && s.penLineSpline;
  Point last = inkPoints[0];
  for (int i = 0; i < inkCount; ++i) {
    const Point& point = inkPoints[static_cast<std::size_t>(i)];
    SplinePoint p{static_cast<double>(point.x), static_cast<double>(point.y)};
    if (!s.penLineNoLook) CentroidSnap(e, p, kSnapRadius);
    if (useSpline)
      spline.AppendPointNudged(p.x, p.y);
    else
      e.draw.StampLine(last.x, last.y, TruncToPixel(p.x), TruncToPixel(p.y));
    last = {TruncToPixel(std::floor(p.x)), TruncToPixel(std::floor(p.y))};
  }
  if (!useSpline || !spline.FitSpline()) return;
  // An interval below 2 (a settings file's value) would give no steps to divide by.
  const int steps = inkCount * std::max(s.penLineInterval - 1, 1);
  last = {TruncToPixel(std::floor(spline.X[0])), TruncToPixel(std::floor(spline.Y[0]))};
  for (int i = 0; i <= steps; ++i) {
    const SplinePoint sample = spline.EvalSpline(static_cast<double>(i) / steps);
    const Point next{TruncToPixel(sample.x), TruncToPixel(sample.y)};
    e.draw.StampLine(last.x, last.y, next.x, next.y);
    last = next;
  }
}

void InkTool::ToolEventOccurred(ToolEngine& e, ToolEvent event) {
  ToolSettings& s = e.settings;
  switch (event) {
    case teActivate:
      e.PanelPush(s.penLineBrush, s.penLineTransparency);
      break;
    case teDeactivate:
      e.PanelPull(s.penLineBrush, s.penLineTransparency);
      break;
    case teDown:
      if (e.buttonCode != 1) {
        e.PickColor();
        break;
      }
      s.penLineBrush = e.links().SelectedBrush();
      e.links().PushUndo();
      e.draw.BeginPreview();
      inkPoints[0] = inkPoints[1] = {e.curX, e.curY};
      inkCount = 2;
      e.strokeActive = true;
      break;
    case teMove: {
      if (inkCount >= kMaxPoints) {
        // The stroke no longer follows the pointer: nothing changed, nothing to repaint.
        e.dirtyRect = {};
        break;
      }
      const Point cur{e.curX, e.curY};
      inkPoints[static_cast<std::size_t>(inkCount - 1)] = cur;
      // A point is fixed where the pointer is more than the interval from the last fixed one.
      const Point& fixed = inkPoints[static_cast<std::size_t>(inkCount - 2)];
      const std::int64_t dx = fixed.x - cur.x;
      const std::int64_t dy = fixed.y - cur.y;
      const std::int64_t interval = s.penLineInterval;
      if (interval * interval < dx * dx + dy * dy)
        inkPoints[static_cast<std::size_t>(inkCount++)] = cur;
      DrawInkStroke(e);
      e.dirtyRect = e.visibleArea;
      break;
    }
    case teUp:
      DrawInkStroke(e);
      break;
    case teUndone:
      // The snapshot under the stroke changed: the next redraw restores the whole layer.
      e.draw.BeginPreview();
      break;
    default:
      break;
  }
}

}  // namespace mirasketch

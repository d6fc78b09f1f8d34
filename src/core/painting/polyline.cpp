#include "painting/polyline.h"

#include <algorithm>
#include <cmath>

#include "painting/tool_engine.h"

namespace mirasketch {

namespace {

// A figure point as the pixel it lies in.
int FloorPixel(double v) {
  return TruncToPixel(std::floor(v));
}

// Prepares the figure's redraw: the layer back to the snapshot where the previous redraw drew.
bool PrepareFigure(ToolEngine& e) {
  const ToolSettings& s = e.settings;
  return e.draw.PreparePreview(s.contBrush, s.drawColor, s.transparency);
}

// Takes the figure off the layer: the whole layer back to the snapshot.
void RemoveFigure(ToolEngine& e) {
  const CDibTM& layer = e.links().ActiveLayer();
  e.links().RestoreSnapshotRect(0, 0, layer.Width(), layer.Height());
  e.draw.BeginPreview();
}

// The straight figure: every segment up to the last point, which is not stamped.
void DrawPolyline(ToolEngine& e) {
  if (!PrepareFigure(e)) return;
  const SplinePoints& p = e.spline;
  for (int i = 1; i < p.count; ++i) {
    const auto a = static_cast<std::size_t>(i - 1);
    const auto b = static_cast<std::size_t>(i);
    e.draw.StampLine(FloorPixel(p.X[a]), FloorPixel(p.Y[a]), FloorPixel(p.X[b]),
                     FloorPixel(p.Y[b]));
  }
}

// The curve through every point, sampled count × 20 times; samples within 2 pixels (by x and y
// together) of the last drawn one are skipped.
void DrawCurve(ToolEngine& e) {
  SplinePoints& p = e.spline;
  if (!p.FitSpline() || !PrepareFigure(e)) return;
  SplinePoint last{p.X[2], p.Y[2]};
  const int steps = p.count * 20;
  for (int i = 0; i <= steps; ++i) {
    const SplinePoint s = p.EvalSpline(static_cast<double>(i) / steps);
    if (std::fabs(s.x - last.x) + std::fabs(s.y - last.y) > 2.0) {
      e.draw.StampLine(TruncToPixel(last.x), TruncToPixel(last.y), TruncToPixel(s.x),
                       TruncToPixel(s.y));
      last = s;
    }
  }
}

// The end of the curve's first drag: three almost coincident points at the press, which make the
// curve leave it along the first segment, and the release point. A click without a drag leaves
// no figure.
void StartCurve(ToolEngine& e) {
  SplinePoints& p = e.spline;
  p.ClearPoints();
  if (e.prevX == e.curX && e.prevY == e.curY) {
    // A drag that came back to its start leaves no preview behind either.
    RemoveFigure(e);
    return;
  }
  const double sx = e.curX < e.prevX ? -1.0 : 1.0;
  const double sy = e.curY < e.prevY ? -1.0 : 1.0;
  for (int i = 0; i < 3; ++i)
    p.AppendPoint(e.prevX + 0.5 + sx * 0.05 * i, e.prevY + 0.5 + sy * 0.05 * i);
  p.AppendPointNudged(e.curX + 0.5, e.curY + 0.5);
}

// A new figure: its snapshot, and its first redraw restores the whole layer from it.
void StartFigure(ToolEngine& e) {
  e.links().PushUndo();
  e.draw.BeginPreview();
}

void StraightDown(ToolEngine& e) {
  SplinePoints& p = e.spline;
  if (p.count == 0) {
    StartFigure(e);
    p.AppendPoint(e.curX, e.curY);  // the anchor
    p.AppendPoint(e.curX, e.curY);  // the end that follows the pointer
  } else if (!p.AppendPoint(e.curX, e.curY)) {
    // The list is full: the press ends the figure as drawn, as a right press does.
    p.ClearPoints();
    return;
  }
  DrawPolyline(e);
  e.strokeActive = true;
}

void CurveDown(ToolEngine& e) {
  SplinePoints& p = e.spline;
  const ToolSettings& s = e.settings;
  if (p.count < 4) {
    StartFigure(e);
    e.strokeActive = e.draw.PrepareStampCoverage(s.contBrush, s.drawColor, s.transparency);
  } else if (p.count < 58) {
    p.AppendPointNudged(e.curX + 0.5, e.curY + 0.5);
    DrawCurve(e);
    e.strokeActive = true;
  } else {
    p.ClearPoints();
  }
}

}  // namespace

void PolylineTool(ToolEngine& e, ToolEvent event) {
  ToolSettings& s = e.settings;
  SplinePoints& p = e.spline;
  const bool curve = s.contMode == 1;
  switch (event) {
    case teActivate:
      e.PanelPush(s.contBrush, s.contTransparency);
      e.links().StopRubberBand();
      p.ClearPoints();
      break;
    case teDeactivate:
      e.PanelPull(s.contBrush, s.contTransparency);
      break;
    case teRefresh:
      e.links().StopRubberBand();
      if (p.count > 0) {
        RemoveFigure(e);
        e.refreshChangedLayer = true;
      }
      p.ClearPoints();
      break;
    case teUndone:
      // The undo took the figure's snapshot away: the figure ends with it.
      p.ClearPoints();
      e.draw.BeginPreview();
      break;
    case teDown:
      s.contBrush = e.links().SelectedBrush();
      e.links().StopRubberBand();
      if (e.buttonCode != 1)
        p.ClearPoints();
      else if (curve)
        CurveDown(e);
      else
        StraightDown(e);
      break;
    case teMove:
      if (!curve) {
        p.ReplaceLastPointNudged(e.curX, e.curY);
        DrawPolyline(e);
      } else if (p.count < 4) {
        if (PrepareFigure(e)) e.draw.StampLine(e.prevX, e.prevY, e.curX, e.curY);
      } else {
        p.ReplaceLastPointNudged(e.curX, e.curY);
        DrawCurve(e);
      }
      e.dirtyRect = e.visibleArea;
      break;
    case teUp:
      if (e.buttonCode == 2) {
        if (curve) p.ClearPoints();
        break;
      }
      if (!curve) {
        p.ReplaceLastPointNudged(e.curX, e.curY);
        DrawPolyline(e);
      } else if (p.count < 4) {
        StartCurve(e);
      } else {
        DrawCurve(e);
      }
      e.links().StartRubberBand(e.curX, e.curY);
      break;
    default:
      break;
  }
}

}  // namespace mirasketch

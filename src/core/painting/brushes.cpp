#include "painting/brushes.h"

#include <algorithm>
#include <cmath>

#include "painting/tool_engine.h"

namespace mirasketch {

namespace {

// The brush and the air brush differ only in their fields and in the drawing mode. The panel's
// interpolation box shows the current one's own switch.
struct StampBrush {
  std::int32_t& stamp;
  std::int32_t& transparency;
  bool interpolate;
  bool coverage;
};

void StampBrushTool(ToolEngine& e, ToolEvent event, StampBrush brush) {
  ToolSettings& s = e.settings;
  ToolLinks& links = e.links();
  switch (event) {
    case teActivate:
      links.SetTransparencySlider(brush.transparency);
      break;
    case teDeactivate:
      brush.transparency = s.transparency;
      break;
    case teDown: {
      if (e.buttonCode != 1) {
        e.PickColor();
        break;
      }
      const bool prepared =
          brush.coverage ? e.draw.PrepareStampCoverage(brush.stamp, s.drawColor, s.transparency)
                         : e.draw.PrepareStamp(brush.stamp, s.drawColor, s.transparency);
      if (!prepared) break;
      links.PushUndo();
      e.draw.StampAt(e.curX, e.curY);
      e.DirtyAround(e.curX, e.curY);
      e.strokeActive = true;
      break;
    }
    case teMove:
      e.FollowStroke(brush.interpolate, [&e](int x, int y) { e.draw.StampAt(x, y); });
      break;
    case teUp:
      e.DirtyAround(e.curX, e.curY);
      break;
    default:
      break;
  }
}

}  // namespace

void BrushTool(ToolEngine& e, ToolEvent event) {
  ToolSettings& s = e.settings;
  StampBrushTool(e, event, {s.brushBrush, s.brushTransparency, s.brushInterpolate, true});
}

void AirBrushTool(ToolEngine& e, ToolEvent event) {
  ToolSettings& s = e.settings;
  StampBrushTool(e, event, {s.airBrush, s.airTransparency, s.airInterpolate, false});
}

void BlurStampAt(ToolEngine& e, int x, int y) {
  DrawContext& d = e.draw;
  const ToolSettings& s = e.settings;
  const int paintR = static_cast<int>(s.drawColor & 0xFF);
  const int paintG = static_cast<int>((s.drawColor >> 8) & 0xFF);
  const int paintB = static_cast<int>((s.drawColor >> 16) & 0xFF);
  // The neighbours come from the live layer when dragging (pixels this stamp already changed feed
  // later ones), else from the layer as the stroke began. Only the layer's own area counts. The
  // stamp and its neighbours lie on rows y − 9 … y + 8, whose sources are looked up once; rows of
  // the snapshot are copied (columns x − 9 … x + 8 inside the layer) before the stamp writes
  // anything. `firstColumn` is the column each row pointer starts at.
  constexpr int kRows = 18;
  const int firstRow = y - 9;
  const bool fromSnapshot = !s.averageDrag;
  const int firstColumn = fromSnapshot ? std::max(x - 9, 0) : 0;
  const int lastColumn = std::min(x + 8, d.width - 1);
  std::uint8_t snapshot[kRows][kRows * 3];
  const std::uint8_t* rows[kRows];
  for (int k = 0; k < kRows; ++k) {
    const int ny = firstRow + k;
    if (ny < 0 || ny >= d.height || firstColumn > lastColumn) {
      rows[k] = nullptr;
    } else if (fromSnapshot) {
      d.ReadSnapshot(ny, firstColumn, lastColumn, snapshot[k]);
      rows[k] = snapshot[k];
    } else {
      rows[k] = d.pixels + static_cast<std::ptrdiff_t>(d.height - 1 - ny) * d.width * 3;
    }
  }
  const bool masked = s.maskEnabled && d.mask != nullptr;
  for (int r = 0; r < 16; ++r) {
    for (int c = 0; c < 16; ++c) {
      const int value = d.stamp[static_cast<std::size_t>(r * 16 + c)];
      if (value >= 255) continue;
      const int qx = x - 8 + c;
      const int qy = y - 8 + r;
      int sumR = 0, sumG = 0, sumB = 0, n = 0;
      for (int ny = qy - 1; ny <= qy + 1; ++ny) {
        const std::uint8_t* row = rows[ny - firstRow];
        if (row == nullptr) continue;
        for (int nx = qx - 1; nx <= qx + 1; ++nx) {
          if (nx < 0 || nx >= d.width) continue;
          const std::ptrdiff_t index =
              static_cast<std::ptrdiff_t>(d.height - 1 - ny) * d.width + nx;
          if (masked && d.mask[index] >= 128) continue;
          const std::uint8_t* p = row + static_cast<std::ptrdiff_t>(nx - firstColumn) * 3;
          sumB += p[0];
          sumG += p[1];
          sumR += p[2];
          ++n;
        }
      }
      if (n == 0) continue;
      if (s.averageMode == 1) {
        d.paintR = (paintR + sumR) / (n + 1);
        d.paintG = (paintG + sumG) / (n + 1);
        d.paintB = (paintB + sumB) / (n + 1);
      } else {
        d.paintR = sumR / n;
        d.paintG = sumG / n;
        d.paintB = sumB / n;
      }
      d.t = value;
      d.PlotPixel(qx, qy);
    }
  }
}

void AverageBrushTool(ToolEngine& e, ToolEvent event) {
  ToolSettings& s = e.settings;
  ToolLinks& links = e.links();
  switch (event) {
    case teActivate:
      e.PanelPush(s.averageBrush, s.averageTransparency);
      break;
    case teDeactivate:
      e.PanelPull(s.averageBrush, s.averageTransparency);
      break;
    case teDown:
      if (e.buttonCode != 1) {
        e.PickColor();
        break;
      }
      s.averageBrush = links.SelectedBrush();
      if (!e.draw.PrepareStamp(s.averageBrush, s.drawColor, s.transparency)) break;
      links.PushUndo();
      BlurStampAt(e, e.curX, e.curY);
      e.DirtyAround(e.curX, e.curY);
      e.strokeActive = true;
      break;
    case teMove:
      // The blur follows the brush tool's interpolation switch.
      e.FollowStroke(s.brushInterpolate, [&e](int x, int y) { BlurStampAt(e, x, y); });
      break;
    case teUp:
      e.DirtyAround(e.curX, e.curY);
      break;
    default:
      break;
  }
}

void DiscAt(ToolEngine& e, int x, int y, int r) {
  DrawContext& d = e.draw;
  const bool undoBrush = e.settings.bigBrushMode == 1;
  // The disc is the centre column over rows y − r … y + r and, for f = 1 … r − 1, the columns
  // x ± f over the rows within ⌊√(r² − f²)⌋ of y. Row y + i therefore spans the columns within
  // min(r − 1, ⌊√(r² − i²)⌋) of x, and is painted as one span: in coverage mode, or copied from
  // the layer as it was for the undo brush.
  const long long square = static_cast<long long>(r) * r;
  for (int i = -r; i <= r; ++i) {
    const int reach = std::max(
        0, std::min(r - 1, static_cast<int>(std::floor(std::sqrt(
                               static_cast<double>(square - static_cast<long long>(i) * i))))));
    if (undoBrush)
      d.CopySnapshotSpan(y + i, x - reach, x + reach);
    else
      d.PlotSpan(y + i, x - reach, x + reach);
  }
}

void BigBrushTool(ToolEngine& e, ToolEvent event) {
  ToolSettings& s = e.settings;
  ToolLinks& links = e.links();
  const int r = s.bigBrushMode == 1 ? s.undoBrushRadius : s.bigBrushRadius;
  switch (event) {
    case teActivate:
      links.SetTransparencySlider(s.bigBrushTransparency);
      break;
    case teDeactivate:
      s.bigBrushTransparency = s.transparency;
      break;
    case teDown:
      if (e.buttonCode != 1) {
        e.PickColor();
        break;
      }
      // The stamp index only has to be valid: the disc does not use the stamp.
      if (!e.draw.PrepareStampCoverage(s.averageBrush, s.drawColor, s.transparency)) break;
      // The undo brush keeps the previous snapshot: it paints back the state before the
      // previous stroke.
      if (s.bigBrushMode == 0) links.PushUndo();
      DiscAt(e, e.curX, e.curY, r);
      e.DirtyFrom(e.curX - r, e.curY - r, e.curX + r, e.curY + r);
      e.stampBox[0] = {e.dirtyRect.x, e.dirtyRect.y, e.dirtyRect.x + e.dirtyRect.width - 1,
                       e.dirtyRect.y + e.dirtyRect.height - 1};
      e.prevX = e.curX;
      e.prevY = e.curY;
      e.strokeActive = true;
      break;
    case teMove:
      e.draw.WalkLine(e.prevX, e.prevY, e.curX, e.curY,
                      [&e, r](int x, int y) { DiscAt(e, x, y, r); });
      e.prevX = e.curX;
      e.prevY = e.curY;
      e.DirtyDiscUnion(e.curX - r, e.curY - r, e.curX + r, e.curY + r);
      break;
    case teUp:
      e.DirtyFrom(e.curX - r, e.curY - r, e.curX + r, e.curY + r);
      break;
    default:
      break;
  }
}

}  // namespace mirasketch

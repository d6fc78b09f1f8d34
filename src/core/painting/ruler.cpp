#include "painting/ruler.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "buffers/copy_block.h"
#include "platform/files.h"
#include "platform/io_error.h"
#include "platform/message_sink.h"
#include "project/compositor.h"
#include "project/layer_project.h"

namespace mirasketch {

namespace {

constexpr int kOutlineColour = 0xE0E0E0;
constexpr int kHandleLineColour = 0xD0D0D0;
constexpr int kCentreColour = 0x000000;
constexpr int kHandleColour = 0x0000FF;  // red
constexpr int kHandleReach = 24;
// The panel's size range; a scale from elsewhere is held to it.
constexpr double kMinScale = 0.3;
constexpr double kMaxScale = 5.0;

std::int32_t ReadInt32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(
      static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
      static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

double HeldScale(float scale) {
  const double s = scale;
  if (!(s >= kMinScale)) return kMinScale;  // NaN too
  return std::min(s, kMaxScale);
}

bool ValidRecord(const std::uint8_t* record) {
  const std::int32_t count = ReadInt32(record);
  if (count < 0 || count > RulerTool::kRecordPoints) return false;
  for (int i = 0; i < 2 * RulerTool::kRecordPoints; ++i) {
    const std::int32_t v = ReadInt32(record + 8 + 4 * i);
    if (v < -RulerTool::kMaxCoordinate || v > RulerTool::kMaxCoordinate) return false;
  }
  return true;
}

}  // namespace

void RulerTool::Register(ToolEngine& engine) {
  engine.RegisterTool(tkRuler, *this);
}

bool RulerTool::LoadRulerData(const std::string& fileName, MessageSink& messages) {
  rulerData.fill(0);
  if (!InFile::Exists(fileName)) {
    messages.ShowMessage("ファイルがありません。-" + fileName);
    return false;
  }
  std::array<std::uint8_t, kDataBytes> bytes{};
  try {
    InFile file(fileName);
    if (file.Size() != kDataBytes || !file.ReadExact(bytes.data(), bytes.size()) ||
        !ValidRecord(bytes.data()) || !ValidRecord(bytes.data() + kRecordBytes)) {
      messages.ShowMessage("定規のデータが正しくありません。-" + fileName);
      return false;
    }
  } catch (const IoError& error) {
    messages.ShowMessage(error.what());
    return false;
  }
  rulerData = bytes;
  return true;
}

void RulerTool::LoadRulerShape(ToolEngine& e) const {
  const ToolSettings& s = e.settings;
  const std::uint8_t* record = rulerData.data() + (s.rulerKind == 2 ? kRecordBytes : 0);
  const double scale = HeldScale(s.rulerScale);
  SplinePoints& p = e.spline;
  for (int i = 0; i < kRecordPoints; ++i) {
    const double x = ReadInt32(record + 8 + 8 * i) * scale;
    const auto at = static_cast<std::size_t>(i);
    p.X[at] = s.rulerInvert ? -x : x;
    p.Y[at] = ReadInt32(record + 12 + 8 * i) * scale;
  }
  p.count = ReadInt32(record);
}

RulerTool::Point RulerTool::TransformPoint(double x, double y) const {
  return {static_cast<int>(std::floor(cos_ * x - sin_ * y)) + rulerCenter.x,
          static_cast<int>(std::floor(sin_ * x + cos_ * y)) + rulerCenter.y};
}

RulerTool::Point RulerTool::Handle() const {
  const double a = static_cast<double>(rulerAngle) * std::numbers::pi / 180.0;
  return {static_cast<int>(std::cos(a) * kHandleReach) + rulerCenter.x,
          static_cast<int>(std::sin(a) * kHandleReach) + rulerCenter.y};
}

int RulerTool::RulerHitTest(int x, int y) const {
  if (std::abs(x - rulerCenter.x) + std::abs(y - rulerCenter.y) < 12) return kMove;
  const Point h = Handle();
  if (std::abs(x - h.x) + std::abs(y - h.y) < 8) return kRotate;
  return kDrawAlong;
}

void RulerTool::OverlayLine(ToolEngine& e, int x1, int y1, int x2, int y2, int colour) {
  CDibTrue& picture = e.project().compositeDib;
  std::uint8_t* bits = picture.Bits();
  const auto b = static_cast<std::uint8_t>(colour >> 16);
  const auto g = static_cast<std::uint8_t>(colour >> 8);
  const auto r = static_cast<std::uint8_t>(colour);
  WalkPlainLine(x1 + offsetX_, y1 + offsetY_, x2 + offsetX_, y2 + offsetY_, [&](int x, int y) {
    const std::ptrdiff_t at = picture.PixelOffset(x, y);
    if (at < 0) return;
    std::uint8_t* px = bits + at;
    under_.push_back({at, px[0], px[1], px[2]});
    px[0] = b;
    px[1] = g;
    px[2] = r;
  });
}

void RulerTool::OutlineLine(ToolEngine& e, Point a, Point b) {
  OverlayLine(e, a.x, a.y, b.x, b.y, kOutlineColour);
  e.workLayer.mask.Line(a.x, a.y, b.x, b.y, 1);
}

void RulerTool::DrawOutline(ToolEngine& e) {
  SplinePoints& p = e.spline;
  if (e.settings.rulerKind == 2) {
    if (!p.FitSpline()) return;
    const int n = static_cast<int>(std::floor(HeldScale(e.settings.rulerScale) * 50)) + 30;
    Point last = TransformPoint(p.X[0], p.Y[0]);
    for (int i = 1; i <= n; ++i) {
      const SplinePoint s = p.EvalSpline(static_cast<double>(i) / n);
      const Point q = TransformPoint(s.x, s.y);
      // Samples within 3 pixels of the last drawn one are passed over, and the line goes on from
      // that one, so closely spaced samples leave no gap in the outline; the end is always joined.
      const int distance = std::abs(last.x - q.x) + std::abs(last.y - q.y);
      if (distance > 3 || (i == n && distance > 0)) {
        OutlineLine(e, last, q);
        last = q;
      }
    }
    return;
  }
  Point last{};
  for (int i = 0; i < p.count; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const Point q = TransformPoint(p.X[at], p.Y[at]);
    if (i > 0) OutlineLine(e, last, q);
    last = q;
  }
}

void RulerTool::DrawHandles(ToolEngine& e) {
  const Point c = rulerCenter;
  const Point h = Handle();
  OverlayLine(e, c.x, c.y, h.x, h.y, kHandleLineColour);
  auto diamond = [&](Point m, int r, int colour) {
    OverlayLine(e, m.x + r, m.y, m.x, m.y + r, colour);
    OverlayLine(e, m.x, m.y + r, m.x - r, m.y, colour);
    OverlayLine(e, m.x - r, m.y, m.x, m.y - r, colour);
    OverlayLine(e, m.x, m.y - r, m.x + r, m.y, colour);
  };
  diamond(c, 10, kCentreColour);
  diamond(h, 6, kHandleColour);
}

void RulerTool::RestoreUnder(ToolEngine& e) {
  std::uint8_t* bits = e.project().compositeDib.Bits();
  // Backwards: a pixel drawn over twice gets the colour it had before the first time.
  for (auto it = under_.rbegin(); it != under_.rend(); ++it) {
    std::uint8_t* px = bits + it->offset;
    px[0] = it->b;
    px[1] = it->g;
    px[2] = it->r;
  }
  under_.clear();
}

void RulerTool::DrawRulerOverlay(ToolEngine& e, int mode) {
  LayerProject& project = e.project();
  DrawChecker(project, 0, 0, project.CanvasWidth(), project.CanvasHeight());
  ComposeRect(project, 0, 0, project.CanvasWidth(), project.CanvasHeight());
  under_.clear();
  underBits_ = project.compositeDib.Bits();
  underWidth_ = project.CanvasWidth();
  underHeight_ = project.CanvasHeight();
  if (mode == kDrawAlong) {
    CDib256& rail = e.workLayer.mask;
    rail.FillRect(0, 0, rail.Width(), rail.Height(), 0);
  }
  RedrawOverlayQuick(e);
}

void RulerTool::RedrawOverlayQuick(ToolEngine& e) {
  LayerProject& project = e.project();
  if (project.compositeDib.Bits() != underBits_ || project.CanvasWidth() != underWidth_ ||
      project.CanvasHeight() != underHeight_) {
    // The picture under the last overlay is gone (a new canvas): compose it afresh.
    DrawRulerOverlay(e, kNone);
    return;
  }
  RestoreUnder(e);
  const double a = static_cast<double>(rulerAngle) * std::numbers::pi / 180.0;
  cos_ = std::cos(a);
  sin_ = std::sin(a);
  const CDibTM& layer = e.links().ActiveLayer();
  offsetX_ = layer.offsetX;
  offsetY_ = layer.offsetY;
  DrawOutline(e);
  if (rulerDrag != kDrawAlong) DrawHandles(e);
  // The overlay is not part of the composition: the next composing paint takes it away.
  project.compositeStale = true;
  e.dirtyRect = e.visibleArea;
}

void RulerTool::MoveOrRotate(ToolEngine& e) {
  if (rulerDrag == kMove) {
    const LayerProject& project = e.project();
    rulerCenter.x = std::clamp(rulerCenter.x + e.curX - e.prevX, 0, project.CanvasWidth());
    rulerCenter.y = std::clamp(rulerCenter.y + e.curY - e.prevY, 0, project.CanvasHeight());
    e.prevX = e.curX;
    e.prevY = e.curY;
  } else {
    rulerAngle = DrawContext::DirectionAngle(rulerCenter.x, rulerCenter.y, e.curX, e.curY,
                                             e.settings.shiftConstrain);
  }
  RedrawOverlayQuick(e);
  e.links().ShowPointReadout(1, "中心", rulerCenter.x, rulerCenter.y);
  e.links().ShowReadout(2,
                        "角度" + std::to_string(-static_cast<long long>(std::floor(rulerAngle))));
}

void RulerTool::DrawAlong(ToolEngine& e) {
  e.dirtyRect = e.visibleArea;
  if (!prepared_) return;
  const CDib256& rail = e.workLayer.mask;
  const int x0 = std::max(e.curX - 3, 0);
  const int x1 = std::min(e.curX + 3, rail.Width() - 1);
  const int y0 = std::max(e.curY - 3, 0);
  const int y1 = std::min(e.curY + 3, rail.Height() - 1);
  if (x0 > x1) return;
  CDibTrue& picture = e.project().compositeDib;
  const CDibTM& layer = e.links().ActiveLayer();
  for (int y = y0; y <= y1; ++y) {
    const std::uint8_t* row = rail.Bits() + rail.PixelOffset(x0, y);
    for (int x = x0; x <= x1; ++x, ++row) {
      if (*row != 1) continue;
      e.draw.StampAt(x, y);
      // Shown at once; the release recomposes properly.
      CopyBlock(picture, x - 8 + layer.offsetX, y - 8 + layer.offsetY, layer, x - 8, y - 8, 16, 16);
    }
  }
}

void RulerTool::ToolEventOccurred(ToolEngine& e, ToolEvent event) {
  ToolSettings& s = e.settings;
  LayerProject& project = e.project();
  switch (event) {
    case teActivate: {
      e.PanelPush(s.rulerBrush, s.rulerTransparency);
      LoadRulerShape(e);
      const CDibTM& layer = e.links().ActiveLayer();
      e.EnsureWorkLayer(layer.Width(), layer.Height(), project.Messages());
      project.composeEnabled = false;
      if (rulerCenter.x >= project.CanvasWidth() || rulerCenter.y >= project.CanvasHeight())
        rulerCenter = {project.CanvasWidth() / 2, project.CanvasHeight() / 2};
      DrawRulerOverlay(e, kNone);
      break;
    }
    case teDeactivate:
      e.PanelPull(s.rulerBrush, s.rulerTransparency);
      project.composeEnabled = true;
      break;
    case teDown:
      if (e.buttonCode != 1) {
        e.PickColor();
        break;
      }
      rulerDrag = RulerHitTest(e.curX, e.curY);
      if (rulerDrag == kDrawAlong) {
        s.rulerBrush = e.links().SelectedBrush();
        prepared_ = e.draw.PrepareStampCoverage(s.rulerBrush, s.drawColor, s.transparency);
        e.links().PushUndo();
      }
      // Drawing along clears the old rail; a move or a turn starts from a fresh composition,
      // which its moves then only touch where the outline goes.
      DrawRulerOverlay(e, rulerDrag == kDrawAlong ? kDrawAlong : kNone);
      e.strokeActive = true;
      break;
    case teMove:
      if (rulerDrag == kMove || rulerDrag == kRotate)
        MoveOrRotate(e);
      else if (rulerDrag == kDrawAlong)
        DrawAlong(e);
      break;
    case teUp:
      rulerDrag = kNone;
      DrawRulerOverlay(e, kNone);
      break;
    case teRefresh:
      LoadRulerShape(e);
      DrawRulerOverlay(e, kNone);
      break;
    case teUndone:
      DrawRulerOverlay(e, kNone);
      break;
  }
}

}  // namespace mirasketch

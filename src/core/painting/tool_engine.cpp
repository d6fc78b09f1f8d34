#include "painting/tool_engine.h"

#include <algorithm>

#include "project/layer_project.h"

namespace mirasketch {

ToolEngine::ToolEngine(LayerProject& project, ToolLinks& links)
    : draw(links, workPlane, brushImage, settings), project_(project), links_(links) {}

void ToolEngine::RegisterTool(int code, ToolHandler& handler) {
  if (code >= 0 && code <= kMaxToolCode) handlers_[static_cast<std::size_t>(code)] = &handler;
}

bool ToolEngine::Dispatch(ToolEvent event) {
  const int code = settings.currentTool;
  if (code < 0 || code > kMaxToolCode) return false;
  ToolHandler* handler = handlers_[static_cast<std::size_t>(code)];
  if (handler == nullptr) return false;
  handler->ToolEventOccurred(*this, event);
  return true;
}

void ToolEngine::ActivateCurrentTool() {
  SetTransparency(links_.TransparencyPosition());
  settings.drawColor = static_cast<std::uint32_t>(links_.SliderColour());
  settings.shiftConstrain = false;
  project_.backgroundRefresh = true;
  Dispatch(teActivate);
  links_.ClearReadouts();
}

void ToolEngine::DeactivateCurrentTool() {
  Dispatch(teDeactivate);
}

void ToolEngine::RefreshTool() {
  // A refresh that changed no pixel outside the view (every tool that ignores it) only needs the
  // visible part recomposed; on a large canvas a whole recomposition would make the colour and
  // transparency sliders lag.
  refreshChangedLayer = false;
  Dispatch(teRefresh);
  if (refreshChangedLayer)
    links_.RedrawCanvas();
  else
    links_.RedrawVisibleCanvas();
  links_.ClearReadouts();
}

void ToolEngine::Snap(int x, int y) {
  // No pointer lies a million pixels from the layer; clamping keeps line walks short and every
  // coordinate sum within range whatever the caller passes.
  constexpr int kReach = 1 << 20;
  x = std::clamp(x, -kReach, kReach);
  y = std::clamp(y, -kReach, kReach);
  // Division truncates toward zero, so negative coordinates snap toward zero too.
  if (snapEnabled) {
    const int w = std::max(snapWidth, 1);
    const int h = std::max(snapHeight, 1);
    x = x / w * w;
    y = y / h * h;
  }
  curX = x;
  curY = y;
}

bool ToolEngine::BeginStroke(int x, int y, int code) {
  dirtyRect = visibleArea;
  Snap(x, y);
  prevX = curX;
  prevY = curY;
  buttonCode = code;
  return Dispatch(teDown);
}

bool ToolEngine::MoveStroke(int x, int y) {
  if (!strokeActive) return false;
  Snap(x, y);
  return Dispatch(teMove);
}

bool ToolEngine::EndStroke(int x, int y, int code) {
  if (!strokeActive) return false;
  dirtyRect = visibleArea;
  Snap(x, y);
  buttonCode = code;
  const bool repaint = strokeActive && Dispatch(teUp);
  strokeActive = false;
  return repaint;
}

void ToolEngine::NotifyUndone() {
  Dispatch(teUndone);
}

void ToolEngine::SetTransparency(int n) {
  settings.transparency = std::clamp(n, 0, 255);
}

bool ToolEngine::EnsureWorkLayer(int w, int h, MessageSink& messages) {
  if (workLayer.Width() < w || workLayer.Height() < h) {
    const int width = std::max(workLayer.Width(), w);
    const int height = std::max(workLayer.Height(), h);
    // The picture and its mask grow together; growth beyond the memory available is refused
    // like a failed allocation.
    if (!project_.FitsInMemory(workLayer.GrowthFor(width, height)) ||
        !workLayer.CDibTrue::SetSize(width, height, messages))
      return false;
  }
  return workLayer.ResetMask();
}

bool ToolEngine::LoadBrushImage(const std::string& fileName, MessageSink& messages) {
  if (brushImage.LoadFromBmp(fileName, messages) && brushImage.Width() >= 128 &&
      brushImage.Height() >= 256 && brushImage.header.bitCount == 8)
    return true;
  // A missing, malformed or too small sheet leaves every stamp empty.
  brushImage.Alloc(128, 256);
  brushImage.FillRect(0, 0, 128, 256, 255);
  for (int i = 0; i < 256; ++i) {
    const auto v = static_cast<std::uint8_t>(i);
    brushImage.SetPaletteEntry(i, v, v, v);
  }
  return false;
}

void ToolEngine::PickColor() {
  const int colour = links_.ActiveLayer().GetPixel(curX, curY);
  links_.SetDrawColour(colour);
  DirtyAround(curX, curY);
  strokeActive = false;
}

void ToolEngine::DirtyAround(int x, int y) {
  dirtyRect = {x - 8, y - 8, 16, 16};
}

void ToolEngine::DirtyFrom(int x0, int y0, int x1, int y1) {
  if (x0 > x1) std::swap(x0, x1);
  if (y0 > y1) std::swap(y0, y1);
  x0 -= 8;
  y0 -= 8;
  x1 += 7;
  y1 += 7;
  dirtyRect = {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

void ToolEngine::DirtyDiscUnion(int x0, int y0, int x1, int y1) {
  if (x0 > x1) std::swap(x0, x1);
  if (y0 > y1) std::swap(y0, y1);
  stampBox[1] = stampBox[0];
  stampBox[0] = {x0 - 8, y0 - 8, x1 + 7, y1 + 7};
  DirtyFrom(std::min(stampBox[0][0], stampBox[1][0]), std::min(stampBox[0][1], stampBox[1][1]),
            std::max(stampBox[0][2], stampBox[1][2]), std::max(stampBox[0][3], stampBox[1][3]));
}

void ToolEngine::PanelPush(int stamp, int transparency) {
  links_.SetBrushIndex(stamp);
  links_.SetTransparencySlider(transparency);
}

void ToolEngine::PanelPull(std::int32_t& stamp, std::int32_t& transparency) const {
  stamp = links_.SelectedBrush();
  transparency = settings.transparency;
}

}  // namespace mirasketch

#include "project/layer_project.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "buffers/dib256.h"
#include "platform/platform.h"
#include "platform/system_memory.h"
#include "project/compose_mode.h"
#include "project/project_links.h"

namespace mirasketch {

namespace {
constexpr const char* kNewProjectCaption = "(New Layer Project)";
}

LayerProject::LayerProject(Platform& platform, ProjectLinks& links)
    : platform_(platform), links_(links) {}

MessageSink& LayerProject::Messages() const {
  return platform_;
}

bool LayerProject::FitsInMemory(std::uint64_t newBytes) {
  if (MemoryFits(platform_.AvailableMemory(), newBytes)) return true;
  platform_.ShowMessage(kBitsAllocError);
  return false;
}

std::uint64_t LayerProject::CanvasGrowth(int width, int height) {
  return compositeDib.GrowthFor(width, height) + links_.WorkPlane().GrowthFor(width, height);
}

bool LayerProject::SizeFits(int width, int height, std::uint64_t newBytes) {
  if (DibSizeAllowed(RoundDibWidth(width), height)) return FitsInMemory(newBytes);
  platform_.ShowMessage(kBitsAllocError);
  return false;
}

void LayerProject::InitLayers() {
  layerCount = 1;
  activeLayer = 0;
  for (int i = 0; i < LAYER_SLOTS; ++i) {
    layers[static_cast<std::size_t>(i)] = std::make_unique<CDibTM>();
    ResetLayerProps(i);
  }
  Layer(0).SetSize(4, 4, platform_);
  links_.SetDrawTarget(Layer(0));
  NewProject(1, 256, 256);
  composeEnabled = true;
}

void LayerProject::FreeLayers() {
  for (auto& layer : layers) layer.reset();
  compositeDib.Alloc(0, 0);
  projectFileName.clear();
}

bool LayerProject::NewProject(int count, int width, int height) {
  if (count <= 0 || count > LAYER_SLOTS) return false;
  // Everything is checked before the first buffer changes, so a refused size leaves the open
  // picture as it was. The buffers are resized in place: only their growth needs memory.
  std::uint64_t growth = CanvasGrowth(width, height);
  for (int i = 0; i < count; ++i) growth += Layer(i).GrowthFor(width, height);
  if (!SizeFits(width, height, growth)) return false;
  for (int i = 0; i <= MAX_LAYERS; ++i) ResetLayerProps(i);
  compositeDib.SetSize(width, height, platform_);
  compositeStale = true;
  links_.WorkPlane().SetSize(width, height);
  layerCount = count;
  links_.SetDrawTarget(Layer(0));
  for (int i = 0; i < count; ++i) {
    Layer(i).SetSize(width, height, platform_);
    Layer(i).visible = true;
  }
  projectFileName.clear();
  return true;
}

void LayerProject::ShrinkSpares() {
  for (int i = layerCount; i <= MAX_LAYERS; ++i) Layer(i).SetSize(4, 4, platform_);
}

void LayerProject::AfterNewProject() {
  ShrinkSpares();
  SetActiveLayer(0);
  links_.ResetCanvasView();
  links_.SetCanvasCaption(kNewProjectCaption);
  links_.RefreshLayerWindow();
}

void LayerProject::AfterProjectFile() {
  ShrinkSpares();
  links_.SetCanvasCaption(projectFileName.empty() ? kNewProjectCaption : projectFileName);
  links_.ResetCanvasView();
  links_.RefreshLayerWindow();
}

void LayerProject::SetActiveLayer(int index) {
  if (index < 0 || index >= layerCount) {
    platform_.ShowMessage("Dbg -ChangeActiveLayer Index Limit Out");
    return;
  }
  activeLayer = index;
  links_.SetDrawTarget(Layer(index));
  links_.RestartUndo();
}

void LayerProject::ChangeActiveLayer(int index) {
  links_.DeactivateCurrentTool();
  SetActiveLayer(index);
  links_.ActivateCurrentTool();
}

void LayerProject::ResetLayerProps(int index) {
  if (index < 0 || index > MAX_LAYERS) return;
  CDibTM& layer = Layer(index);
  layer.visible = true;
  layer.composeMode = cmSimple;
  layer.offsetX = 0;
  layer.offsetY = 0;
}

void LayerProject::SwapLayers(int a, int b) {
  if (a < 0 || a >= LAYER_SLOTS || b < 0 || b >= LAYER_SLOTS) {
    platform_.ShowMessage("Dbg- Swap Index Limit Out");
    return;
  }
  std::swap(layers[static_cast<std::size_t>(a)], layers[static_cast<std::size_t>(b)]);
}

bool LayerProject::InsertLayer(int index, bool allocate, int width, int height) {
  if (layerCount > MAX_LAYERS - 1 || index < 0 || index > layerCount) return false;
  // The spare in slot 31 becomes the new layer; its size is checked before any slot moves.
  if (allocate && !SizeFits(width, height, Layer(LAYER_SLOTS - 1).GrowthFor(width, height)))
    return false;
  for (int d = LAYER_SLOTS - 1; d > index; --d) SwapLayers(d, d - 1);
  if (allocate) {
    ResetLayerProps(index);
    Layer(index).SetSize(width, height, platform_);
  }
  ++layerCount;
  return true;
}

bool LayerProject::DeleteLayer(int index, bool release) {
  if (layerCount < 2 || index < 0 || index >= layerCount) return false;
  for (int a = index; a < LAYER_SLOTS - 1; ++a) SwapLayers(a, a + 1);
  if (release) Layer(LAYER_SLOTS - 1).SetSize(4, 4, platform_);
  --layerCount;
  return true;
}

void LayerProject::SplitByMask(int index, bool maskedPart) {
  if (index < 0 || index + 1 >= LAYER_SLOTS) return;
  const CDibTM& source = Layer(index);
  CDibTM& target = Layer(index + 1);
  // The caller sized the new layer like the source; only the area all four planes share is
  // walked, so a mismatch cannot reach outside any of them.
  int w = std::min({source.Width(), source.mask.Width(), target.Width(), target.mask.Width()});
  int h = std::min({source.Height(), source.mask.Height(), target.Height(), target.mask.Height()});
  if (w > 0 && h > 0) {
    for (int y = 0; y < h; ++y) {
      const std::uint8_t* s = source.Bits() + source.PixelOffset(0, y);
      const std::uint8_t* sm = source.mask.Bits() + source.mask.PixelOffset(0, y);
      std::uint8_t* t = target.Bits() + target.PixelOffset(0, y);
      std::uint8_t* tm = target.mask.Bits() + target.mask.PixelOffset(0, y);
      for (int x = 0; x < w; ++x, s += 3, t += 3) {
        const std::uint8_t m = sm[x];
        if (maskedPart ? m > 128 : m < 127) {
          t[0] = s[0];
          t[1] = s[1];
          t[2] = s[2];
        }
        tm[x] = m;
      }
    }
  }
  target.offsetX = source.offsetX;
  target.offsetY = source.offsetY;
}

void LayerProject::AdoptLayers(std::array<std::unique_ptr<CDibTM>, MAX_LAYERS>& fresh, int count,
                               int canvasWidth, int canvasHeight) {
  for (int i = 0; i < count; ++i)
    std::swap(layers[static_cast<std::size_t>(i)], fresh[static_cast<std::size_t>(i)]);
  layerCount = count;
  compositeDib.SetSize(canvasWidth, canvasHeight, platform_);
  compositeStale = true;
  links_.WorkPlane().SetSize(canvasWidth, canvasHeight);
}

}  // namespace mirasketch

#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "buffers/dib_tm.h"
#include "buffers/dib_true.h"

namespace mirasketch {

class MessageSink;
class Platform;
class ProjectLinks;

inline constexpr int LAYER_SLOTS = 32;
inline constexpr int MAX_LAYERS = 30;

// The document: the layer stack (index 0 at the bottom), the active layer, the composed picture
// whose size is the canvas size, and the file the project belongs to. All 32 slot objects exist
// from `InitLayers` on; slots from `layerCount` up are spares. Operations that size the project
// first check the memory they would newly take against what the platform reports available.
class LayerProject {
 public:
  LayerProject(Platform& platform, ProjectLinks& links);

  // Creates the 32 layer objects and starts with one white 256 × 256 layer, layer 0 active.
  void InitLayers();
  // Releases the layers and the composed picture.
  void FreeLayers();
  // Replaces the project by `count` white layers of the given canvas size; true when it did.
  // False with nothing changed for a count outside 1 … 32, and, after the buffer's message
  // "ClsDibTrue- Bits Alloc Error", for a size outside the buffer limits or one whose layers,
  // composed picture and work plane do not fit in the memory available.
  bool NewProject(int count, int width, int height);
  // After a new project or a read file: spares shrunk to 4 × 4, layer 0 active, view reset,
  // caption "(New Layer Project)", layer window refreshed.
  void AfterNewProject();
  // After a successful open or save: as `AfterNewProject` but keeps the active layer and
  // captions the canvas with the file name.
  void AfterProjectFile();
  // Makes `index` the layer the tools draw on and restarts the undo ring; a bad index shows
  // "Dbg -ChangeActiveLayer Index Limit Out" and changes nothing.
  void SetActiveLayer(int index);
  // `SetActiveLayer` with the current tool suspended around it.
  void ChangeActiveLayer(int index);
  // Visible, simple mode, offset (0, 0) for slots 0 … 30; the threshold is kept.
  void ResetLayerProps(int index);
  // Exchanges two slot objects (0 … 31), else "Dbg- Swap Index Limit Out".
  void SwapLayers(int a, int b);
  // Opens slot `index` by rotating the spare from slot 31 into it; with `allocate` the layer is
  // reset and sized white. False at the 30-layer limit or for a bad index; with `allocate`, also
  // false after the buffer's message when the size is refused or does not fit in memory. A
  // refused insertion moves no slot.
  bool InsertLayer(int index, bool allocate, int width, int height);
  // Closes slot `index` by rotating its object up to slot 31 (shrunk to 4 × 4 with `release`).
  // False for the last layer or a bad index.
  bool DeleteLayer(int index, bool release);
  // Fills the layer above `index` from it: the pixels whose mask is above 128 (`maskedPart`) or
  // below 127 (otherwise), all mask bytes and the offsets.
  void SplitByMask(int index, bool maskedPart);

  // The canvas size is the composed picture's size.
  int CanvasWidth() const { return compositeDib.Width(); }
  int CanvasHeight() const { return compositeDib.Height(); }
  CDibTM& Layer(int index) { return *layers[static_cast<std::size_t>(index)]; }
  const CDibTM& Layer(int index) const { return *layers[static_cast<std::size_t>(index)]; }
  CDibTM& Active() { return Layer(activeLayer); }
  const CDibTM& Active() const { return Layer(activeLayer); }

  // Puts freshly read layers into slots 0 … count − 1 (the objects they replace are released)
  // and sizes the canvas; the caller then runs `AfterNewProject`. The caller has checked the
  // memory with `FitsInMemory` before sizing the fresh layers.
  void AdoptLayers(std::array<std::unique_ptr<CDibTM>, MAX_LAYERS>& fresh, int count,
                   int canvasWidth, int canvasHeight);

  // Whether `newBytes` more fit in the memory the platform reports available; when they do not,
  // shows "ClsDibTrue- Bits Alloc Error" and returns false.
  bool FitsInMemory(std::uint64_t newBytes);
  // The bytes the composed picture and the tool engine's work plane would newly take for a
  // width × height canvas.
  std::uint64_t CanvasGrowth(int width, int height);

  MessageSink& Messages() const;
  ProjectLinks& Links() { return links_; }

  std::array<std::unique_ptr<CDibTM>, LAYER_SLOTS> layers;
  int layerCount = 1;
  int activeLayer = 0;
  CDibTrue compositeDib;
  std::string projectFileName;
  bool composeEnabled = false;
  bool backgroundRefresh = false;
  // True while `compositeDib` may not hold the composition of the layers as they are (a repaint
  // was skipped, the canvas was resized, or the active mask was laid over it for display).
  bool compositeStale = true;

 private:
  void ShrinkSpares();
  // Whether a buffer of width × height is within the buffer limits and `newBytes` fit in
  // memory; otherwise the sizing message and false.
  bool SizeFits(int width, int height, std::uint64_t newBytes);

  Platform& platform_;
  ProjectLinks& links_;
};

}  // namespace mirasketch

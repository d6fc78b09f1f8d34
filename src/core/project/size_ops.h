#pragma once

namespace mirasketch {

class LayerProject;

// Gives the canvas a new size (the width rounded up to a multiple of 4, as every buffer's): a
// layer larger than the canvas is cut to it keeping its top-left part, layers that fit stay as
// they are whatever their offsets; the canvas view follows and the layer window is refreshed.
// The memory the new sizes take is checked first: refused with the sizing message, false and
// nothing changed when it is not there.
bool ResizeCanvas(LayerProject& project, int width, int height);
// Gives layer `index` a new size keeping its top-left content: new parts are white with mask 0,
// parts beyond the new size are dropped; offsets and compose settings stay. A size beyond the
// canvas is refused with "カンバスより大きくすることはできません。", a bad index is ignored, and
// memory that is not there is refused with the sizing message; false then, the layer unchanged.
bool ResizeLayer(LayerProject& project, int index, int width, int height);
// Cuts the active layer down to the canvas window's selection, moving its offsets so the kept
// pixels stay where they are on the canvas. Nothing without a selection shown; a selection
// reaching outside the layer gives "はみだしています。". False when the layer did not change.
bool CropLayerToSelection(LayerProject& project);

}  // namespace mirasketch

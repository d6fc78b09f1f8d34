#pragma once

#include <cstdint>

#include "painting/tool_settings.h"

namespace mirasketch {

class ToolEngine;

// Region marks of the fills: one byte a layer pixel, laid out like the layer's pixels (bottom
// row first).
inline constexpr std::uint8_t kNotCandidate = 0;
inline constexpr std::uint8_t kCandidate = 1;
inline constexpr std::uint8_t kFilled = 3;

// Marks as filled the pixel (x, y) (0 at the top) and every candidate 4-connected to it through
// candidates, in `marks` of a width × height layer; other marks stay. Scan lines grow the
// region from a stack of spans, each maximal run of the region pushed once, so the time follows
// the pixels visited and the memory the number of runs. (x, y) must lie inside.
void GrowRegion(std::uint8_t* marks, int width, int height, int x, int y);

// The paint bucket's fill: the 4-connected region of pixels whose channel differences from
// `seed` (0x00BBGGRR) sum to at most `range`, around (x, y), painted with the drawing colour under
// the transparency and, when the mask switch is on, the mask. Nothing when (x, y) lies outside the
// layer or the layer cannot be prepared.
void FloodFill(ToolEngine& engine, int x, int y, std::uint32_t seed, int range);
// The mask's fill: the 4-connected region of mask bytes within `range` of `seed`, around (x, y),
// takes `value`. Nothing outside the layer or when the mask does not match the layer's size.
void MaskFloodFill(ToolEngine& engine, int x, int y, int seed, int range, std::uint8_t value);

// The paint bucket: a left press fills around the pointer (after saving the undo snapshot), any
// other button picks the colour. It keeps its own transparency.
void PaintBucketTool(ToolEngine& engine, ToolEvent event);

}  // namespace mirasketch

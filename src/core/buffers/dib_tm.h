#pragma once

#include <cstdint>

#include "buffers/dib256.h"
#include "buffers/dib_true.h"

namespace mirasketch {

class MessageSink;

// A true-colour picture with its own 8-bit mask plane of the same size and the display
// properties of a layer. Mask byte 0 shows the pixel fully, 255 hides it; the mask's palette shows
// byte v as grey 255 − v.
class CDibTM : public CDibTrue {
 public:
  // An empty picture and mask, with the grey mask palette and the default properties.
  CDibTM();

  // Sizes the mask to the picture and clears it to 0; false when that size is refused.
  bool ResetMask();
  // Sizes the picture (with the buffer's message on a refused size), fills it white and resets
  // the mask. On a refused size the mask keeps its previous size.
  bool SetSize(int width, int height, MessageSink& messages);
  // The bytes sizing the picture and its mask to width × height would newly take.
  std::uint64_t GrowthFor(int width, int height) const {
    return CDibTrue::GrowthFor(width, height) + mask.GrowthFor(width, height);
  }
  // Makes the pixels and the mask a copy of `other`'s; the properties are not copied.
  void Assign(const CDibTM& other, MessageSink& messages);

  CDib256 mask;
  bool visible = true;
  std::int32_t offsetX = 0;
  std::int32_t offsetY = 0;
  std::int32_t composeMode = 0;
  std::int32_t threshold = 128;
};

}  // namespace mirasketch

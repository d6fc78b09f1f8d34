#pragma once

#include "buffers/dib_true.h"

namespace mirasketch {

// A clipboard that keeps one picture in memory, for platforms without a desktop clipboard: the
// command-line tool's replays and the tests cut, copy and paste through it.
class MemoryClipboard {
 public:
  bool HasBitmap() const { return width_ > 0; }
  // Keeps a copy of the picture's top-left width × height (clipped to the picture); an empty
  // rectangle, or one that cannot be held, leaves the clipboard empty.
  void Put(const CDibTrue& picture, int width, int height);
  // Sizes `target` to (w + extraColumns) × (h + extraRows), white, with the picture at its
  // top-left; `width` and `height` report the picture's size even when the target cannot be sized.
  bool Take(CDibTrue& target, int extraColumns, int extraRows, int& width, int& height) const;

 private:
  CDibTrue picture_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace mirasketch

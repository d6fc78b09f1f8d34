#include "platform/memory_clipboard.h"

#include <algorithm>

#include "buffers/copy_block.h"

namespace mirasketch {

void MemoryClipboard::Put(const CDibTrue& picture, int width, int height) {
  width_ = height_ = 0;
  width = std::min(width, picture.Width());
  height = std::min(height, picture.Height());
  if (width < 1 || height < 1 || !picture_.Alloc(width, height)) return;
  CopyBlock(picture_, 0, 0, picture, 0, 0, width, height);
  width_ = width;
  height_ = height;
}

bool MemoryClipboard::Take(CDibTrue& target, int extraColumns, int extraRows, int& width,
                           int& height) const {
  if (!HasBitmap()) return false;
  width = width_;
  height = height_;
  if (!target.Alloc(width_ + extraColumns, height_ + extraRows)) return false;
  target.FillRect(0, 0, target.Width(), target.Height(), 0xFFFFFF);
  CopyBlock(target, 0, 0, picture_, 0, 0, width_, height_);
  return true;
}

}  // namespace mirasketch

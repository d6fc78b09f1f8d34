#include "support/fake_platform.h"

#include "buffers/copy_block.h"

namespace mirasketch::test {

void FakePlatform::PutClipboardBitmap(const CDibTrue& picture, int width, int height) {
  clipboard.Alloc(width, height);
  clipboard.FillRect(0, 0, clipboard.Width(), clipboard.Height(), 0xFFFFFF);
  CopyBlock(clipboard, 0, 0, picture, 0, 0, width, height);
  clipboardWidth = width;
  clipboardHeight = height;
}

bool FakePlatform::TakeClipboardBitmap(CDibTrue& target, int extraColumns, int extraRows,
                                       int& width, int& height) {
  if (clipboardWidth <= 0) return false;
  if (!target.Alloc(clipboardWidth + extraColumns, clipboardHeight + extraRows)) return false;
  target.FillRect(0, 0, target.Width(), target.Height(), 0xFFFFFF);
  CopyBlock(target, 0, 0, clipboard, 0, 0, clipboardWidth, clipboardHeight);
  width = clipboardWidth;
  height = clipboardHeight;
  return true;
}

}  // namespace mirasketch::test

#include "buffers/dib_tm.h"

#include "buffers/copy_block.h"

namespace mirasketch {

CDibTM::CDibTM() {
  for (int i = 0; i < 256; ++i) {
    const auto grey = static_cast<std::uint8_t>(255 - i);
    mask.SetPaletteEntry(i, grey, grey, grey);
  }
}

bool CDibTM::ResetMask() {
  if (!mask.SetSize(Width(), Height())) return false;
  mask.Clear();
  return true;
}

bool CDibTM::SetSize(int width, int height, MessageSink& messages) {
  if (!CDibTrue::SetSize(width, height, messages)) return false;
  FillRect(0, 0, Width(), Height(), 0xFFFFFF);
  return ResetMask();
}

void CDibTM::Assign(const CDibTM& other, MessageSink& messages) {
  if (Width() != other.Width() || Height() != other.Height()) {
    if (!CDibTrue::SetSize(other.Width(), other.Height(), messages) || !ResetMask()) return;
  }
  CopyBlock(*this, 0, 0, other, 0, 0, other.Width(), other.Height());
  CopyBlock256(mask, 0, 0, other.mask, 0, 0, other.Width(), other.Height());
}

}  // namespace mirasketch

#pragma once

namespace mirasketch {

class CDibTrue;
class CDib256;

// The clipping rule shared by the block copies. The block is cut to the destination (the source
// origin moving with any cut on the left or top); the source is not clipped: the whole remaining
// rectangle must lie inside it. False when nothing is to be copied.
bool ClipBlock(int& dx, int& dy, int& sx, int& sy, int& w, int& h, int dstW, int dstH, int srcW,
               int srcH);

// Copies a w × h block from (sx, sy) of `src` to (dx, dy) of `dst`, top row first and each row
// left to right (which decides the result when the two overlap in one buffer). True when
// anything was copied.
bool CopyBlock(CDibTrue& dst, int dx, int dy, const CDibTrue& src, int sx, int sy, int w, int h);
bool CopyBlock256(CDib256& dst, int dx, int dy, const CDib256& src, int sx, int sy, int w, int h);
// Copies 8-bit values into a true-colour picture through the source's palette.
bool CopyBlock256ToTrue(CDibTrue& dst, int dx, int dy, const CDib256& src, int sx, int sy, int w,
                        int h);

}  // namespace mirasketch

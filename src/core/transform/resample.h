#pragma once

#include <array>

#include "buffers/dib_tm.h"
#include "buffers/dib_true.h"

namespace mirasketch {

class MessageSink;
class UniformRandom;

struct HandlePoint {
  int x = 0;
  int y = 0;
};

// The transform window's pictures and parameters that the computations read and write.
struct ResampleState {
  // The piece being transformed; only its top-left srcWidth × srcHeight is used. Its mask marks
  // the pixels that smoothing with protectMask keeps apart and that tiling leaves out.
  CDibTM srcPiece;
  int srcWidth = 4;
  int srcHeight = 4;
  // What a computation produced: resultWidth × resultHeight from the top-left.
  CDibTrue resultPicture;
  int resultWidth = 4;
  int resultHeight = 4;
  // The enlarged work picture of the anti-aliasing and of the averaging reduction.
  CDibTrue bigPicture;
  int bigWidth = 0;
  int bigHeight = 0;
  bool smoothing = false;
  bool protectMask = false;
  // 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right corner, 4 the rotation handle; all
  // relative to the window centre.
  std::array<HandlePoint, 5> handles{};
  int targetWidth = 4;
  int targetHeight = 4;
  float angle = 0;  // degrees, counter-clockwise on screen
  bool trapezoidHorizontal = true;
  int tileCount = 7;  // 1 … 100
  int sideCount = 3;  // 2 … 20
};

// Four corner points (x, y) of a result, in any order.
using ResultCorners = std::array<std::array<double, 2>, 4>;

// The source colour at the real point (x, y), pixel (i, j) covering [i, i + 1) × [j, j + 1):
// white outside the source area (and for a point that is not a number), the smoothed colour when
// smoothing is on, otherwise the pixel the point falls in.
int SampleSource(const ResampleState& state, double x, double y);
// The pixel (⌊x⌋, ⌊y⌋) blended with its nearer horizontal and nearer vertical neighbour, each
// weighted by how far the point lies from the pixel's centre towards it (at most 0.5). A
// neighbour outside the source or masked (with protectMask) does not count; a masked pixel
// keeps its own colour. White for a point outside the source area.
int SmoothSample(const ResampleState& state, double x, double y);
// The source pixel (i, j) in `colour`; false and black when it lies outside the source area or
// is masked while protectMask is on.
bool NeighbourSample(const ResampleState& state, int i, int j, int& colour);
// Turns (x, y) by `angleDegrees` about the origin, counter-clockwise on screen (y down). The
// angle in radians is rounded to single precision first.
void RotatePoint(float angleDegrees, double x, double y, double& xOut, double& yOut);
// Sizes the result to the bounding box of the four points and fills it white. minX and minY
// receive the box's top-left. False when the box is empty (silently; also for points that are
// not finite) or the buffer refuses its size (with the buffer's message).
bool ResultBox(ResampleState& state, const ResultCorners& points, int& minX, int& minY,
               MessageSink& messages);
// Places the four corner handles on the target rectangle centred on the window centre.
void SetCornersFromTarget(ResampleState& state);

// Scales the source to targetWidth × targetHeight: an averaging reduction when smoothing shrinks
// both sides, otherwise sampling at each result pixel's centre.
void ComputeScale(ResampleState& state, MessageSink& messages);
// Turns the source by `angle` into its bounding box.
void ComputeRotation(ResampleState& state, MessageSink& messages);
// Maps the source onto the quadrilateral of the four corner handles, row by row
// (trapezoidHorizontal) or column by column.
void ComputeTrapezoid(ResampleState& state, MessageSink& messages);
// Reduces bigPicture (bigWidth × bigHeight) into the result (resultWidth × resultHeight): each
// result pixel is the mean of the big pixels around the one it maps to, that one counted twice.
// Releases bigPicture afterwards.
void ReduceAverage(ResampleState& state);
// Softens the source's edges: each pixel becomes (5 × itself + 2 × its left and upper
// neighbours + its upper-left neighbour) / 10, over the neighbours that exist.
void AntiAlias(ResampleState& state, MessageSink& messages);
// Stamps tileCount copies of the source's unmasked pixels at random offsets, wrapping around a
// result of the source's size. The caller seeds `random`.
void Tile(ResampleState& state, UniformRandom& random, MessageSink& messages);
// sideCount × sideCount copies of the source side by side.
void SideBySide(ResampleState& state, MessageSink& messages);

}  // namespace mirasketch

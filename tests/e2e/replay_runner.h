#pragma once

#include <string>
#include <utility>
#include <vector>

#include "buffers/dib_true.h"
#include "cli_runner.h"
#include "support/temp_dir.h"

namespace mirasketch::test {

// Writes `script` to a file in `dir` and runs `mirasketch-cli replay` on it (with `--check`
// when `checkOnly`). The script's "OUT/" stands for `dir` + "/".
CliRun Replay(const std::string& script, const TempDir& dir, bool checkOnly = false);

// Reads a BMP file the replay saved into `picture` with the program's own BMP import; false
// (with a test failure) when it cannot be read.
bool ReadPicture(const std::string& path, CDibTrue& picture, int& width, int& height);

// The cells of stamp `k` of the brush sheet beside mirasketch-cli that paint fully, as offsets
// from the pointer point. Adds a test failure when a cell paints partly: the expectations built
// from a footprint hold only for stamps that paint fully or not at all.
std::vector<std::pair<int, int>> StampFootprint(int k);

// The picture a session should give, built from what the tools promise: a canvas of one colour,
// painted with footprints and rectangles; pixels marked open are not compared.
class ExpectedPicture {
 public:
  ExpectedPicture(int width, int height, int colour = 0xFFFFFF);
  // The stamp's footprint at (x, y), clipped to the canvas.
  void Stamp(int x, int y, const std::vector<std::pair<int, int>>& footprint, int colour);
  // The rectangle with both corners included.
  void Fill(int x0, int y0, int x1, int y1, int colour);
  // Pixels of the footprint at (x, y) that no longer need to match.
  void Open(int x, int y, const std::vector<std::pair<int, int>>& footprint);
  // Empty when `picture` matches; otherwise how many pixels differ and the first few of them.
  std::string Differences(const CDibTrue& picture, int width, int height) const;

 private:
  int width_;
  int height_;
  std::vector<int> colours_;  // row by row; −1: not compared
};

// Reads the saved picture at `path` and adds a test failure naming it when it differs from
// `expected` (or cannot be read).
void ExpectPicture(const std::string& path, const ExpectedPicture& expected);

}  // namespace mirasketch::test

#include "replay_runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "buffers/dib256.h"
#include "platform/files.h"
#include "platform/system_memory.h"
#include "project/bmp_import.h"
#include "support/recording_messages.h"

namespace mirasketch::test {

CliRun Replay(const std::string& script, const TempDir& dir, bool checkOnly) {
  std::string text = script;
  for (std::size_t at = text.find("OUT/"); at != std::string::npos; at = text.find("OUT/", at))
    text.replace(at, 4, dir.Path() + "/");
  const std::string path = dir.File("session.txt");
  WriteAll(path, std::vector<std::uint8_t>(text.begin(), text.end()));
  return RunCli(std::string("replay ") + (checkOnly ? "--check " : "") + path, dir);
}

bool ReadPicture(const std::string& path, CDibTrue& picture, int& width, int& height) {
  if (!InFile::Exists(path)) {
    ADD_FAILURE() << path << " was not saved";
    return false;
  }
  InFile file(path);
  if (DecodeBmp(file, picture, width, height, kUnreportedMemory) != ImportResult::kOk) {
    ADD_FAILURE() << path << " is not a readable BMP file";
    return false;
  }
  return true;
}

std::vector<std::pair<int, int>> StampFootprint(int k) {
  const std::string sheetPath =
      (std::filesystem::path(MIRASKETCH_CLI).parent_path() / "brush.bmp").string();
  CDib256 sheet;
  RecordingMessages messages;
  std::vector<std::pair<int, int>> cells;
  if (!sheet.LoadFromBmp(sheetPath, messages) || sheet.Width() < 128 || sheet.Height() < 256) {
    ADD_FAILURE() << "no brush sheet at " << sheetPath;
    return cells;
  }
  const int left = k % 8 * 16;
  const int top = k / 8 * 16;
  for (int row = 0; row < 16; ++row) {
    for (int column = 0; column < 16; ++column) {
      const int value = sheet.GetPixel(left + column, top + row);
      if (value == 0) cells.emplace_back(column - 8, row - 8);
      if (value != 0 && value != 255)
        ADD_FAILURE() << "stamp " << k << " paints cell (" << column << ", " << row << ") partly";
    }
  }
  return cells;
}

ExpectedPicture::ExpectedPicture(int width, int height, int colour)
    : width_(width), height_(height), colours_(static_cast<std::size_t>(width * height), colour) {}

void ExpectedPicture::Stamp(int x, int y, const std::vector<std::pair<int, int>>& footprint,
                            int colour) {
  for (const auto& [dx, dy] : footprint) Fill(x + dx, y + dy, x + dx, y + dy, colour);
}

void ExpectedPicture::Fill(int x0, int y0, int x1, int y1, int colour) {
  for (int y = std::max(y0, 0); y <= std::min(y1, height_ - 1); ++y)
    for (int x = std::max(x0, 0); x <= std::min(x1, width_ - 1); ++x)
      colours_[static_cast<std::size_t>(y * width_ + x)] = colour;
}

void ExpectedPicture::Open(int x, int y, const std::vector<std::pair<int, int>>& footprint) {
  Stamp(x, y, footprint, -1);
}

std::string ExpectedPicture::Differences(const CDibTrue& picture, int width, int height) const {
  std::ostringstream out;
  if (width != width_ || height != height_) {
    out << "size " << width << " x " << height << ", expected " << width_ << " x " << height_;
    return out.str();
  }
  int count = 0;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const int expected = colours_[static_cast<std::size_t>(y * width_ + x)];
      const int actual = picture.GetPixel(x, y);
      if (expected < 0 || actual == expected) continue;
      if (++count <= 8)
        out << " (" << x << ", " << y << ") is " << std::hex << actual << " not " << expected
            << std::dec << ';';
    }
  }
  if (count == 0) return {};
  return std::to_string(count) + " pixels differ:" + out.str();
}

void ExpectPicture(const std::string& path, const ExpectedPicture& expected) {
  CDibTrue picture;
  int width = 0, height = 0;
  if (!ReadPicture(path, picture, width, height)) return;
  EXPECT_EQ(expected.Differences(picture, width, height), "") << path;
}

}  // namespace mirasketch::test

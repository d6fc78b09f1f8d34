#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace mirasketch::rulers {

// "Ruler.dat": two records of 128 bytes, little-endian int32 throughout. Each record holds the
// number of points used, a reserved word (0) and 15 points (x, y) relative to the ruler's centre,
// in pixels at scale 1, y pointing down.
inline constexpr int kRecordPoints = 15;
inline constexpr int kFileBytes = 256;

struct TemplatePoint {
  int x;
  int y;
};

// Record 0, the set square: a right triangle with legs of 240 and 180 pixels (sides in the ratio
// 3 : 4 : 5), its right angle at the bottom left; the outline is closed by repeating the first
// corner. The centre lies inside it, clear of the edges, so both handles sit on the ruler.
inline constexpr int kTriangleCount = 4;
inline constexpr std::array<TemplatePoint, kTriangleCount> kTriangle{{
    {-80, 80},
    {160, 80},
    {-80, -100},
    {-80, 80},
}};

// Record 1, the cloud curve: the outline of a french curve traced clockwise on screen, a broad
// lobe on the left narrowing into a tail on the right, so that its curvature runs from tight to
// almost straight. The spline through the points closes on the first one.
inline constexpr int kCloudCount = 15;
inline constexpr std::array<TemplatePoint, kCloudCount> kCloud{{
    {-120, 10},
    {-110, -40},
    {-75, -75},
    {-25, -85},
    {25, -70},
    {65, -45},
    {110, -30},
    {150, -28},
    {132, -6},
    {85, 5},
    {45, 25},
    {10, 60},
    {-35, 80},
    {-90, 60},
    {-120, 10},
}};

// The file's bytes.
std::array<std::uint8_t, kFileBytes> RulerDataBytes();

// Writes "Ruler.dat" to `fileName`; failures throw IoError and leave an existing file as it was.
void WriteRulerData(const std::string& fileName);

}  // namespace mirasketch::rulers

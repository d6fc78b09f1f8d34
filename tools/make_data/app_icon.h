#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mirasketch::icons {

// The sizes, in pixels, of the program's desktop icon.
inline constexpr std::array<int, 5> kAppIconSizes = {16, 32, 48, 128, 256};

// The program's emblem as a square `size` × `size` icon, rows top-down, 4 bytes a pixel
// (red, green, blue, straight alpha), transparent around it. The same on every machine.
std::vector<std::uint8_t> PaintAppIcon(int size);

// The icon's path below a data folder: "icons/hicolor/<size>x<size>/apps/mirasketch.png".
std::string AppIconPath(int size);

// Writes PaintAppIcon(size) as an RGBA PNG file; throws std::runtime_error when it cannot.
void WriteAppIcon(const std::string& path, int size);

}  // namespace mirasketch::icons

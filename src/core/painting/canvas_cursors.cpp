// The canvas cursors are drawn here from outlines rather than read from files: each is a few
// polygons filled white or black, then rimmed with black where painted pixels meet clear ones.
#include "painting/canvas_cursors.h"

#include <cmath>
#include <initializer_list>
#include <vector>

namespace mirasketch {

namespace {

struct Point {
  double x, y;
};

// A polygon in pixel-centre coordinates: the pixels whose centres lie inside it or on its edges
// are painted in its colour.
struct Part {
  std::vector<Point> corners;
  bool black;
};

bool Covers(const std::vector<Point>& polygon, double px, double py) {
  bool inside = false;
  for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const Point& a = polygon[i];
    const Point& b = polygon[j];
    const double ex = b.x - a.x;
    const double ey = b.y - a.y;
    const double length2 = ex * ex + ey * ey;
    const double cross = ex * (py - a.y) - ey * (px - a.x);
    const double along = ex * (px - a.x) + ey * (py - a.y);
    // A centre on an edge counts, so a tip corner paints its own pixel.
    if (std::abs(cross) <= 1e-6 * std::sqrt(length2) && along >= -1e-9 && along <= length2 + 1e-9)
      return true;
    if ((a.y > py) != (b.y > py) && px < ex * (py - a.y) / ey + a.x) inside = !inside;
  }
  return inside;
}

CanvasCursor Draw(const std::vector<Part>& parts, int hotX, int hotY) {
  constexpr int n = CanvasCursor::kSize;
  CanvasCursor cursor;
  cursor.hotX = hotX;
  cursor.hotY = hotY;
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      const std::uint32_t bit = 1u << (n - 1 - x);
      for (const Part& part : parts) {
        if (!Covers(part.corners, x, y)) continue;
        cursor.mask[static_cast<std::size_t>(y)] |= bit;
        if (part.black)
          cursor.black[static_cast<std::size_t>(y)] |= bit;
        else
          cursor.black[static_cast<std::size_t>(y)] &= ~bit;
      }
    }
  }
  // The rim: painted pixels next to clear ones (or to the cursor's edge) turn black, so the
  // cursor shows on light and dark pictures alike.
  const CanvasCursor filled = cursor;
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      if (!filled.Painted(x, y)) continue;
      if (!filled.Painted(x - 1, y) || !filled.Painted(x + 1, y) || !filled.Painted(x, y - 1) ||
          !filled.Painted(x, y + 1))
        cursor.black[static_cast<std::size_t>(y)] |= 1u << (n - 1 - x);
    }
  }
  return cursor;
}

// A pen whose tip lies on `tip` and whose body runs along the unit vector `along`: a white
// barrel `half` pixels either side of its axis, a cone of `nib` pixels ending in a black point,
// and a black band where the cone meets the barrel.
std::vector<Part> Pen(Point tip, Point along, double nib, double half, double length) {
  auto at = [&](double u, double v) {
    return Point{tip.x + u * along.x - v * along.y, tip.y + u * along.y + v * along.x};
  };
  const double point = nib * 0.4;
  const double pointHalf = half * point / nib;
  return {
      {{at(0, 0), at(nib, -half), at(length, -half), at(length, half), at(nib, half)}, false},
      {{at(0, 0), at(point, -pointHalf), at(point, pointHalf)}, true},
      {{at(nib, -half), at(nib + 1, -half), at(nib + 1, half), at(nib, half)}, true},
  };
}

std::array<CanvasCursor, kCanvasCursorCount> DrawAll() {
  const double diagonal = std::sqrt(0.5);
  const Point upLeft{diagonal, diagonal};
  const Point downLeft{diagonal, -diagonal};
  return {
      Draw({{{{0, 0}, {0, 21}, {5, 16}, {9, 25}, {12, 24}, {8, 15}, {15, 15}}, false}}, 0, 0),
      Draw(Pen({0, 0}, upLeft, 9, 4, 34), 0, 0),
      Draw({{{{0, 0}, {13, 5}, {5, 13}}, false}}, 0, 0),
      Draw(Pen({0, 31}, downLeft, 9, 4, 34), 0, 31),
      Draw(Pen({0, 11}, {1, 0}, 6, 3, 20), 0, 11),
      Draw(Pen({11, 31}, {0, -1}, 6, 3, 20), 11, 31),
      Draw(Pen({31, 11}, {-1, 0}, 6, 3, 20), 31, 11),
      Draw(Pen({20, 0}, {0, 1}, 6, 3, 20), 20, 0),
  };
}

}  // namespace

const std::array<CanvasCursor, kCanvasCursorCount>& CanvasCursors() {
  static const std::array<CanvasCursor, kCanvasCursorCount> cursors = DrawAll();
  return cursors;
}

}  // namespace mirasketch

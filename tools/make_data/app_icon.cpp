#include "app_icon.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "stamp_canvas.h"

namespace mirasketch::icons {

namespace {

// The emblem is designed on the version dialog's 112 × 100 picture; the icon shows its content
// box, 96 × 80 around (60, 48), centred and scaled to the icon.
constexpr double kCentreX = 60, kCentreY = 48, kContentWidth = 96;

// Colours as the emblem gives them, 0x00BBGGRR.
constexpr std::uint32_t kBackFill = 0xF2DDB4, kBackEdge = 0x9C7A4A;
constexpr std::uint32_t kMiddleFill = 0xC8EBD2, kMiddleEdge = 0x5A8C64;
constexpr std::uint32_t kTopFill = 0xFFFFFF, kTopEdge = 0x404040;
constexpr std::uint32_t kInk = 0x2020D0, kGrip = 0x909090, kBarrel = 0x303030;

constexpr int kWavePoints = 64;

struct Point {
  double x, y;
};

// Where the emblem's shapes lie at one icon size, in emblem units; widths are held to what
// still shows at small sizes.
class Emblem {
 public:
  explicit Emblem(int size) : size_(size), scale_(size * 0.94 / kContentWidth) {
    // Sheet edges fall on pixel boundaries and outlines are whole pixels wide, so they stay
    // crisp at the small sizes.
    edge_ = std::max(1.0, std::round(scale_)) / scale_;
    sheets_[0] = SnappedSheet(12, 36, kTopFill, kTopEdge);
    sheets_[1] = SnappedSheet(26, 22, kMiddleFill, kMiddleEdge);
    sheets_[2] = SnappedSheet(40, 8, kBackFill, kBackEdge);
    inkRadius_ = std::max(1.6, 0.75 / scale_);
    minPenRadius_ = 0.7 / scale_;
    for (int i = 0; i <= kWavePoints; ++i) {
      const double t = static_cast<double>(i) / kWavePoints;
      wave_[i] = {18 + 50 * t, 70 - 10 * brushes::Sine(t * 6.0) - 8 * t};
    }
    nib_ = wave_[kWavePoints];
  }

  // Emblem coordinates of a point of the icon.
  Point FromIcon(double x, double y) const {
    return {(x - size_ / 2.0) / scale_ + kCentreX, (y - size_ / 2.0) / scale_ + kCentreY};
  }

  // The colour the emblem has at `p`, topmost shape first; false where it is transparent.
  bool ColourAt(Point p, std::uint32_t& colour) const {
    if (Pen(p, colour) || Ink(p, colour)) return true;
    for (const Sheet& sheet : sheets_) {
      if (p.x < sheet.left || p.y < sheet.top || p.x >= sheet.right || p.y >= sheet.bottom)
        continue;
      const double inside = std::min(std::min(p.x - sheet.left, sheet.right - p.x),
                                     std::min(p.y - sheet.top, sheet.bottom - p.y));
      colour = inside < edge_ ? sheet.edge : sheet.fill;
      return true;
    }
    return false;
  }

 private:
  // A sheet of paper, outlined; its sides in emblem units.
  struct Sheet {
    double left, top, right, bottom;
    std::uint32_t fill, edge;
  };

  // A 64 × 52 sheet with its top-left corner at (x, y), its sides moved to the nearest pixel
  // boundaries of the icon.
  Sheet SnappedSheet(double x, double y, std::uint32_t fill, std::uint32_t edge) const {
    const auto snapX = [this](double v) {
      return (std::round((v - kCentreX) * scale_ + size_ / 2.0) - size_ / 2.0) / scale_ + kCentreX;
    };
    const auto snapY = [this](double v) {
      return (std::round((v - kCentreY) * scale_ + size_ / 2.0) - size_ / 2.0) / scale_ + kCentreY;
    };
    return {snapX(x), snapY(y), snapX(x + 64), snapY(y + 52), fill, edge};
  }

  // Squared distance from p to segment ab, and the segment's parameter of the nearest point.
  static double SegmentDistance2(Point p, Point a, Point b, double& u) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    u = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    const double ex = p.x - (a.x + u * dx), ey = p.y - (a.y + u * dy);
    return ex * ex + ey * ey;
  }

  // The wave the pen has drawn across the top sheet.
  bool Ink(Point p, std::uint32_t& colour) const {
    const double r2 = inkRadius_ * inkRadius_;
    for (int i = 0; i < kWavePoints; ++i) {
      double u;
      if (SegmentDistance2(p, wave_[i], wave_[i + 1], u) <= r2) {
        colour = kInk;
        return true;
      }
    }
    return false;
  }

  // The pen from its nib up to the right: a cone widening into the barrel, the grip lighter.
  bool Pen(Point p, std::uint32_t& colour) const {
    const Point end{nib_.x + 36, nib_.y - 50};
    double u;
    const double d2 = SegmentDistance2(p, nib_, end, u);
    const double r = std::max(1.0 + 3.0 * std::min(u * 5, 1.0), minPenRadius_);
    if (d2 > r * r) return false;
    colour = u < 0.25 ? kGrip : kBarrel;
    return true;
  }

  int size_;
  double scale_;
  Sheet sheets_[3]{};  // topmost first
  double edge_ = 1, inkRadius_ = 1.6, minPenRadius_ = 0;
  Point wave_[kWavePoints + 1];
  Point nib_{};
};

}  // namespace

std::vector<std::uint8_t> PaintAppIcon(int size) {
  const Emblem emblem(size);
  // Each pixel is the mean of k × k samples: coverage gives alpha, covered samples the colour.
  const int k = size <= 48 ? 8 : 4;
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(size) * size * 4);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      int covered = 0;
      int sum[3] = {0, 0, 0};
      for (int sy = 0; sy < k; ++sy) {
        for (int sx = 0; sx < k; ++sx) {
          std::uint32_t colour;
          const Point p = emblem.FromIcon(x + (sx + 0.5) / k, y + (sy + 0.5) / k);
          if (!emblem.ColourAt(p, colour)) continue;
          ++covered;
          sum[0] += static_cast<int>(colour & 0xFF);
          sum[1] += static_cast<int>((colour >> 8) & 0xFF);
          sum[2] += static_cast<int>(colour >> 16);
        }
      }
      std::uint8_t* out = &rgba[(static_cast<std::size_t>(y) * size + x) * 4];
      for (int c = 0; c < 3; ++c)
        out[c] = static_cast<std::uint8_t>(covered ? (sum[c] + covered / 2) / covered : 0);
      out[3] = static_cast<std::uint8_t>((covered * 255 + k * k / 2) / (k * k));
    }
  }
  return rgba;
}

std::string AppIconPath(int size) {
  const std::string side = std::to_string(size);
  return "icons/hicolor/" + side + "x" + side + "/apps/mirasketch.png";
}

void WriteAppIcon(const std::string& path, int size) {
  const std::vector<std::uint8_t> rgba = PaintAppIcon(size);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(size);
  image.height = static_cast<png_uint_32>(size);
  image.format = PNG_FORMAT_RGBA;
  if (!png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr))
    throw std::runtime_error("cannot write " + path + ": " + image.message);
}

}  // namespace mirasketch::icons

#include "app/icon_art.h"

#include <algorithm>
#include <cmath>

namespace paginor::app {
namespace {

struct Colour {
  double r, g, b;
};

// Shapes in a unit square; coverage is sampled 4 x 4 per pixel, so the edges stay smooth
// and sharp at any size instead of one bitmap scaled down.
double RoundedBox(double x, double y, double inset, double radius) {
  const double cx = std::clamp(x, inset + radius, 1.0 - inset - radius);
  const double cy = std::clamp(y, inset + radius, 1.0 - inset - radius);
  return std::hypot(x - cx, y - cy) <= radius ? 1.0 : 0.0;
}

double NearSegment(double x, double y, double ax, double ay, double bx, double by, double halfWidth) {
  const double dx = bx - ax, dy = by - ay;
  const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - (ax + t * dx), y - (ay + t * dy)) <= halfWidth ? 1.0 : 0.0;
}

struct Layer {
  double coverage;
  Colour colour;
};

// A rounded tile with a double chevron, "next page"; while disabled the tile is grey and
// crossed by a red bar.
std::vector<Layer> Sample(bool off, double x, double y) {
  const Colour sheet = off ? Colour{0.62, 0.62, 0.62} : Colour{0.16, 0.45, 0.80};
  std::vector<Layer> layers;
  layers.push_back({RoundedBox(x, y, 0.04, 0.16), sheet});
  const double w = 0.075;
  const double chevron = std::max({NearSegment(x, y, 0.26, 0.24, 0.50, 0.50, w),
                                   NearSegment(x, y, 0.50, 0.50, 0.26, 0.76, w),
                                   NearSegment(x, y, 0.50, 0.24, 0.74, 0.50, w),
                                   NearSegment(x, y, 0.74, 0.50, 0.50, 0.76, w)});
  layers.push_back({chevron, Colour{1.0, 1.0, 1.0}});
  if (off) layers.push_back({NearSegment(x, y, 0.14, 0.86, 0.86, 0.14, 0.08), Colour{0.85, 0.10, 0.10}});
  return layers;
}

std::uint32_t Byte(double v) { return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); }

std::uint32_t Pixel(bool off, int px, int py, int size) {
  constexpr int kSamples = 4;
  double a = 0, r = 0, g = 0, b = 0;  // premultiplied "over" compositing per sample
  for (int sy = 0; sy < kSamples; ++sy) {
    for (int sx = 0; sx < kSamples; ++sx) {
      const double x = (px + (sx + 0.5) / kSamples) / size;
      const double y = (py + (sy + 0.5) / kSamples) / size;
      double sa = 0, sr = 0, sg = 0, sb = 0;
      for (const Layer& layer : Sample(off, x, y)) {
        const double c = layer.coverage;
        sr = layer.colour.r * c + sr * (1 - c);
        sg = layer.colour.g * c + sg * (1 - c);
        sb = layer.colour.b * c + sb * (1 - c);
        sa = c + sa * (1 - c);
      }
      a += sa;
      r += sr;
      g += sg;
      b += sb;
    }
  }
  if (a <= 0) return 0;
  return Byte(a / (kSamples * kSamples)) << 24 | Byte(r / a) << 16 | Byte(g / a) << 8 | Byte(b / a);
}

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(i < 4 ? static_cast<std::uint8_t>(value >> (8 * i)) : std::uint8_t{0});
}

// One entry's image: a BITMAPINFOHEADER of twice the height (colour plus mask), the
// bottom-up BGRA rows, then the 1-bit AND mask, rows padded to 32 bits.
std::vector<std::uint8_t> EntryImage(int size) {
  const std::vector<std::uint32_t> pixels = DrawIconArt(0, size);
  const int maskStride = (size + 31) / 32 * 4;
  std::vector<std::uint8_t> out;
  Put(out, 40, 4);
  Put(out, static_cast<std::uint32_t>(size), 4);
  Put(out, static_cast<std::uint32_t>(size * 2), 4);
  Put(out, 1, 2);
  Put(out, 32, 2);
  Put(out, 0, 4);
  Put(out, static_cast<std::uint32_t>(size * size * 4 + maskStride * size), 4);
  Put(out, 0, 16);
  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) Put(out, pixels[static_cast<std::size_t>(y * size + x)], 4);
  }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(maskStride), 0);
    for (int x = 0; x < size; ++x) {
      if ((pixels[static_cast<std::size_t>(y * size + x)] >> 24) == 0) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

std::vector<std::uint32_t> DrawIconArt(int image, int size) {
  size = std::max(size, 1);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) pixels[static_cast<std::size_t>(py * size + px)] = Pixel(image == 1, px, py, size);
  }
  return pixels;
}

std::vector<std::uint8_t> IconFile(const std::vector<int>& sizes) {
  std::vector<std::vector<std::uint8_t>> images;
  for (const int size : sizes) images.push_back(EntryImage(std::clamp(size, 1, 256)));
  std::vector<std::uint8_t> out;
  Put(out, 0, 2);
  Put(out, 1, 2);  // an icon, not a cursor
  Put(out, static_cast<std::uint32_t>(images.size()), 2);
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const int size = std::clamp(sizes[i], 1, 256);
    Put(out, static_cast<std::uint32_t>(size % 256), 1);  // 0 stands for 256
    Put(out, static_cast<std::uint32_t>(size % 256), 1);
    Put(out, 0, 2);
    Put(out, 1, 2);
    Put(out, 32, 2);
    Put(out, static_cast<std::uint32_t>(images[i].size()), 4);
    Put(out, offset, 4);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}

}  // namespace paginor::app

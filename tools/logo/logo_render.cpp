#include "tools/logo/logo_render.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct TColor {
  double R = 0;
  double G = 0;
  double B = 0;
};

TColor Mix(const TColor& a, const TColor& b, double t) {
  return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

TColor Scaled(const TColor& c, double k) { return {c.R * k, c.G * k, c.B * k}; }

struct TSegment {
  TPoint A;
  TPoint B;
};

// The letters' strokes in picture pixels, slanted and placed.
std::vector<TSegment> PlaceStrokes(const TLogoShapes& shapes) {
  const double unit = shapes.Height / 6.0;
  double width = shapes.Gap * static_cast<double>(shapes.Letters.size() - 1);
  for (const TLetter& letter : shapes.Letters) width += letter.Width;
  // Centred as the letters' middles stand, halfway up.
  double left = (shapes.PictureWidth - width * unit) / 2.0 - shapes.Slant * 3.0 * unit;
  std::vector<TSegment> segments;
  for (const TLetter& letter : shapes.Letters) {
    const auto place = [&](const TPoint& p) {
      return TPoint{left + (p.X + shapes.Slant * p.Y) * unit, shapes.Baseline - p.Y * unit};
    };
    for (const std::vector<TPoint>& line : letter.Lines)
      for (std::size_t k = 1; k < line.size(); ++k) segments.push_back({place(line[k - 1]), place(line[k])});
    left += (letter.Width + shapes.Gap) * unit;
  }
  return segments;
}

double Distance(const TSegment& s, double x, double y) {
  const double dx = s.B.X - s.A.X;
  const double dy = s.B.Y - s.A.Y;
  const double length2 = dx * dx + dy * dy;
  const double t = length2 > 0 ? std::clamp(((x - s.A.X) * dx + (y - s.A.Y) * dy) / length2, 0.0, 1.0) : 0.0;
  return std::hypot(x - (s.A.X + t * dx), y - (s.A.Y + t * dy));
}

// Chrome: a pale sky over a horizon at half height, deep blue below it that
// brightens towards the foot of the letter.
TColor Chrome(double v) {
  if (v >= 0.5) return Mix({80, 180, 255}, {250, 252, 255}, std::pow(std::clamp((v - 0.5) / 0.5, 0.0, 1.0), 0.8));
  return Mix({90, 150, 255}, {16, 36, 130}, std::clamp(v / 0.5, 0.0, 1.0));
}

class TPainter {
 public:
  explicit TPainter(const TLogoShapes& shapes)
      : Shapes(shapes), Segments(PlaceStrokes(shapes)), Radius(shapes.Stroke * shapes.Height / 12.0) {}

  // The title as it stands at pixel (x, y), glow included.
  TColor At(double x, double y) const {
    double d = std::numeric_limits<double>::max();
    for (const TSegment& segment : Segments) d = std::min(d, Distance(segment, x, y));
    const TColor glow = Scaled(GlowColor, 0.85 * std::exp(-std::max(0.0, d - Radius - RimWidth) / GlowReach));
    // A dark rim separates the tube from its own glow.
    const double rim = std::clamp(d - Radius, 0.0, RimWidth) / RimWidth;
    const TColor outside = Scaled(glow, rim);
    const double coverage = std::clamp(Radius + 0.5 - d, 0.0, 1.0);
    if (coverage == 0) return outside;
    // Lit like a cylinder: bright along its middle, darker to its edges, with
    // a white highlight along the crest.
    const double across = std::min(d / Radius, 1.0);
    const double profile = std::sqrt(1.0 - across * across);
    const double v = (Shapes.Baseline - y) / Shapes.Height;
    const TColor body = Mix(Scaled(Chrome(v), 0.35 + 0.65 * profile), {255, 255, 255}, 0.55 * std::pow(profile, 14));
    return Mix(outside, body, coverage);
  }

  double MirrorRow() const { return Shapes.Baseline + Radius + 3.0; }

 private:
  static constexpr TColor GlowColor{40, 120, 255};
  static constexpr double GlowReach = 11.0;
  static constexpr double RimWidth = 1.5;
  const TLogoShapes& Shapes;
  std::vector<TSegment> Segments;
  double Radius;
};

}  // namespace

std::vector<std::uint8_t> RenderLogo(const TLogoShapes& shapes) {
  const TPainter painter(shapes);
  const double mirror = painter.MirrorRow();
  constexpr double ReflectionDepth = 70.0;
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(shapes.PictureWidth) * shapes.PictureHeight * 3);
  std::uint8_t* out = rgb.data();
  for (int row = 0; row < shapes.PictureHeight; ++row) {
    const double y = row + 0.5;
    // The reflection fades out over ReflectionDepth rows below the mirror line.
    const double below = y - mirror;
    const double reflection = below > 0 && below < ReflectionDepth ? 0.28 * (1.0 - below / ReflectionDepth) : 0.0;
    for (int column = 0; column < shapes.PictureWidth; ++column) {
      const double x = column + 0.5;
      TColor c = painter.At(x, y);
      if (reflection > 0) {
        const TColor mirrored = painter.At(x, mirror - below);
        c = {c.R + mirrored.R * reflection, c.G + mirrored.G * reflection, c.B + mirrored.B * reflection};
      }
      *out++ = static_cast<std::uint8_t>(std::clamp(c.R + 0.5, 0.0, 255.0));
      *out++ = static_cast<std::uint8_t>(std::clamp(c.G + 0.5, 0.0, 255.0));
      *out++ = static_cast<std::uint8_t>(std::clamp(c.B + 0.5, 0.0, 255.0));
    }
  }
  return rgb;
}

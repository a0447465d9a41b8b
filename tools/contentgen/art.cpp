#include "tools/contentgen/art.h"

#include <algorithm>
#include <cmath>

int Bayer(int x, int y) {
  static const int kMatrix[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return kMatrix[y & 3][x & 3];
}

// Picks from a ramp by a level in [0, 1), dithering between neighbouring steps.
static Rgb RampColour(const std::vector<Rgb>& ramp, double level, int x, int y) {
  const double scaled = std::clamp(level, 0.0, 0.9999) * double(ramp.size());
  int index = int(scaled);
  const double frac = scaled - index;
  if (frac * 16.0 > Bayer(x, y) + 0.5 && index + 1 < int(ramp.size())) ++index;
  return ramp[size_t(index)];
}

void Starfield(Image& image, const Palette& palette, uint32_t seed, int count, int x, int y,
               int w, int h) {
  Random rng(seed);
  const Rgb dim = palette["steel"], mid = palette["steellight"], bright = palette["pale"],
            white = palette["white"], faint = palette["dusk"];
  for (int i = 0; i < count; ++i) {
    const int sx = x + rng.Below(w), sy = y + rng.Below(h);
    const int kind = rng.Below(100);
    if (kind < 45) {
      image.Set(sx, sy, faint);
    } else if (kind < 75) {
      image.Set(sx, sy, dim);
    } else if (kind < 90) {
      image.Set(sx, sy, mid);
    } else if (kind < 97) {
      image.Set(sx, sy, bright);
    } else {
      image.Set(sx, sy, white);
      image.Set(sx - 1, sy, dim);
      image.Set(sx + 1, sy, dim);
      image.Set(sx, sy - 1, dim);
      image.Set(sx, sy + 1, dim);
    }
  }
}

void Nebula(Image& image, uint32_t seed, int cx, int cy, int rx, int ry,
            const std::vector<Rgb>& colours) {
  Random rng(seed);
  // A few offset lobes make the cloud uneven; each pixel takes the strongest lobe.
  struct Lobe {
    double x, y, r;
  };
  std::vector<Lobe> lobes;
  for (int i = 0; i < 5; ++i)
    lobes.push_back({(rng.Below(100) - 50) / 100.0, (rng.Below(100) - 50) / 100.0,
                     0.45 + rng.Below(40) / 100.0});
  for (int y = cy - ry; y <= cy + ry; ++y) {
    for (int x = cx - rx; x <= cx + rx; ++x) {
      if (!image.Inside(x, y)) continue;
      const double nx = double(x - cx) / rx, ny = double(y - cy) / ry;
      double level = 0;
      for (const Lobe& l : lobes) {
        const double d = std::hypot(nx - l.x * 0.6, ny - l.y * 0.6) / l.r;
        level = std::max(level, 1.0 - d);
      }
      if (level <= 0) continue;
      // Steps from the background: a level just above zero shows only the first colour.
      const double scaled = level * double(colours.size() + 1);
      int index = int(scaled);
      if ((scaled - index) * 16.0 > Bayer(x, y) + 0.5) ++index;
      if (index == 0) continue;
      image.Set(x, y, colours[size_t(std::min<int>(index - 1, int(colours.size()) - 1))]);
    }
  }
}

void Planet(Image& image, int cx, int cy, int r, const std::vector<Rgb>& colours) {
  for (int y = cy - r; y <= cy + r; ++y) {
    for (int x = cx - r; x <= cx + r; ++x) {
      const double dx = x - cx, dy = y - cy;
      const double d = std::hypot(dx, dy);
      if (d > r - 0.5) continue;
      // Lambert light from the upper left, plus a little rim darkening.
      const double nz = std::sqrt(std::max(0.0, 1.0 - (d * d) / double(r * r)));
      double light = std::clamp((-dx * 0.55 - dy * 0.6 + nz * r * 0.6) / r, 0.0, 1.0);
      // Soft cloud bands across the surface, bent a little by the curve of the ball.
      const double band = std::sin((dy + dx * dx / (3.0 * r)) * 0.16);
      light = std::clamp(light + 0.09 * band * nz, 0.0, 1.0);
      image.Set(x, y, RampColour(colours, light, x, y));
    }
  }
}

// The bevelled face shared by buttons and keys.
static void Face(Image& image, const Palette& palette, int left, int top, int right, int bottom) {
  const int w = right - left, h = bottom - top;
  FillRect(image, left, top, w, h, palette["night"]);                   // rim
  FillRect(image, left + 1, top + 1, w - 2, h - 2, palette["steeldark"]);  // face
  FillRect(image, left + 1, top + 1, w - 2, 1, palette["steellight"]);     // lit top
  FillRect(image, left + 1, top + 1, 1, h - 2, palette["steel"]);          // lit left
  FillRect(image, left + 2, bottom - 2, w - 3, 1, palette["dusk"]);        // shaded bottom
  FillRect(image, right - 2, top + 2, 1, h - 3, palette["dusk"]);          // shaded right
}

void DrawButton(Image& image, const Palette& palette, const Font& font, int left, int top,
                int right, int bottom, const std::string& label) {
  Face(image, palette, left, top, right, bottom);
  TextStyle style;
  style.ink = palette["white"];
  style.shadow = true;
  style.shadowColour = palette["night"];
  const int textTop = top + (bottom - top - kCapHeight) / 2;
  DrawCentred(image, font, label, (left + right) / 2, textTop, style);
}

void DrawArrowButton(Image& image, const Palette& palette, int left, int top, int right,
                     int bottom, bool pointsLeft) {
  Face(image, palette, left, top, right, bottom);
  const int cx = (left + right) / 2, cy = (top + bottom) / 2;
  // A solid triangle 9 rows tall with a short shaft.
  for (int pass = 0; pass < 2; ++pass) {
    const Rgb c = pass == 0 ? palette["night"] : palette["white"];
    const int o = pass == 0 ? 1 : 0;
    for (int i = 0; i <= 4; ++i) {
      const int x = pointsLeft ? cx - 6 + i : cx + 6 - i;
      FillRect(image, x + o, cy - i + o, 1, 2 * i + 1, c);
    }
    const int shaftX = pointsLeft ? cx - 1 : cx - 6;
    FillRect(image, shaftX + o, cy - 1 + o, 7, 3, c);
  }
}

void DrawPanel(Image& image, const Palette& palette, int left, int top, int right, int bottom) {
  FillRect(image, left, top, right - left, bottom - top, palette["night"]);
  FrameRect(image, left, top, right - left, bottom - top, palette["steeldark"]);
  // Small bright corner studs.
  for (int x : {left, right - 1})
    for (int y : {top, bottom - 1}) image.Set(x, y, palette["steel"]);
}

void DrawPlate(Image& image, const Palette& palette, int left, int top, int right, int bottom) {
  const int w = right - left, h = bottom - top;
  // Rows of decreasing inset make the cut corners; the corner pixels stay as they were.
  for (int cut = 0; cut < 3; ++cut) {
    const Rgb rim = cut == 0 ? palette["steel"] : palette["night"];
    FillRect(image, left + 2 - cut, top + cut, w - 2 * (2 - cut), h - 2 * cut, rim);
  }
  FillRect(image, left + 1, top + 1, 1, 1, palette["steel"]);
  FillRect(image, right - 2, top + 1, 1, 1, palette["steel"]);
  FillRect(image, left + 1, bottom - 2, 1, 1, palette["steel"]);
  FillRect(image, right - 2, bottom - 2, 1, 1, palette["steel"]);
  FillRect(image, left, top + 2, 1, h - 4, palette["steel"]);
  FillRect(image, right - 1, top + 2, 1, h - 4, palette["steel"]);
  // A lit inner line along the top and a dark one along the bottom.
  FillRect(image, left + 2, top + 1, w - 4, 1, palette["steellight"]);
  FillRect(image, left + 2, bottom - 2, w - 4, 1, palette["steeldark"]);
}

// One explosion strip: a hot core that swells, then a ring of embers and drifting smoke.
static Image MakeExplosion(const Palette& palette, int w, int h, Rgb background, uint32_t seed) {
  Image strip(w * 5, h, background);
  const std::vector<Rgb> ramp = {palette["violet"], palette["ember"], palette["orange"],
                                 palette["amber"], palette["cream"], palette["white"]};
  Random rng(seed);
  const double maxR = std::min(w, h) * 0.5;
  for (int f = 0; f < 5; ++f) {
    const double radius = maxR * (0.45 + 0.14 * f);
    const double fade = 1.0 - 0.2 * f;
    const double hollow = f < 2 ? 0.0 : radius * 0.18 * (f - 1);
    const double cx = (w - 1) / 2.0, cy = (h - 1) / 2.0;
    // The frame's outermost ring stays background, so frames never bleed into each other.
    for (int y = 1; y < h - 1; ++y) {
      for (int x = 1; x < w - 1; ++x) {
        const double d = std::hypot((x - cx) * 0.95, (y - cy) * 1.1);
        if (d >= radius) continue;
        double heat = (1.0 - d / radius) * fade * 1.15;
        if (d < hollow) heat *= d / hollow * 0.7;
        heat += (int(rng.Below(100)) - 50) / 400.0;
        if (heat < 0.08) continue;
        if (f >= 3 && heat < 0.2 && Bayer(x, y) > 8) continue;
        strip.Set(f * w + x, y, RampColour(ramp, heat, x, y));
      }
    }
    // Sparks flying out.
    const int sparks = 4 + 2 * f;
    for (int i = 0; i < sparks; ++i) {
      const double angle = rng.Below(628) / 100.0;
      const double dist = radius * (0.9 + rng.Below(40) / 100.0);
      const int sx = int(std::lround(cx + std::cos(angle) * dist));
      const int sy = int(std::lround(cy + std::sin(angle) * dist * 0.85));
      if (sx < 1 || sy < 1 || sx >= w - 1 || sy >= h - 1) continue;
      strip.Set(f * w + sx, sy, f < 3 ? palette["amber"] : palette["ember"]);
    }
  }
  return strip;
}

Image MakeEnemyExplosion(const Palette& palette) {
  return MakeExplosion(palette, 23, 18, palette["key"], 0x5EED0001u);
}

Image MakeShipExplosion(const Palette& palette) {
  return MakeExplosion(palette, 30, 30, palette["space"], 0x5EED0002u);
}

#pragma once
// Drawing helpers shared by the picture generators: an RGBA canvas with
// antialiased shapes filled through shading functions, value noise that
// tiles, outlines and contact shadows. Everything is deterministic, so the
// generators make the same files on every run.
#include "tools/png.h"
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace art {

struct Rgba {
    uint8_t r, g, b, a;
};

inline Rgba rgb(int r, int g, int b, int a = 255) {
    auto c = [](int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); };
    return {c(r), c(g), c(b), c(a)};
}

constexpr Rgba CLEAR = {0, 0, 0, 0};

// Where shapes are sampled: a canvas can be drawn mirrored (the player facing
// the other way) or sheared (the player recoiling) without writing the
// figure twice. Shapes and shading functions see local coordinates.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;
    bool mirror = false;
    float shear = 0; // local x shifts by shear per row above pivotY
    float pivotY = 0;
    float offsetX = 0, offsetY = 0;
};

inline Image makeImage(int width, int height, Rgba fill = CLEAR) {
    Image image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width) * height, fill);
    return image;
}

inline Rgba& at(Image& image, int x, int y) {
    return image.pixels[static_cast<size_t>(y) * image.width + x];
}
inline Rgba get(const Image& image, int x, int y) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) {
        return CLEAR;
    }
    return image.pixels[static_cast<size_t>(y) * image.width + x];
}

inline float clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}
inline float smooth(float e0, float e1, float v) {
    float t = clamp01((v - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

inline Rgba mix(Rgba a, Rgba b, float t) {
    t = clamp01(t);
    auto m = [t](uint8_t x, uint8_t y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return rgb(m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), m(a.a, b.a));
}

// Brightens (k > 1) or darkens (k < 1) the colour, keeping its alpha.
inline Rgba scale(Rgba c, float k) {
    return rgb(static_cast<int>(std::lround(c.r * k)), static_cast<int>(std::lround(c.g * k)),
               static_cast<int>(std::lround(c.b * k)), c.a);
}
inline Rgba withAlpha(Rgba c, int a) {
    return rgb(c.r, c.g, c.b, a);
}

// A ramp through evenly spaced colour stops, t from 0 to 1.
inline Rgba ramp(std::initializer_list<Rgba> stops, float t) {
    std::vector<Rgba> s(stops);
    t = clamp01(t) * static_cast<float>(s.size() - 1);
    size_t i = std::min(static_cast<size_t>(t), s.size() - 2);
    return mix(s[i], s[i + 1], t - static_cast<float>(i));
}

// Source-over compositing of one colour with a coverage factor.
inline void blendPixel(Image& image, int x, int y, Rgba c, float coverage = 1) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) {
        return;
    }
    float sa = c.a / 255.0f * clamp01(coverage);
    if (sa <= 0) {
        return;
    }
    Rgba& d = at(image, x, y);
    float da = d.a / 255.0f;
    float oa = sa + da * (1 - sa);
    auto ch = [&](uint8_t s, uint8_t dc) {
        return static_cast<int>(std::lround((s * sa + dc * da * (1 - sa)) / oa));
    };
    d = rgb(ch(c.r, d.r), ch(c.g, d.g), ch(c.b, d.b), static_cast<int>(std::lround(oa * 255)));
}

inline void composite(Image& destination, const Image& source, int dx = 0, int dy = 0) {
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < source.width; ++x) {
            blendPixel(destination, x + dx, y + dy, get(source, x, y));
        }
    }
}

// Local coordinates of a sample point of the canvas.
inline void toLocal(const Image& image, float px, float py, float& lx, float& ly) {
    if (image.mirror) {
        px = static_cast<float>(image.width) - px;
    }
    lx = px - image.offsetX + image.shear * (image.pivotY - py);
    ly = py - image.offsetY;
}

// Fills the pixels of the canvas that the shape covers, 4 x 4 samples a
// pixel for soft edges, with the colour the shading function gives at the
// pixel's centre.
template <typename Inside, typename Shade>
void fill(Image& image, Inside inside, Shade shade, float opacity = 1) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy) {
                for (int sx = 0; sx < 4; ++sx) {
                    float lx, ly;
                    toLocal(image, x + (sx + 0.5f) / 4, y + (sy + 0.5f) / 4, lx, ly);
                    hits += inside(lx, ly) ? 1 : 0;
                }
            }
            if (hits == 0) {
                continue;
            }
            float lx, ly;
            toLocal(image, x + 0.5f, y + 0.5f, lx, ly);
            blendPixel(image, x, y, shade(lx, ly), hits / 16.0f * opacity);
        }
    }
}
template <typename Inside> void fill(Image& image, Inside inside, Rgba colour, float opacity = 1) {
    fill(
        image, inside, [colour](float, float) { return colour; }, opacity);
}

// ---- Shapes: predicates on local coordinates ------------------------------

inline auto circle(float cx, float cy, float r) {
    return [=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}
inline auto ellipse(float cx, float cy, float rx, float ry) {
    return [=](float x, float y) {
        float u = (x - cx) / rx, v = (y - cy) / ry;
        return u * u + v * v <= 1;
    };
}
inline auto rect(float x0, float y0, float x1, float y1) {
    return [=](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}
inline auto roundRect(float x0, float y0, float x1, float y1, float r) {
    return [=](float x, float y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1) {
            return false;
        }
        float cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
    };
}
// A thick line with round ends.
inline auto segment(float ax, float ay, float bx, float by, float halfWidth) {
    return [=](float x, float y) {
        float dx = bx - ax, dy = by - ay;
        float len2 = dx * dx + dy * dy;
        float t = len2 > 0 ? clamp01(((x - ax) * dx + (y - ay) * dy) / len2) : 0;
        float ex = x - (ax + t * dx), ey = y - (ay + t * dy);
        return ex * ex + ey * ey <= halfWidth * halfWidth;
    };
}
struct Point {
    float x, y;
};
inline auto polygon(std::vector<Point> points) {
    return [points](float x, float y) {
        bool in = false;
        for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const Point& a = points[i];
            const Point& b = points[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
                in = !in;
            }
        }
        return in;
    };
}
template <typename A, typename B> auto unite(A a, B b) {
    return [=](float x, float y) { return a(x, y) || b(x, y); };
}
template <typename A, typename B> auto cut(A a, B b) {
    return [=](float x, float y) { return a(x, y) && !b(x, y); };
}
template <typename A, typename B> auto both(A a, B b) {
    return [=](float x, float y) { return a(x, y) && b(x, y); };
}

// ---- Noise ------------------------------------------------------------

inline uint32_t hash(int x, int y, int seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 static_cast<uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}
inline float hash01(int x, int y, int seed) {
    return (hash(x, y, seed) & 0xFFFF) / 65535.0f;
}

// Smooth value noise on a lattice of the given cell size that repeats every
// period pixels in both directions (period a multiple of cell), so textures
// built from it tile.
inline float noise(float x, float y, float cell, int period, int seed) {
    int cells = std::max(1, static_cast<int>(std::lround(period / cell)));
    cell = static_cast<float>(period) / static_cast<float>(cells);
    float fx = x / cell, fy = y / cell;
    int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    float tx = fx - ix, ty = fy - iy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto v = [&](int i, int j) {
        return hash01(((i % cells) + cells) % cells, ((j % cells) + cells) % cells, seed);
    };
    float a = v(ix, iy) + (v(ix + 1, iy) - v(ix, iy)) * tx;
    float b = v(ix, iy + 1) + (v(ix + 1, iy + 1) - v(ix, iy + 1)) * tx;
    return a + (b - a) * ty;
}

// A little ordered dither so that gradients break into pixels instead of bands.
inline float bayer(int x, int y) {
    static const int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (m[y & 3][x & 3] + 0.5f) / 16.0f - 0.5f;
}

// ---- Lighting -----------------------------------------------------------

// Light falls from the top left and a little from the front: every shaded
// surface in the game uses this direction.
constexpr float LIGHT_X = -0.55f, LIGHT_Y = -0.62f, LIGHT_Z = 0.56f;

// Diffuse light (0..1) and a specular term of a sphere at a point.
inline void sphereLight(float x, float y, float cx, float cy, float r, float& diffuse,
                        float& specular, float shininess = 24) {
    float nx = (x - cx) / r, ny = (y - cy) / r;
    float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
    float d = nx * LIGHT_X + ny * LIGHT_Y + nz * LIGHT_Z;
    diffuse = clamp01(d);
    // Reflection of the light about the normal, seen from straight ahead.
    float rz = 2 * d * nz - LIGHT_Z;
    specular = std::pow(clamp01(rz), shininess);
}

// ---- Finishing ----------------------------------------------------------

// A dark line around everything opaque: the outline that holds every object
// of the game together against the floor.
inline void outline(Image& image, Rgba colour) {
    Image ring = makeImage(image.width, image.height);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            int best = 0;
            for (int d = 0; d < 4; ++d) {
                static const int ox[4] = {1, -1, 0, 0}, oy[4] = {0, 0, 1, -1};
                best = std::max<int>(best, get(image, x + ox[d], y + oy[d]).a);
            }
            if (best > 96 && get(image, x, y).a < 250) {
                at(ring, x, y) = withAlpha(colour, std::min<int>(colour.a, best));
            }
        }
    }
    composite(ring, image);
    ring.mirror = image.mirror;
    ring.shear = image.shear;
    ring.pivotY = image.pivotY;
    ring.offsetX = image.offsetX;
    ring.offsetY = image.offsetY;
    image = std::move(ring);
}

// A soft elliptic shadow where the object touches the floor, put under what
// is already drawn.
inline void contactShadow(Image& image, float cx, float cy, float rx, float ry,
                          float strength = 0.5f) {
    Image shade = makeImage(image.width, image.height);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            float u = (x + 0.5f - cx) / rx, v = (y + 0.5f - cy) / ry;
            float d = std::sqrt(u * u + v * v);
            float a = strength * (1 - smooth(0.45f, 1.0f, d));
            if (a > 0) {
                at(shade, x, y) = rgb(8, 6, 10, static_cast<int>(std::lround(a * 255)));
            }
        }
    }
    composite(shade, image);
    image.pixels = std::move(shade.pixels);
}

// Multiplies every pixel's alpha: fading one-shot animations out.
inline void fade(Image& image, float keep) {
    for (Rgba& p : image.pixels) {
        p.a = static_cast<uint8_t>(std::lround(p.a * clamp01(keep)));
    }
}

inline std::string savePng(const std::string& path, const Image& image, bool withAlpha) {
    PngImage png;
    png.width = image.width;
    png.height = image.height;
    png.channels = withAlpha ? 4 : 3;
    for (const Rgba& p : image.pixels) {
        png.pixels.push_back(p.r);
        png.pixels.push_back(p.g);
        png.pixels.push_back(p.b);
        if (withAlpha) {
            png.pixels.push_back(p.a);
        }
    }
    return writePng(path, png);
}

} // namespace art

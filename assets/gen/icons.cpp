// Draws the game's icon for the desktop: a red ball resting against a wall
// of dark stone blocks, lit by a torch. Each size is drawn for itself, as
// pixel art: hard pixel edges, a few tones a material, and more detail the
// more pixels there are (the torch's stick from 24, mortar from 32, stone
// grain and bevels from 48, dithered light from 64).
//
//   gen_icons [ICONS_DIR]
//
// writes ICONS_DIR/gloomhold-16.png ... gloomhold-256.png (default
// assets/icons), 32-bit RGBA, for the hicolor theme's sizes.
#include "art.h"
#include <cstdio>

using namespace art;

namespace {

constexpr int SIZES[] = {16, 24, 32, 48, 64, 128, 256};

// Tones from dark to light, one ramp a material.
const Rgba STONE[] = {rgb(18, 20, 30), rgb(32, 37, 52), rgb(46, 53, 72), rgb(62, 71, 94)};
const Rgba MORTAR = rgb(11, 12, 18);
const Rgba WARM = rgb(214, 116, 44);
const Rgba BALL[] = {rgb(58, 8, 16),   rgb(112, 18, 30),  rgb(170, 30, 40),
                     rgb(218, 52, 54), rgb(244, 108, 88), rgb(255, 226, 196)};
const Rgba FLAME[] = {rgb(168, 48, 12), rgb(236, 120, 28), rgb(252, 196, 64), rgb(255, 246, 196)};
const Rgba WOOD[] = {rgb(58, 34, 18), rgb(104, 66, 34)};
const Rgba FRAME = rgb(6, 7, 11);

// Where things stand, in fractions of the icon's side.
constexpr float FLAME_X = 0.27f, FLAME_Y = 0.27f;
constexpr float BALL_X = 0.61f, BALL_Y = 0.63f, BALL_R = 0.25f;
constexpr float CORNER = 0.19f;

struct Icon {
    Image image;
    int size;
    float margin; // transparent pixels around the rounded tile
    bool dither;
};

// A tone from a ramp for a shade of 0 to 1; with dithering the step between
// two tones breaks into a pattern instead of a hard band.
template <size_t N> Rgba tone(const Rgba (&ramp)[N], float shade, const Icon& icon, int x, int y) {
    float level = clamp01(shade) * static_cast<float>(N - 1);
    if (icon.dither) {
        level += bayer(x, y) * 0.9f;
    }
    int index = static_cast<int>(std::lround(level));
    return ramp[std::clamp(index, 0, static_cast<int>(N) - 1)];
}

bool insideTile(const Icon& icon, float px, float py) {
    const float s = static_cast<float>(icon.size);
    return roundRect(icon.margin, icon.margin, s - icon.margin, s - icon.margin, CORNER * s)(px,
                                                                                             py);
}

// The torch's light on the wall: full next to the flame, gone at 0.75 of
// the side, in a few hard steps unless dithered.
float torchLight(const Icon& icon, float u, float v, int x, int y) {
    float d = std::hypot(u - FLAME_X, (v - FLAME_Y) * 1.1f) / 0.75f;
    float light = clamp01(1 - d);
    light *= light;
    float steps = 4;
    light = light * steps + (icon.dither ? bayer(x, y) : 0);
    return clamp01(std::floor(light + 0.5f) / steps);
}

Rgba wallPixel(const Icon& icon, int x, int y) {
    const float s = static_cast<float>(icon.size);
    const float u = (x + 0.5f) / s, v = (y + 0.5f) / s;
    float shade = 0.55f - 0.25f * v; // darker towards the floor
    if (icon.size >= 32) {
        // Four courses of blocks, every other one shifted by half a block.
        const int course = static_cast<int>(v * 4);
        const float shifted = u * 2 + (course % 2 ? 0.5f : 0.0f);
        const int block = static_cast<int>(std::floor(shifted));
        const int line = std::max(1, icon.size / 64);
        const int rowTop = static_cast<int>(std::floor(course * s / 4));
        const int columnLeft =
            static_cast<int>(std::floor((block - (course % 2 ? 0.5f : 0.0f)) * s / 2));
        if (y - rowTop < line || x - columnLeft < line) {
            return MORTAR;
        }
        shade += (hash01(block, course, 7) - 0.5f) * 0.3f;
        if (icon.size >= 48) {
            // The top and left edge of each block catch the light.
            if (y - rowTop < 2 * line || x - columnLeft < 2 * line) {
                shade += 0.3f;
            }
            shade += (noise(x, y, s / 10, icon.size, 3) - 0.5f) * 0.35f;
        }
    }
    Rgba colour = tone(STONE, shade, icon, x, y);
    return mix(colour, WARM, torchLight(icon, u, v, x, y) * 0.4f);
}

void drawWall(Icon& icon) {
    for (int y = 0; y < icon.size; ++y) {
        for (int x = 0; x < icon.size; ++x) {
            if (insideTile(icon, x + 0.5f, y + 0.5f)) {
                at(icon.image, x, y) = wallPixel(icon, x, y);
            }
        }
    }
}

// The flame: a drop pointing up, hotter towards its heart, centred on a
// column of pixels so that its two sides mirror each other.
float flameHeat(float u, float v, float s, float scale) {
    const float centre = (std::floor(FLAME_X * s) + 0.5f) / s;
    float dx = (u - centre) / scale, dy = (v - FLAME_Y) / scale;
    // Round at the bottom, narrowing to a tip 0.13 above the centre.
    float width = dy > 0 ? std::sqrt(std::max(0.0f, 0.0064f - dy * dy)) : 0.08f * (1 + dy / 0.13f);
    if (dy < -0.13f || dy > 0.08f || std::fabs(dx) > width) {
        return -1;
    }
    return 1 - std::fabs(dx) / std::max(width, 1e-4f) * 0.6f - std::fabs(dy + 0.02f) * 3;
}

void drawTorch(Icon& icon) {
    const float s = static_cast<float>(icon.size);
    const float scale = icon.size < 24 ? 1.3f : 1.0f;
    for (int y = 0; y < icon.size; ++y) {
        for (int x = 0; x < icon.size; ++x) {
            const float u = (x + 0.5f) / s, v = (y + 0.5f) / s;
            if (icon.size >= 24 &&
                rect(FLAME_X - 0.035f, FLAME_Y + 0.06f, FLAME_X + 0.035f, FLAME_Y + 0.33f)(u, v)) {
                at(icon.image, x, y) = WOOD[u < FLAME_X ? 1 : 0];
            }
            const float heat = flameHeat(u, v, s, scale);
            if (heat >= 0) {
                at(icon.image, x, y) = tone(FLAME, heat, icon, x, y);
            }
        }
    }
}

// The ball: lit from the torch's side, with a dark rim, a highlight and,
// from 48 pixels, a shadow on the floor beneath it. Its centre sits on a
// pixel corner and its radius is whole, so that the circle is symmetric;
// the extra fifth of a pixel rounds off the flat sides a plain test gives.
void drawBall(Icon& icon) {
    const float s = static_cast<float>(icon.size);
    const float cx = std::round(BALL_X * s), cy = std::round(BALL_Y * s);
    const float r = std::round(BALL_R * s) + 0.2f;
    const float rim = std::max(1.0f, s / 48);
    for (int y = 0; y < icon.size; ++y) {
        for (int x = 0; x < icon.size; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            if (icon.size >= 48 && insideTile(icon, px, py) &&
                ellipse(cx + 0.05f * s, cy + r * 0.92f, r * 1.05f, r * 0.28f)(px, py)) {
                at(icon.image, x, y) = scale(at(icon.image, x, y), 0.45f);
            }
            const float d = std::hypot(px - cx, py - cy);
            if (d > r) {
                continue;
            }
            if (d > r - rim) {
                at(icon.image, x, y) = BALL[0];
                continue;
            }
            float diffuse, specular;
            sphereLight(px, py, cx, cy, r, diffuse, specular);
            float shade = 0.2f + 0.65f * diffuse;
            // The torch's reflection: a round spot with a lighter ring,
            // rather than the ragged shape a specular threshold leaves.
            const float spot = std::hypot(px - (cx - 0.38f * r), py - (cy - 0.4f * r));
            if (spot < 0.12f * r + 0.5f) {
                shade = 1;
            } else if (spot < 0.3f * r) {
                shade = std::max(shade, 0.8f);
            }
            at(icon.image, x, y) = tone(BALL, shade, icon, x, y);
        }
    }
}

// A dark line just inside the tile's edge keeps it apart from any panel.
void drawFrame(Icon& icon) {
    const int width = std::max(1, icon.size / 48);
    Image before = icon.image;
    for (int y = 0; y < icon.size; ++y) {
        for (int x = 0; x < icon.size; ++x) {
            if (get(before, x, y).a == 0) {
                continue;
            }
            bool edge = false;
            for (int dy = -width; dy <= width && !edge; ++dy) {
                for (int dx = -width; dx <= width && !edge; ++dx) {
                    edge = get(before, x + dx, y + dy).a == 0;
                }
            }
            if (edge) {
                at(icon.image, x, y) = FRAME;
            }
        }
    }
}

Image drawIcon(int size) {
    Icon icon{makeImage(size, size), size, size < 32 ? 0.0f : size / 32.0f, size >= 64};
    drawWall(icon);
    drawTorch(icon);
    drawBall(icon);
    drawFrame(icon);
    return icon.image;
}

} // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "assets/icons";
    for (int size : SIZES) {
        const std::string path = folder + "/gloomhold-" + std::to_string(size) + ".png";
        const std::string error = savePng(path, drawIcon(size), true);
        if (!error.empty()) {
            std::fprintf(stderr, "gen_icons: %s: %s\n", path.c_str(), error.c_str());
            return 1;
        }
    }
    return 0;
}

// Draws the pictures of all 63 element codes, 122 frames, and writes them to
// assets/sprites as CC-F.png with index.txt listing them in the order the
// data file stores them.
//
//   gen_sprites [SPRITES_DIR] [--sheet PREFIX]
//
// With --sheet it also writes contact sheets, PREFIX-0.png to PREFIX-7.png
// (every frame enlarged) and PREFIX-board-a.png, PREFIX-board-b.png (small
// mock boards): they are for looking at the art, not part of the game.
#include "art.h"
#include "game/elements.h"
#include "platform/files.h"
#include <array>
#include <cstdio>
#include <functional>

using namespace art;

namespace {

constexpr int T = 33; // tile size
constexpr float MID = 16.5f;

// The palette: cold stone, warm wood and brass, and the fire and water that
// light the gloom.
const Rgba INK = rgb(20, 15, 22);
const Rgba STONE_DARK = rgb(36, 34, 42);
const Rgba STONE = rgb(64, 61, 72);
const Rgba STONE_LIGHT = rgb(94, 91, 104);
const Rgba MORTAR = rgb(24, 22, 28);
const Rgba WOOD_DARK = rgb(70, 40, 22);
const Rgba WOOD = rgb(122, 78, 42);
const Rgba WOOD_LIGHT = rgb(170, 118, 66);
const Rgba WOOD_HI = rgb(206, 158, 100);
const Rgba IRON_DARK = rgb(32, 34, 42);
const Rgba IRON = rgb(78, 84, 98);
const Rgba IRON_LIGHT = rgb(134, 142, 158);
const Rgba IRON_HI = rgb(200, 208, 220);
const Rgba GOLD_DARK = rgb(110, 68, 18);
const Rgba GOLD = rgb(204, 152, 44);
const Rgba GOLD_LIGHT = rgb(248, 214, 112);
const Rgba BRICK_DARK = rgb(70, 38, 30);
const Rgba BRICK = rgb(128, 74, 56);
const Rgba BRICK_LIGHT = rgb(168, 108, 82);
const Rgba RED_DARK = rgb(98, 16, 22);
const Rgba RED = rgb(196, 44, 40);
const Rgba RED_LIGHT = rgb(250, 132, 110);
const Rgba CLOAK_DARK = rgb(24, 52, 40);
const Rgba CLOAK = rgb(44, 96, 66);
const Rgba CLOAK_LIGHT = rgb(92, 150, 100);
const Rgba SKIN = rgb(232, 182, 140);
const Rgba SKIN_DARK = rgb(170, 112, 82);
const Rgba WATER = rgb(48, 116, 210);
const Rgba WATER_LIGHT = rgb(150, 204, 250);

// Flame colours from the cool edge to the hot core.
Rgba flameColour(float heat) {
    if (heat <= 0) {
        return CLEAR;
    }
    return ramp({rgb(120, 20, 10, 0), rgb(176, 36, 14, 170), rgb(236, 106, 26, 230),
                 rgb(255, 178, 48, 255), rgb(255, 232, 120, 255), rgb(255, 252, 220, 255)},
                heat);
}

Image tile() {
    return makeImage(T, T);
}

// Shading of a flat surface facing the viewer with a bevelled rim: the
// top-left edges catch the light, the bottom-right ones fall into shade.
Rgba bevel(float x, float y, float x0, float y0, float x1, float y1, Rgba dark, Rgba mid,
           Rgba light, float width = 1.6f) {
    float top = y - y0, left = x - x0, bottom = y1 - y, right = x1 - x;
    if (std::min(top, left) < width && std::min(top, left) <= std::min(bottom, right)) {
        return light;
    }
    if (std::min(bottom, right) < width) {
        return dark;
    }
    return mid;
}

// ---- Floors ---------------------------------------------------------------

// One worn flagstone per tile, bedded in dark mortar: the joints mark out
// the board's grid, so the player can count the cells he walks.
Rgba flagstoneAt(float x, float y) {
    float n = noise(x, y, 5.5f, 33, 11) - 0.5f;
    float fine = noise(x, y, 1.65f, 33, 12) - 0.5f;
    Rgba c = scale(STONE, 1.0f + 0.28f * n + 0.12f * fine + bayer(int(x), int(y)) * 0.04f);
    // Edges worn round: lit along the top and left, in shade along the bottom
    // and right.
    float top = y - 0.5f, left = x - 0.5f, bottom = 31.5f - y, right = 31.5f - x;
    if (std::min(top, left) < 1.2f && std::min(top, left) <= std::min(bottom, right)) {
        c = mix(c, STONE_LIGHT, 0.55f);
    } else if (std::min(bottom, right) < 1.6f) {
        c = mix(c, STONE_DARK, 0.6f);
    }
    return c;
}

Image plainFloor() {
    Image im = makeImage(T, T, MORTAR);
    fill(im, roundRect(0.3f, 0.3f, 32.2f, 32.2f, 2.2f), flagstoneAt);
    // Hairline cracks and a chipped corner keep the stone from looking new.
    fill(im, segment(5, 7, 9, 10, 0.45f), withAlpha(MORTAR, 170));
    fill(im, segment(9, 10, 13, 9, 0.45f), withAlpha(MORTAR, 150));
    fill(im, segment(9.6f, 10.8f, 13.6f, 9.8f, 0.35f), rgb(104, 100, 114, 110));
    fill(im, segment(22, 20, 25, 25, 0.45f), withAlpha(MORTAR, 150));
    fill(im, segment(25, 25, 24, 28, 0.45f), withAlpha(MORTAR, 130));
    fill(im, polygon({{26, 32.5f}, {32.5f, 26}, {32.5f, 32.5f}}), MORTAR);
    for (int i = 0; i < 6; ++i) {
        float x = 3 + hash01(i, 4, 13) * 26, y = 3 + hash01(i, 5, 13) * 26;
        fill(im, circle(x, y, 0.6f), withAlpha(STONE_DARK, 160));
    }
    return im;
}

// Shading masks: grey pictures whose blue byte scales the floor under a wall.
// The shadow is darkest against the wall and fades out over a third of a tile.
Image shadeMask(int kind) {
    Image im = tile();
    for (int y = 0; y < T; ++y) {
        for (int x = 0; x < T; ++x) {
            auto fall = [](float d) { return 1 - 0.62f * std::exp(-d / 5.5f); };
            float fy = fall(y + 0.5f), fx = fall(x + 0.5f);
            float k = 1;
            switch (kind) {
            case 1: k = fy; break;
            case 2: k = fx; break;
            case 3: k = std::min(fx, fy) * (0.85f + 0.15f * std::max(fx, fy)); break;
            case 4:
                k = fall(std::sqrt((x + 0.5f) * (x + 0.5f) + (y + 0.5f) * (y + 0.5f)) * 1.25f);
                break;
            }
            int m = std::clamp(static_cast<int>(std::lround(k * 255 + bayer(x, y) * 3)), 0, 255);
            if (k > 0.995f) {
                m = 255;
            }
            at(im, x, y) = rgb(m, m, m);
        }
    }
    return im;
}

Image rubbleFloor() {
    Image im = plainFloor();
    // Dust darkens the stones before the fragments fall on them.
    fill(im, ellipse(MID, 18, 15, 12), withAlpha(rgb(40, 34, 32), 110));
    struct Chip {
        float x, y, r;
        int seed;
    };
    const Chip chips[] = {{8, 9, 3.4f, 1},  {21, 7, 2.6f, 2},  {26, 16, 3.8f, 3}, {13, 20, 4.2f, 4},
                          {6, 26, 2.8f, 5}, {22, 26, 3.2f, 6}, {15, 11, 1.8f, 7}, {28, 28, 1.6f, 8},
                          {4, 16, 1.7f, 9}, {18, 29, 1.5f, 10}};
    for (const Chip& c : chips) {
        // Each fragment is an irregular polygon lit from the top left.
        std::vector<Point> p;
        for (int i = 0; i < 6; ++i) {
            float a = i * 1.047f + hash01(c.seed, i, 5) * 0.6f;
            float r = c.r * (0.7f + 0.45f * hash01(i, c.seed, 6));
            p.push_back({c.x + std::cos(a) * r, c.y + std::sin(a) * r * 0.8f});
        }
        fill(im, ellipse(c.x + 1, c.y + 1.2f, c.r, c.r * 0.7f), withAlpha(INK, 120));
        Rgba base = (c.seed % 3 == 0) ? BRICK : (c.seed % 3 == 1 ? STONE_LIGHT : BRICK_DARK);
        fill(im, polygon(p), [&](float x, float y) {
            float d = ((x - c.x) * LIGHT_X + (y - c.y) * LIGHT_Y) / c.r;
            return scale(base, 0.9f + 0.45f * d);
        });
    }
    return im;
}

Image burner() {
    Image im = plainFloor();
    // A sunken iron grate over a gas pit with a faint glow below.
    fill(im, roundRect(5, 8, 28, 29, 3), INK);
    fill(im, roundRect(6, 9, 27, 28, 2.5f),
         [](float x, float y) { return bevel(x, y, 6, 9, 27, 28, IRON_LIGHT, IRON, IRON_DARK); });
    fill(im, roundRect(8.5f, 11.5f, 24.5f, 25.5f, 1.5f), [](float x, float y) {
        return mix(rgb(90, 30, 12), rgb(22, 12, 14), (y - 11) / 10 + std::abs(x - MID) / 20);
    });
    for (int i = 0; i < 5; ++i) {
        float x = 9.5f + i * 3.2f;
        fill(im, rect(x, 11.5f, x + 1.4f, 25.5f),
             [](float, float y) { return mix(IRON_LIGHT, IRON_DARK, (y - 11) / 14); });
    }
    fill(im, rect(8.5f, 17.5f, 24.5f, 18.9f), IRON);
    return im;
}

Image plate() {
    Image im = plainFloor();
    // A bronze slab set in a dark groove, a ring engraved in it: it gives a
    // little under weight.
    const Rgba bronzeDark = rgb(84, 58, 34), bronze = rgb(140, 104, 58),
               bronzeLight = rgb(196, 156, 96);
    fill(im, roundRect(4, 4, 29, 29, 2.5f), rgb(16, 13, 16));
    fill(im, roundRect(6, 6, 27, 27, 2), [=](float x, float y) {
        Rgba c = bevel(x, y, 6, 6, 27, 27, bronzeDark, bronze, bronzeLight, 1.8f);
        float n = noise(x, y, 4, 32, 41) - 0.5f;
        return scale(c, 1 + 0.18f * n + bayer(int(x), int(y)) * 0.04f);
    });
    // The engraving: dark where it cuts in, lit on its lower right lip.
    auto ring = cut(circle(MID, MID, 6.5f), circle(MID, MID, 4.8f));
    fill(im, ring, [=](float x, float y) {
        return ((x - MID) + (y - MID) > 0) ? scale(bronzeDark, 0.8f) : scale(bronzeDark, 0.55f);
    });
    fill(im, circle(MID, MID, 1.6f), scale(bronzeDark, 0.6f));
    for (int i = 0; i < 4; ++i) {
        float a = i * 1.5708f + 0.7854f;
        fill(im,
             segment(MID + std::cos(a) * 7.5f, MID + std::sin(a) * 7.5f, MID + std::cos(a) * 9.5f,
                     MID + std::sin(a) * 9.5f, 0.6f),
             scale(bronzeDark, 0.6f));
    }
    return im;
}

Image blastFloor() {
    Image im = plainFloor();
    // Soot where the block was blown apart, thickest in the middle.
    for (int y = 0; y < T; ++y) {
        for (int x = 0; x < T; ++x) {
            float d = std::hypot(x + 0.5f - MID, (y + 0.5f - 17) * 1.1f);
            float n = noise(x, y, 5.5f, 33, 58);
            float soot = clamp01(1.4f - d / 15 + (n - 0.5f) * 0.7f);
            Rgba burnt = mix(rgb(14, 11, 13), rgb(58, 34, 24), smooth(0.55f, 0.95f, d / 15));
            at(im, x, y) = mix(at(im, x, y), burnt, soot * 0.92f);
        }
    }
    // A few jagged cracks through the flagstones, and scattered grit.
    const Point starts[] = {{9, 12}, {22, 14}, {15, 23}};
    const float heading[] = {3.6f, 5.6f, 1.9f};
    for (int i = 0; i < 3; ++i) {
        float x = starts[i].x, y = starts[i].y, a = heading[i];
        for (int k = 0; k < 4; ++k) {
            float len = 2.5f + hash01(i, k, 59) * 2.5f;
            a += (hash01(k, i, 60) - 0.5f) * 1.4f;
            float nx = x + std::cos(a) * len, ny = y + std::sin(a) * len;
            fill(im, segment(x, y, nx, ny, 0.5f), rgb(12, 10, 12));
            fill(im, segment(x + 0.7f, y + 0.7f, nx + 0.7f, ny + 0.7f, 0.35f),
                 rgb(80, 76, 84, 140));
            x = nx;
            y = ny;
        }
    }
    for (int i = 0; i < 14; ++i) {
        float x = 3 + hash01(i, 1, 61) * 27, y = 3 + hash01(i, 2, 61) * 27;
        float r = 0.6f + hash01(i, 3, 61) * 0.9f;
        fill(im, circle(x + 0.5f, y + 0.6f, r), rgb(10, 8, 10, 160));
        fill(im, circle(x, y, r), i % 2 ? STONE_LIGHT : rgb(110, 70, 50));
    }
    return im;
}

Image slickFloor() {
    Image im = tile();
    for (int y = 0; y < T; ++y) {
        for (int x = 0; x < T; ++x) {
            float n = noise(x, y, 11, 33, 62);
            float streak = 0.5f + 0.5f * std::sin((x + y * 0.6f) * 0.45f + n * 3);
            Rgba c = ramp({rgb(70, 110, 140), rgb(128, 178, 206), rgb(190, 226, 240)},
                          0.35f + 0.35f * n + 0.15f * streak + bayer(x, y) * 0.06f);
            if (x == 32 || y == 32) {
                c = scale(c, 0.7f);
            }
            at(im, x, y) = c;
        }
    }
    const std::array<std::array<float, 4>, 5> cracks = {{{
                                                             4,
                                                             22,
                                                             12,
                                                             16,
                                                         },
                                                         {12, 16, 15, 19},
                                                         {12, 16, 14, 9},
                                                         {20, 29, 28, 23},
                                                         {23, 4, 28, 9}}};
    for (const auto& c : cracks) {
        fill(im, segment(c[0], c[1], c[2], c[3], 0.5f), rgb(240, 252, 255, 200));
        fill(im, segment(c[0] + 0.8f, c[1] + 0.8f, c[2] + 0.8f, c[3] + 0.8f, 0.4f),
             rgb(60, 96, 124, 150));
    }
    // Glints where the light from the top left catches the ice.
    fill(im, segment(5, 9, 9, 5, 0.6f), rgb(255, 255, 255, 220));
    fill(im, circle(20, 14, 0.9f), rgb(255, 255, 255, 200));
    return im;
}

float lavaField(float x, float y, float shift) {
    float a = noise(x + shift, y, 8.25f, 33, 50);
    float b = noise(x + shift, y + 3, 5.5f, 33, 51);
    float c = noise(x + shift, y, 3.3f, 33, 52);
    return 0.55f * a + 0.3f * b + 0.15f * c;
}

// How close a point is to the seam between two crust plates: the plates are
// the cells of jittered points on a 3 x 3 lattice that repeats every tile.
float plateSeam(float x, float y) {
    float first = 1e9f, second = 1e9f;
    for (int j = -1; j <= 3; ++j) {
        for (int i = -1; i <= 3; ++i) {
            int wi = (i + 3) % 3, wj = (j + 3) % 3;
            float px = i * 11 + 2 + hash01(wi, wj, 53) * 7,
                  py = j * 11 + 2 + hash01(wj, wi, 54) * 7;
            float d = std::hypot(x - px, y - py);
            if (d < first) {
                second = first;
                first = d;
            } else if (d < second) {
                second = d;
            }
        }
    }
    return second - first;
}

Image lava(int frame) {
    Image im = tile();
    float shift = frame * T / 8.0f; // one tile every eight frames: the loop closes
    for (int y = 0; y < T; ++y) {
        for (int x = 0; x < T; ++x) {
            float v = lavaField(x + 0.5f, y + 0.5f, shift);
            float sx = std::fmod(x + 0.5f + shift, static_cast<float>(T));
            float seam = plateSeam(sx, y + 0.5f);
            // Dark crust drifts on the melt in plates; the melt shows through
            // the seams between them and where the crust has melted away.
            float crust = smooth(0.34f, 0.41f, 1 - v) * smooth(0.6f, 2.0f, seam);
            Rgba melt =
                ramp({rgb(150, 30, 10), rgb(226, 88, 20), rgb(255, 170, 40), rgb(255, 234, 130)},
                     clamp01((v - 0.3f) * 2.2f + bayer(x, y) * 0.08f));
            Rgba rock = ramp({rgb(30, 12, 10), rgb(64, 24, 16), rgb(98, 42, 24)},
                             clamp01((0.56f - v) * 3 + smooth(3, 1.5f, seam) * 0.5f));
            at(im, x, y) = mix(melt, rock, crust);
        }
    }
    return im;
}

// The barrier sinking into its slot a little further each frame, until only
// the empty slot is left. The bars are the barrier's own, drawn further down.
void bars(Image& im, float top, float bottom);

Image barrierSlot(int frame) {
    Image im = plainFloor();
    fill(im, roundRect(3, 26, 30, 31, 1.5f), INK);
    fill(im, rect(4, 27, 29, 30), rgb(12, 10, 14));
    fill(im, rect(4, 29, 29, 30), IRON_DARK);
    if (frame < 3) {
        Image b = tile();
        float top = 8 + frame * 7.0f;
        bars(b, top, 28.5f);
        composite(im, b);
    }
    return im;
}

// ---- Objects ----------------------------------------------------------------

void bars(Image& im, float top, float bottom) {
    for (int i = 0; i < 5; ++i) {
        float x = 5.5f + i * 5.5f;
        fill(im, roundRect(x - 1.6f, top, x + 1.6f, bottom, 1.2f), [x](float px, float) {
            return ramp({IRON_DARK, IRON, IRON_HI, IRON_LIGHT, IRON_DARK},
                        (px - (x - 1.6f)) / 3.2f * 0.8f);
        });
    }
    for (float y : {top + 3, (top + bottom) / 2 + 2}) {
        if (y + 2.5f < bottom) {
            fill(im, roundRect(3, y, 30, y + 2.6f, 1), [y](float, float py) {
                return ramp({IRON_LIGHT, IRON, IRON_DARK}, (py - y) / 2.6f);
            });
            for (int i = 0; i < 5; ++i) {
                fill(im, circle(5.5f + i * 5.5f, y + 1.3f, 0.8f), IRON_HI);
            }
        }
    }
}

Image barrier() {
    Image im = tile();
    bars(im, 2, 30.5f);
    outline(im, INK);
    contactShadow(im, MID, 30.5f, 15, 2.8f, 0.55f);
    return im;
}

Rgba sphere(float x, float y, float cx, float cy, float r, Rgba dark, Rgba mid, Rgba light,
            float shininess = 30, float gloss = 1) {
    float diffuse, specular;
    sphereLight(x, y, cx, cy, r, diffuse, specular, shininess);
    // Light bouncing off the floor brightens the lower rim a little.
    float rim = smooth(0.75f, 1.0f, std::hypot(x - cx, y - cy) / r) * clamp01((y - cy) / r);
    Rgba c = ramp({dark, mid, light},
                  diffuse * 0.9f + 0.1f + rim * 0.25f + bayer(int(x), int(y)) * 0.05f);
    return mix(c, rgb(255, 250, 240), specular * gloss);
}

// The red ball: a polished sphere with a dark band that turns as it rolls.
void drawBall(Image& im, float cx, float cy, float r, float turn) {
    fill(im, circle(cx, cy, r), [=](float x, float y) {
        float nx = (x - cx) / r, ny = (y - cy) / r;
        float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
        // A band along two meridians; turning by a third of a half turn per
        // frame, three frames bring the pattern back to where it began.
        float lon = std::atan2(nx, nz) + turn;
        float band = smooth(0.72f, 0.82f, std::abs(std::cos(lon))) * (1 - std::abs(ny) * 0.3f);
        Rgba dark = mix(RED_DARK, rgb(50, 6, 12), band);
        Rgba mid = mix(RED, rgb(120, 20, 26), band);
        return sphere(x, y, cx, cy, r, dark, mid, RED_LIGHT, 40, 1);
    });
}

Image ball(int frame) {
    Image im = tile();
    drawBall(im, MID, 16, 10.5f, frame * 3.14159f / 3);
    outline(im, INK);
    contactShadow(im, MID + 1.5f, 27.5f, 10, 3.2f, 0.6f);
    return im;
}

// The open wooden box, seen from the front and a little from above: the rims
// of its four walls frame the dark inside.
void drawBoxBack(Image& im) {
    fill(im, rect(3, 5, 30, 13), WOOD_LIGHT);
    fill(im, rect(5, 7, 28, 12.5f), [](float x, float y) {
        // The inner back wall, then the deep shadow at the bottom.
        Rgba wall = mix(rgb(92, 56, 30), WOOD_DARK, (x - 5) / 30);
        return mix(wall, rgb(24, 14, 10), smooth(8.5f, 11.5f, y));
    });
    fill(im, rect(5, 5, 28, 7), WOOD_HI);
}
void drawBoxFront(Image& im) {
    fill(im, rect(3, 14, 30, 30), [](float x, float y) {
        int plank = static_cast<int>((y - 14) / 4);
        float py = y - 14 - plank * 4;
        float grain = noise(x * 0.5f, plank * 7 + y * 2, 3, 64, 4) - 0.5f;
        Rgba c = scale(WOOD, 0.95f + 0.25f * grain + 0.07f * (plank % 2));
        if (py < 0.9f) {
            c = WOOD_DARK;
        } else if (py < 1.8f) {
            c = mix(c, WOOD_LIGHT, 0.5f);
        }
        // The front is lit from the left.
        return scale(c, 1.1f - (x - 3) / 70);
    });
    for (float x : {3.0f, 27.0f}) {
        fill(im, rect(x, 13, x + 3, 30), [x](float px, float) {
            return ramp({WOOD_HI, WOOD_LIGHT, WOOD_DARK}, (px - x) / 3);
        });
    }
    // The top edge of the front wall.
    fill(im, rect(3, 12, 30, 14),
         [](float x, float y) { return mix(WOOD_HI, WOOD_LIGHT, (y - 12) / 2 + (x - 3) / 60); });
    for (float x : {4.5f, 28.5f}) {
        for (float y : {16.5f, 27.5f}) {
            fill(im, circle(x, y, 0.8f), IRON_DARK);
        }
    }
}

Image box() {
    Image im = tile();
    drawBoxBack(im);
    drawBoxFront(im);
    outline(im, INK);
    contactShadow(im, MID + 1, 30, 15, 2.6f, 0.6f);
    return im;
}

// The ball above the front rim of the box, drawn over its inside.
void ballInBox(Image& im, float ballY, float turn, float gleam) {
    Image b = tile();
    drawBall(b, MID, ballY, 8.5f, turn);
    if (gleam > 0) {
        fill(b, circle(MID - 3, ballY - 3.5f, 1.0f + gleam * 1.3f),
             rgb(255, 255, 240, 60 + static_cast<int>(gleam * 180)));
    }
    outline(b, INK);
    for (int y = 12; y < T; ++y) {
        for (int x = 0; x < T; ++x) {
            at(b, x, y) = CLEAR;
        }
    }
    composite(im, b);
}

// A box with the ball sitting in it; the gleam on the ball swells and ebbs.
Image boxedBall(float gleam, float ballY) {
    Image im = tile();
    drawBoxBack(im);
    ballInBox(im, ballY, 0.4f, gleam);
    drawBoxFront(im);
    outline(im, INK);
    contactShadow(im, MID + 1, 30, 15, 2.6f, 0.6f);
    return im;
}

Image ballIntoBox(int frame) {
    if (frame == 2) {
        return boxedBall(1, 10.5f);
    }
    Image im = tile();
    drawBoxBack(im);
    ballInBox(im, frame == 0 ? 2.5f : 7.0f, frame * 1.0f, 0);
    drawBoxFront(im);
    outline(im, INK);
    contactShadow(im, MID + 1, 30, 15, 2.6f, 0.6f);
    return im;
}

// ---- The player -------------------------------------------------------------

// The hooded figure is drawn facing right in local coordinates; the canvas
// mirrors it for the left-facing pictures. Light still comes from the top
// left of the screen, so the shading asks which way the canvas is turned.
Image player(bool faceLeft, int frame, bool hurt) {
    Image im = tile();
    im.mirror = faceLeft;
    float lit = faceLeft ? -1.0f : 1.0f; // local x towards the light is -lit
    if (hurt) {
        // Recoiling: the body leans back from the way he faces.
        im.shear = 0.22f;
        im.pivotY = 29;
    }
    float bob = (frame == 1) ? -1.0f : 0.0f;
    Rgba cloakDark = hurt ? rgb(90, 20, 24) : CLOAK_DARK;
    Rgba cloak = hurt ? rgb(176, 48, 44) : CLOAK;
    Rgba cloakLight = hurt ? rgb(236, 120, 96) : CLOAK_LIGHT;
    auto cloakShade = [=](float x, float y) {
        float side = -(x - MID) * lit / 9; // towards the light
        float fold = 0.5f + 0.5f * std::sin((x - MID) * 1.3f + (y - 14) * 0.1f);
        float t =
            0.45f + side * 0.4f - (y - 14) * 0.012f - fold * 0.12f + bayer(int(x), int(y)) * 0.06f;
        return ramp({cloakDark, cloak, cloakLight}, t);
    };
    // Boots: walking moves one forward.
    float backFoot = frame == 1 ? 10.5f : 13.0f, frontFoot = frame == 1 ? 22.5f : 20.0f;
    fill(im, ellipse(backFoot, 28.3f, 3.0f, 1.9f), rgb(48, 30, 22));
    fill(im, ellipse(frontFoot, 28.3f + (frame == 1 ? 0.3f : 0), 3.0f, 1.9f), rgb(64, 40, 28));
    fill(im,
         unite(polygon({{12, 14 + bob}, {21, 14 + bob}, {25, 27.5f}, {8, 27.5f}}),
               ellipse(MID, 27, 8.5f, 1.6f)),
         cloakShade);
    fill(im, both(ellipse(MID, 27.2f, 8.5f, 1.5f), rect(0, 27, 33, 33)), withAlpha(cloakDark, 200));
    fill(im,
         both(polygon({{12, 14 + bob}, {21, 14 + bob}, {25, 27.5f}, {8, 27.5f}}),
              rect(0, 20 + bob, 33, 21.5f + bob)),
         rgb(70, 42, 26));
    fill(im, rect(18, 19.6f + bob, 20.4f, 21.9f + bob), GOLD);
    // Arm and hand in front.
    float reach = frame == 1 ? 1.2f : 0.0f; // the arm swings forward in the stride
    fill(im, segment(19, 16 + bob, 22.5f + reach, 20.5f + bob, 1.9f), cloakShade);
    if (hurt) {
        // Hands thrown up against the heat.
        fill(im, circle(24.5f, 13 + bob, 1.7f), SKIN);
        fill(im, segment(21, 16 + bob, 24, 13.5f + bob, 1.5f), cloakShade);
    } else {
        fill(im, circle(23.2f + reach, 21 + bob, 1.7f), SKIN);
    }
    // Hood with its peak falling back.
    auto hood = unite(circle(MID, 10.5f + bob, 6.6f),
                      polygon({{11, 7 + bob}, {8.5f, 3 + bob}, {15, 4.2f + bob}}));
    fill(im, hood, [=](float x, float y) {
        float d, s;
        sphereLight(faceLeft ? 2 * MID - x : x, y, MID, 10.5f + bob, 7.5f, d, s, 8);
        return ramp({cloakDark, cloak, cloakLight}, d * 0.95f + bayer(int(x), int(y)) * 0.06f);
    });
    // The face looks out of the shadow of the hood.
    fill(im, ellipse(19.6f, 12 + bob, 3.5f, 4.1f), rgb(26, 18, 22));
    fill(im, ellipse(20.4f, 12.8f + bob, 2.5f, 3.1f), [=](float x, float) {
        return mix(SKIN, SKIN_DARK, clamp01(0.15f + (x - 20.4f) * lit * 0.08f));
    });
    if (hurt) {
        fill(im, segment(20.6f, 11.6f + bob, 22.2f, 12.4f + bob, 0.45f), rgb(40, 20, 20));
        fill(im, segment(20.6f, 12.8f + bob, 22.2f, 12.4f + bob, 0.45f), rgb(40, 20, 20));
        fill(im, ellipse(21.3f, 14.6f + bob, 0.8f, 0.7f), rgb(80, 20, 20));
    } else {
        fill(im, rect(21.2f, 11.2f + bob, 22.3f, 12.8f + bob), rgb(30, 22, 30));
    }
    im.shear = 0;
    im.mirror = false;
    outline(im, INK);
    if (hurt) {
        // Sparks of the fire he backed away from.
        Image sparks = tile();
        sparks.mirror = faceLeft;
        for (const auto& s :
             {std::array<float, 4>{26, 8, 30, 5}, {27, 14, 31, 14}, {25, 3, 27, 0.5f}}) {
            fill(sparks, segment(s[0], s[1], s[2], s[3], 0.6f), rgb(255, 200, 80, 230));
        }
        composite(im, sparks);
    }
    contactShadow(im, MID + 1, 29, 10, 2.6f, 0.6f);
    return im;
}

Image effortMark() {
    Image im = tile();
    // Dust kicked up at his feet and two strain lines behind them.
    const std::array<float, 4> puffs[] = {
        {5, 28, 3.6f, 110}, {9, 30, 3.0f, 120}, {28, 28, 3.6f, 110}, {24, 30.5f, 2.8f, 120},
        {3, 25, 2.2f, 80},  {30, 25, 2.2f, 80}, {16.5f, 31, 4, 70}};
    for (const auto& p : puffs) {
        fill(im, circle(p[0], p[1], p[2]), [p](float x, float y) {
            float d = ((x - p[0]) * LIGHT_X + (y - p[1]) * LIGHT_Y) / p[2];
            return rgb(150 + int(d * 40), 134 + int(d * 36), 116 + int(d * 30), int(p[3]));
        });
    }
    for (float s : {-1.0f, 1.0f}) {
        float x = MID + s * 13;
        fill(im, segment(x, 12, x + s * 2, 10, 0.55f), rgb(230, 220, 200, 150));
        fill(im, segment(x + s * 0.5f, 16, x + s * 3, 15, 0.55f), rgb(230, 220, 200, 150));
        fill(im, segment(x, 20, x + s * 2, 21, 0.55f), rgb(230, 220, 200, 150));
    }
    return im;
}

// ---- Locks, keys, doors --------------------------------------------------------

void ironBlock(Image& im, float x0, float y0, float x1, float y1) {
    fill(im, rect(x0, y0, x1, y1), [=](float x, float y) {
        Rgba c = bevel(x, y, x0, y0, x1, y1, IRON_DARK, IRON, IRON_LIGHT, 2);
        float n = noise(x, y, 4, 32, 8) - 0.5f;
        return scale(c, 1 + 0.18f * n);
    });
    for (float x : {x0 + 3.5f, x1 - 3.5f}) {
        for (float y : {y0 + 3.5f, y1 - 3.5f}) {
            fill(im, circle(x, y, 1.3f), [=](float px, float py) {
                return sphere(px, py, x, y, 1.3f, IRON_DARK, IRON_LIGHT, IRON_HI, 10, 0.5f);
            });
        }
    }
}

void padlock(Image& im, float cx, float cy, float shackleLift, float shackleTurn) {
    // Shackle: a thick ring whose right leg leaves the body when opened.
    float sy = cy - 5 - shackleLift;
    auto ring = cut(circle(cx + shackleTurn, sy, 5.2f), circle(cx + shackleTurn, sy, 3.0f));
    fill(im, both(ring, rect(0, 0, 33, sy + 0.01f)), [=](float x, float y) {
        return ramp({IRON_HI, IRON_LIGHT, IRON_DARK}, ((x - cx) * 0.7f + (y - sy)) / 9 + 0.45f);
    });
    fill(im, rect(cx - 5.2f + shackleTurn, sy, cx - 3 + shackleTurn, cy - 1), IRON_LIGHT);
    fill(im, rect(cx + 3 + shackleTurn, sy, cx + 5.2f + shackleTurn, cy - 1 - shackleLift * 0.2f),
         IRON);
    fill(im, roundRect(cx - 7, cy - 2, cx + 7, cy + 9, 2.5f), [=](float x, float y) {
        return bevel(x, y, cx - 7, cy - 2, cx + 7, cy + 9, GOLD_DARK, GOLD, GOLD_LIGHT, 1.5f);
    });
    fill(im, circle(cx, cy + 2.5f, 1.6f), INK);
    fill(im,
         polygon({{cx - 0.8f, cy + 3},
                  {cx + 0.8f, cy + 3},
                  {cx + 1.2f, cy + 6.5f},
                  {cx - 1.2f, cy + 6.5f}}),
         INK);
}

Image lock() {
    Image im = tile();
    ironBlock(im, 2, 3, 31, 31);
    Image p = tile();
    padlock(p, MID, 15, 0, 0);
    outline(p, INK);
    composite(im, p);
    outline(im, INK);
    return im;
}

Image lockOpening(int frame) {
    Image im = tile();
    ironBlock(im, 2, 3, 31, 31);
    Image p = tile();
    float drop = frame == 0 ? 0.0f : (frame == 1 ? 5.0f : 11.0f);
    padlock(p, MID, 15 + drop, 3.5f, 0);
    outline(p, INK);
    if (frame > 0) {
        fade(p, frame == 1 ? 0.85f : 0.4f);
    }
    outline(im, INK);
    // The iron block dissolves into the dark as the mechanism gives way.
    fade(im, frame == 0 ? 1.0f : (frame == 1 ? 0.55f : 0.18f));
    composite(im, p);
    return im;
}

Image key() {
    Image im = tile();
    auto shade = [](float x, float y) {
        float t = 0.55f - ((x - MID) * LIGHT_X + (y - MID) * LIGHT_Y) * 0.02f;
        return ramp({GOLD_DARK, GOLD, GOLD_LIGHT}, t + bayer(int(x), int(y)) * 0.08f);
    };
    // Bow, shaft and bit, lying a little aslant.
    fill(im, cut(circle(9.5f, 12.5f, 6), circle(9.5f, 12.5f, 3)), shade);
    fill(im, segment(14, 15.5f, 28, 23, 1.9f), shade);
    fill(im, polygon({{22, 20}, {25.5f, 21.8f}, {23.8f, 25.5f}, {20.5f, 23.7f}}), shade);
    fill(im, polygon({{25.6f, 21.9f}, {28.2f, 23.3f}, {27, 26.5f}, {24.3f, 25.1f}}), shade);
    fill(im, circle(7.6f, 10.5f, 1.2f), rgb(255, 246, 200, 200));
    outline(im, INK);
    contactShadow(im, 18, 26, 12, 3, 0.5f);
    return im;
}

void doorPlanks(Image& im, float top) {
    fill(im, rect(2, top, 31, 33), [top](float x, float y) {
        int plank = static_cast<int>((x - 2) / 5.8f);
        float px = x - 2 - plank * 5.8f;
        float grain = noise(plank * 9 + x * 1.5f, (y - top) * 0.4f, 3, 64, 28) - 0.5f;
        Rgba c = scale(WOOD, 0.85f + 0.3f * grain + 0.06f * (plank % 2));
        if (px < 0.8f) {
            c = WOOD_DARK;
        } else if (px < 1.8f) {
            c = mix(c, WOOD_LIGHT, 0.45f);
        }
        return c;
    });
    for (float y : {top + 5, top + 22}) {
        fill(im, rect(2, y, 31, y + 3.5f), [y](float, float py) {
            return ramp({IRON_LIGHT, IRON, IRON_DARK}, (py - y) / 3.5f);
        });
        for (float x : {5.0f, 11.5f, 16.5f, 21.5f, 28.0f}) {
            fill(im, circle(x, y + 1.7f, 0.9f), IRON_HI);
        }
    }
    fill(im, circle(25, top + 15, 2.2f), [top](float x, float y) {
        return sphere(x, y, 25, top + 15, 2.2f, IRON_DARK, IRON_LIGHT, IRON_HI, 8, 0.6f);
    });
    fill(im, cut(circle(25, top + 17.5f, 2.4f), circle(25, top + 17.5f, 1.3f)), IRON_DARK);
}

Image door() {
    Image im = tile();
    doorPlanks(im, 0);
    // The lintel shadow at the top and the frame at the sides.
    fill(im, rect(0, 0, 2, 33), STONE_DARK);
    fill(im, rect(31, 0, 33, 33), STONE_DARK);
    fill(im, rect(2, 0, 31, 1.5f), withAlpha(INK, 160));
    return im;
}

Image doorOpening(int frame) {
    // The door slides up into the lintel and the way behind it is revealed.
    Image im = tile();
    float lift = (frame + 1) * 10.0f;
    Image planks = tile();
    doorPlanks(planks, -lift);
    for (int y = 0; y < T; ++y) {
        for (int x = 0; x < T; ++x) {
            if (y >= T - lift) {
                at(planks, x, y) = CLEAR;
            }
        }
    }
    // A glow from beyond spills out under the rising edge.
    float edge = T - lift;
    fill(im, both(rect(2, edge, 31, 33), ellipse(MID, 34, 15, lift)), [lift](float x, float y) {
        float d = std::hypot((x - MID) / 15, (y - 34) / lift);
        return rgb(140, 236, 226, static_cast<int>(110 * (1 - d)));
    });
    composite(im, planks);
    fill(im, rect(2, edge - 1.2f, 31, edge), IRON_DARK);
    fill(im, rect(0, 0, 2, 33), STONE_DARK);
    fill(im, rect(31, 0, 33, 33), STONE_DARK);
    return im;
}

// The way out: a stone arch over a swirl of light, with worn steps in front.
Image exitPortal(int frame) {
    Image im = tile();
    auto arch = unite(rect(3, 12, 30, 30), circle(MID, 12.5f, 13.5f));
    auto opening = unite(rect(7.5f, 13, 25.5f, 30), circle(MID, 13, 9));
    fill(im, cut(arch, opening), [](float x, float y) {
        // Voussoirs: stones radiating from the centre of the arch.
        float a = std::atan2(y - 12.5f, x - MID);
        int stone = y < 13 ? static_cast<int>((a + 3.1416f) / 0.45f) : static_cast<int>(y / 5) + 20;
        float edge = y < 13 ? std::fmod(a + 3.1416f, 0.45f) / 0.45f : std::fmod(y, 5.0f) / 5;
        Rgba c = scale(STONE_LIGHT, 0.8f + 0.3f * hash01(stone, 0, 30));
        if (edge < 0.12f) {
            c = MORTAR;
        }
        return scale(c, 1.1f - (x - 3) / 60);
    });
    // The light turns in a three-armed swirl; a third of a turn a frame.
    fill(im, opening, [frame](float x, float y) {
        float dx = x - MID, dy = y - 17;
        float r = std::hypot(dx, dy), a = std::atan2(dy, dx);
        float swirl = 0.5f + 0.5f * std::sin(a * 3 + r * 0.55f - frame * 2.0944f);
        float core = clamp01(1 - r / 13);
        return ramp({rgb(40, 20, 70), rgb(70, 60, 170), rgb(80, 200, 230), rgb(230, 255, 250)},
                    core * 0.75f + swirl * 0.3f + bayer(int(x), int(y)) * 0.05f);
    });
    for (int i = 0; i < 3; ++i) {
        float a = i * 2.0944f + frame * 2.0944f / 3 + 0.5f, r = 4.5f + i * 1.5f;
        fill(im, circle(MID + std::cos(a) * r, 17 + std::sin(a) * r, 0.8f),
             rgb(255, 255, 255, 230));
    }
    // Steps in front of the arch, lit by the portal.
    fill(im, rect(5, 28, 28, 30.5f),
         [](float x, float) { return mix(rgb(150, 170, 180), STONE, std::abs(x - MID) / 12); });
    fill(im, rect(3, 30.5f, 30, 33), [](float x, float) {
        return mix(rgb(120, 130, 140), STONE_DARK, std::abs(x - MID) / 14);
    });
    outline(im, INK);
    return im;
}

// ---- Levers, torches, kegs and bombs ------------------------------------------

void leverAt(Image& im, float angleDegrees) {
    // Base block on the floor, the handle pivoting at its top.
    fill(im, roundRect(8, 21, 25, 30, 1.5f),
         [](float x, float y) { return bevel(x, y, 8, 21, 25, 30, IRON_DARK, IRON, IRON_LIGHT); });
    fill(im, rect(10, 22.5f, 23, 24), IRON_DARK);
    float a = angleDegrees * 3.14159f / 180;
    float px = MID, py = 22.5f;
    float tx = px - std::sin(a) * 15, ty = py - std::cos(a) * 15;
    fill(im, segment(px, py, tx, ty, 1.5f), [](float x, float y) {
        return ramp({WOOD_HI, WOOD_LIGHT, WOOD_DARK}, 0.4f + (x - MID) * 0.05f + (y - 15) * 0.01f);
    });
    fill(im, circle(tx, ty, 3.2f), [=](float x, float y) {
        return sphere(x, y, tx, ty, 3.2f, RED_DARK, RED, RED_LIGHT, 20, 0.9f);
    });
    fill(im, circle(px, py, 2.2f), [=](float x, float y) {
        return sphere(x, y, px, py, 2.2f, IRON_DARK, IRON_LIGHT, IRON_HI, 8, 0.6f);
    });
}

Image lever(float angle) {
    Image im = tile();
    leverAt(im, angle);
    outline(im, INK);
    contactShadow(im, MID + 1, 29.5f, 10, 2.4f, 0.6f);
    return im;
}

// Flame shaped by turbulence rising through it: the pattern scrolls up one
// full noise period over the loop, so the last frame leads into the first.
float flameHeat(float x, float y, float cx, float baseY, float height, float halfWidth, float phase,
                int seed) {
    float v = (baseY - y) / height; // 0 at the base, 1 at the tip
    if (v < -0.25f || v > 1.2f) {
        return 0;
    }
    float width = halfWidth * (1 - smooth(0.1f, 1.05f, v)) * (v < 0 ? 1 + v * 3 : 1);
    float n = noise(x * 1.6f, y + phase, 4, 33, seed);
    float d = std::abs(x - cx) / std::max(width, 0.3f);
    return clamp01(1.15f - d - v * 0.55f + (n - 0.5f) * 0.9f * (0.4f + v));
}

void torchFlame(Image& im, float cx, float baseY, int frame) {
    Image f = tile();
    for (int y = 0; y < T; ++y) {
        for (int x = 0; x < T; ++x) {
            float h = flameHeat(x + 0.5f, y + 0.5f, cx, baseY, 11, 4.2f, frame * 11.0f, 18);
            if (h > 0.05f) {
                at(f, x, y) = flameColour(h);
            }
        }
    }
    composite(im, f);
}

Image torch(bool lit, int frame) {
    Image im = tile();
    // A torch leaning in an iron stand. Its head is at the top left, where
    // the board centres a burning torch's light.
    fill(im, polygon({{19, 30}, {29, 30}, {27, 26}, {21, 26}}),
         [](float x, float y) { return bevel(x, y, 19, 26, 29, 30, IRON_DARK, IRON, IRON_LIGHT); });
    fill(im, segment(24, 28, 11, 13, 1.8f), [](float x, float y) {
        return ramp({WOOD_HI, WOOD_LIGHT, WOOD_DARK}, 0.45f + ((x - 17) - (y - 20)) * 0.04f);
    });
    fill(im, segment(22.5f, 26.5f, 20, 23.5f, 2.4f), IRON);
    // Wrapped head: oiled rags, charred at the tip when it has burnt.
    fill(im, ellipse(10, 11.5f, 3.6f, 4.2f), [lit](float x, float y) {
        float wrap = 0.5f + 0.5f * std::sin((x + y) * 1.8f);
        Rgba c = mix(rgb(110, 84, 60), rgb(70, 52, 38), wrap * 0.6f);
        return mix(c, rgb(30, 22, 20), lit ? 0.55f : clamp01((14 - y) / 6));
    });
    outline(im, INK);
    if (lit) {
        torchFlame(im, 9, 11, frame);
        // A warm halo around the flame.
        Image glow = tile();
        fill(glow, circle(9, 6, 7), [](float x, float y) {
            float d = std::hypot(x - 9, y - 6) / 7;
            return rgb(255, 170, 60, int(70 * (1 - d)));
        });
        composite(glow, im);
        im = std::move(glow);
    }
    contactShadow(im, 23, 30, 8, 2.2f, 0.55f);
    return im;
}

enum class KegKind { Quick, Slow };

void keg(Image& im, KegKind kind) {
    float x0 = 7, x1 = 26, y0 = 6, y1 = 30;
    // Staves bulge in the middle, so the outline is an ellipse cut flat.
    auto body = both(ellipse(MID, 18, 11, 17), rect(x0 - 3, y0, x1 + 3, y1));
    Rgba wood = kind == KegKind::Quick ? WOOD : rgb(104, 92, 64);
    Rgba woodDark = kind == KegKind::Quick ? WOOD_DARK : rgb(58, 50, 36);
    Rgba woodLight = kind == KegKind::Quick ? WOOD_LIGHT : rgb(158, 144, 104);
    fill(im, body, [=](float x, float y) {
        float u = (x - MID) / 11;
        float stave = std::fmod(std::asin(std::clamp(u, -0.999f, 0.999f)) * 4 + 20, 1.0f);
        float t = 0.6f - u * 0.5f - std::abs(u) * 0.3f;
        Rgba c = ramp({woodDark, wood, woodLight}, t + bayer(int(x), int(y)) * 0.06f);
        if (stave < 0.08f) {
            c = scale(c, 0.7f);
        }
        return c;
    });
    // Hoops: the quick keg has dark iron, the slow one broad brass bands.
    std::vector<float> hoops = kind == KegKind::Quick ? std::vector<float>{9, 16, 24.5f}
                                                      : std::vector<float>{10.5f, 22.5f};
    float hw = kind == KegKind::Quick ? 1.8f : 3.2f;
    Rgba hd = kind == KegKind::Quick ? IRON_DARK : GOLD_DARK;
    Rgba hm = kind == KegKind::Quick ? IRON : GOLD;
    Rgba hl = kind == KegKind::Quick ? IRON_LIGHT : GOLD_LIGHT;
    for (float h : hoops) {
        fill(im, both(body, rect(0, h - hw / 2, 33, h + hw / 2)), [=](float x, float) {
            return ramp({hl, hm, hd}, (x - 6) / 22);
        });
    }
    fill(im, ellipse(MID, 6.5f, 8.5f, 2.6f), [=](float x, float y) {
        return mix(woodLight, woodDark, clamp01((x - 9) / 16 + (y - 5) / 8));
    });
    if (kind == KegKind::Quick) {
        // A black-powder mark on the staves.
        fill(im, segment(13, 17, 20, 23, 0.9f), rgb(30, 24, 20));
        fill(im, segment(20, 17, 13, 23, 0.9f), rgb(30, 24, 20));
    } else {
        // The slow keg carries an hourglass, for its long fuse.
        fill(im, polygon({{13.5f, 14.5f}, {19.5f, 14.5f}, {16.5f, 18}}), rgb(236, 226, 190));
        fill(im, polygon({{13.5f, 21.5f}, {19.5f, 21.5f}, {16.5f, 18}}), rgb(236, 226, 190));
    }
}

// The fuse runs from the lid; its burnt length is eaten from the far end.
void fuse(Image& im, const std::vector<Point>& path, float burnt, bool lit) {
    float total = 0;
    for (size_t i = 1; i < path.size(); ++i) {
        total += std::hypot(path[i].x - path[i - 1].x, path[i].y - path[i - 1].y);
    }
    float keep = total * (1 - burnt), run = 0;
    Point tip = path[0];
    for (size_t i = 1; i < path.size() && run < keep; ++i) {
        float len = std::hypot(path[i].x - path[i - 1].x, path[i].y - path[i - 1].y);
        float t = std::min(1.0f, (keep - run) / len);
        Point end = {path[i - 1].x + (path[i].x - path[i - 1].x) * t,
                     path[i - 1].y + (path[i].y - path[i - 1].y) * t};
        fill(im, segment(path[i - 1].x, path[i - 1].y, end.x, end.y, 0.8f), rgb(196, 180, 140));
        run += len;
        tip = end;
    }
    if (lit) {
        fill(im, circle(tip.x, tip.y, 2.6f), rgb(255, 150, 40, 150));
        fill(im, circle(tip.x, tip.y, 1.4f), rgb(255, 240, 170));
        for (int i = 0; i < 4; ++i) {
            float a = i * 1.57f + 0.4f + burnt * 5;
            fill(
                im,
                segment(tip.x, tip.y, tip.x + std::cos(a) * 3.2f, tip.y + std::sin(a) * 3.2f, 0.4f),
                rgb(255, 220, 120, 220));
        }
    }
}

const std::vector<Point> QUICK_FUSE = {{MID, 6}, {18, 3}, {21, 1.5f}, {24.5f, 2.5f}};
const std::vector<Point> SLOW_FUSE = {{MID, 6}, {14, 3}, {10, 2}, {7, 3.5f}, {6, 1.5f}, {9, 0.8f}};

Image kegPicture(KegKind kind, bool lit, float burnt) {
    Image im = tile();
    keg(im, kind);
    outline(im, INK);
    fuse(im, kind == KegKind::Quick ? QUICK_FUSE : SLOW_FUSE, burnt, lit);
    contactShadow(im, MID + 1, 29.5f, 12, 2.6f, 0.6f);
    return im;
}

Image bomb() {
    Image im = tile();
    fill(im, circle(MID, 19, 9.5f), [](float x, float y) {
        return sphere(x, y, MID, 19, 9.5f, rgb(14, 14, 22), rgb(44, 46, 62), rgb(110, 116, 140), 30,
                      0.9f);
    });
    fill(im, roundRect(13, 7.5f, 20, 11, 1), [](float x, float y) {
        return bevel(x, y, 13, 7.5f, 20, 11, IRON_DARK, IRON, IRON_LIGHT, 1);
    });
    outline(im, INK);
    fill(im, segment(MID, 8, 19, 4, 0.8f), rgb(196, 180, 140));
    fill(im, segment(19, 4, 23, 3.5f, 0.8f), rgb(196, 180, 140));
    contactShadow(im, MID + 1, 28.5f, 10, 2.6f, 0.6f);
    return im;
}

Image explosion(int frame) {
    Image im = tile();
    const float radius[] = {6, 11, 15, 16, 16.5f};
    const float heat[] = {1.0f, 0.95f, 0.7f, 0.35f, 0.12f};
    const float alpha[] = {1.0f, 1.0f, 0.95f, 0.7f, 0.35f};
    for (int y = 0; y < T; ++y) {
        for (int x = 0; x < T; ++x) {
            float dx = x + 0.5f - MID, dy = y + 0.5f - MID;
            float a = std::atan2(dy, dx);
            float n = noise(std::cos(a) * 6 + 16, std::sin(a) * 6 + 16 + frame * 3, 3, 32, 21);
            float r = radius[frame] * (0.8f + 0.4f * n);
            float d = std::hypot(dx, dy) / r;
            if (d >= 1) {
                continue;
            }
            float h = heat[frame] * (1.1f - d) + (noise(x, y, 3, 33, 22 + frame) - 0.5f) * 0.3f;
            Rgba fire = flameColour(clamp01(h));
            Rgba smoke = rgb(70 + int(n * 30), 62 + int(n * 24), 60 + int(n * 20), 220);
            Rgba c = h < 0.35f ? mix(smoke, fire, h / 0.35f) : fire;
            float edge = smooth(1.0f, 0.8f, d);
            at(im, x, y) = withAlpha(c, int(std::min<float>(c.a, 255) * alpha[frame] * edge));
        }
    }
    if (frame <= 2) {
        // Sparks and debris flung outwards.
        for (int i = 0; i < 8; ++i) {
            float a = i * 0.785f + 0.3f;
            float r0 = radius[frame] * 0.9f, r1 = radius[frame] * 1.15f + 2;
            fill(im,
                 segment(MID + std::cos(a) * r0, MID + std::sin(a) * r0, MID + std::cos(a) * r1,
                         MID + std::sin(a) * r1, 0.6f),
                 rgb(255, 230, 140, 230));
        }
    }
    return im;
}

// ---- Flames and fire --------------------------------------------------------

// The burner's flame is one column two tiles high: FLAME_LOW fills the burner's
// tile and FLAME_HIGH the tile above. Around the seam the flame does not
// flicker, so the two halves meet whichever frames they show.
float burnerHeat(float x, float yAll, int frame, int frames) {
    const float base = 59, height = 54;
    float v = (base - yAll) / height;
    if (v < -0.15f || v > 1.1f) {
        return 0;
    }
    // Narrow over the grate, widest where the two tiles meet, a tip above.
    float halfWidth = 7 + 4 * smooth(0, 0.45f, v) - 10 * smooth(0.5f, 1.05f, v);
    if (v < 0) {
        halfWidth *= 1 + v * 5;
    }
    float calm = smooth(4, 12, std::abs(yAll - 33)); // 0 at the seam
    float phase = frame * 33.0f / frames;
    float n = noise(x * 1.5f, yAll + phase, 4.125f, 33, 16 + frames);
    float d = std::abs(x - MID) / std::max(halfWidth, 0.5f);
    return clamp01(1.05f - d * 0.95f - v * 0.5f + (n - 0.5f) * 1.1f * calm * (0.5f + v));
}

Image burnerFlame(bool high, int frame) {
    Image im = tile();
    int frames = high ? 3 : 2;
    for (int y = 0; y < T; ++y) {
        for (int x = 0; x < T; ++x) {
            float h = burnerHeat(x + 0.5f, y + 0.5f + (high ? 0 : 33), frame, frames);
            if (h > 0.04f) {
                at(im, x, y) = flameColour(h);
            }
        }
    }
    return im;
}

Image fire(int frame) {
    Image im = tile();
    for (int y = 0; y < T; ++y) {
        for (int x = 0; x < T; ++x) {
            float fx = x + 0.5f, fy = y + 0.5f;
            // Several tongues side by side over a burning bed.
            float h = 0;
            const float tongues[][3] = {{9, 24, 5}, {17, 29, 6.5f}, {25, 22, 5}, {13, 18, 4}};
            for (const auto& t : tongues) {
                h = std::max(h, 0.88f *
                                    flameHeat(fx, fy, t[0], 31, t[1], t[2], frame * 33.0f / 5, 33));
            }
            if (h > 0.05f) {
                at(im, x, y) = flameColour(h);
            }
        }
    }
    return im;
}

// ---- Water ------------------------------------------------------------------

Rgba waterAt(float x, float y, float rim) {
    // A faint diagonal sheen, aligned with the 11-pixel cell so full water
    // tiles without a seam.
    float sheen = 0.5f + 0.5f * std::sin((x + y) * 6.2832f / 11);
    Rgba c = mix(WATER, rgb(70, 140, 226), sheen * 0.25f);
    c = withAlpha(c, 150);
    if (rim > 0) {
        c = mix(c, withAlpha(WATER_LIGHT, 190), rim);
    }
    return c;
}

Image waterShape(int shape) {
    Image im = makeImage(11, 11);
    std::function<bool(float, float)> inside;
    const float R = 5.5f;
    switch (shape) {
    case 1: // a lone drop
        inside =
            unite(circle(5.5f, 6.6f, 3.4f), polygon({{5.5f, 1.2f}, {8.4f, 5.3f}, {2.6f, 5.3f}}));
        break;
    case 2: inside = rect(0, 0, 11, 11); break;
    case 3: // a drop sitting on water below: a mound that joins it
        inside = unite(ellipse(5.5f, 11, 5.5f, 8), rect(0, 9.5f, 11, 11));
        break;
    case 4: // right end of a surface: water comes from the left
        inside = unite(rect(0, 0, 5.5f, 11), unite(rect(0, R, 11, 11), circle(5.5f, R, R)));
        break;
    case 5:
        inside = unite(rect(5.5f, 0, 11, 11), unite(rect(0, R, 11, 11), circle(5.5f, R, R)));
        break;
    case 6: // water above and to the left: the lower right is rounded off
        inside = unite(rect(0, 0, 11, 5.5f), unite(rect(0, 0, 5.5f, 11), circle(5.5f, 5.5f, R)));
        break;
    case 7:
        inside = unite(rect(0, 0, 11, 5.5f), unite(rect(5.5f, 0, 11, 11), circle(5.5f, 5.5f, R)));
        break;
    }
    // Light catches the rounded edges, where there is no water beyond.
    auto rimAt = [&](float x, float y) {
        if (shape == 2) {
            return 0.0f;
        }
        int out = 0;
        for (const auto& o : {std::array<float, 2>{-1.3f, 0}, {1.3f, 0}, {0, -1.3f}}) {
            float qx = x + o[0], qy = y + o[1];
            bool beyondEdge = qx < 0 || qx >= 11 || qy < 0 || qy >= 11;
            if (!beyondEdge && !inside(qx, qy)) {
                ++out;
            }
        }
        return out > 0 ? 0.8f : 0.0f;
    };
    fill(im, inside, [&](float x, float y) { return waterAt(x, y, rimAt(x, y)); });
    if (shape == 1) {
        fill(im, circle(4.2f, 6.2f, 0.9f), rgb(245, 252, 255, 100));
    }
    return im;
}

Image waterSource(int frame) {
    Image im = tile();
    // A spring welling up in a round stone basin.
    fill(im, ellipse(MID, 21, 14, 9), [](float x, float y) {
        return ramp({STONE_LIGHT, STONE, STONE_DARK}, 0.3f + (x - MID) * 0.02f + (y - 15) * 0.04f);
    });
    fill(im, ellipse(MID, 19.5f, 10.5f, 6), rgb(20, 40, 70));
    fill(im, ellipse(MID, 20, 10, 5.5f), [frame](float x, float y) {
        float r = std::hypot((x - MID) / 10, (y - 20) / 5.5f);
        float ring = 0.5f + 0.5f * std::cos(r * 14 - frame * 3.14159f);
        return mix(rgb(40, 104, 190), rgb(140, 200, 250), ring * 0.6f * (1 - r * 0.5f));
    });
    // Bubbles breaking the surface.
    const float bubbles[2][3][3] = {{{MID, 19, 1.8f}, {12, 21, 1.1f}, {21, 20.5f, 0.9f}},
                                    {{MID + 1, 20, 1.4f}, {19, 18.5f, 1.2f}, {11.5f, 19.5f, 0.8f}}};
    for (const auto& b : bubbles[frame]) {
        fill(im,
             cut(circle(b[0], b[1], b[2] + 0.6f), circle(b[0] + 0.3f, b[1] + 0.3f, b[2] - 0.2f)),
             rgb(220, 240, 255, 230));
    }
    // A carved spout at the back, from which the spring is fed.
    fill(im, roundRect(12, 3, 21, 16, 3), [](float x, float y) {
        return bevel(x, y, 12, 3, 21, 16, STONE_DARK, STONE, STONE_LIGHT, 1.6f);
    });
    fill(im, ellipse(MID, 12.5f, 2, 1.5f), rgb(16, 24, 40));
    fill(im, rect(15.6f, 13, 17.4f, 19.5f), rgb(110, 180, 245, 210));
    outline(im, INK);
    contactShadow(im, MID + 1, 27, 14, 3.5f, 0.5f);
    return im;
}

Image drain(bool plugged) {
    Image im = tile();
    fill(im, ellipse(MID, 18, 13, 10), [](float x, float y) {
        return ramp({STONE_DARK, STONE, STONE_LIGHT}, 0.5f + (x - MID) * 0.03f + (y - 18) * 0.05f);
    });
    fill(im, ellipse(MID, 17.5f, 9.5f, 7), rgb(8, 8, 12));
    if (plugged) {
        fill(im, ellipse(MID, 17.5f, 9, 6.5f), [](float x, float y) {
            return ramp({WOOD_LIGHT, WOOD, WOOD_DARK}, 0.3f + (x - MID) * 0.03f + (y - 17) * 0.05f);
        });
        fill(im, cut(ellipse(MID, 17.5f, 4, 2.8f), ellipse(MID, 17.5f, 2.6f, 1.6f)), IRON_LIGHT);
    } else {
        for (int i = -2; i <= 2; ++i) {
            fill(im,
                 both(ellipse(MID, 17.5f, 9.5f, 7),
                      rect(MID + i * 3.6f - 0.8f, 0, MID + i * 3.6f + 0.8f, 33)),
                 [](float, float y) {
                     return ramp({IRON_LIGHT, IRON, IRON_DARK}, (y - 11) / 13);
                 });
        }
    }
    outline(im, INK);
    return im;
}

Image plug() {
    Image im = tile();
    // A thick round wooden stopper, lying flat, with an iron ring to lift it by.
    auto side = unite(rect(6, 17, 27, 24), ellipse(MID, 24, 10.5f, 4));
    fill(im, side, [](float x, float) {
        return ramp({WOOD_LIGHT, WOOD, WOOD_DARK}, (x - 6) / 22 + 0.1f);
    });
    fill(im, ellipse(MID, 17, 10.5f, 4), [](float x, float y) {
        float r = std::hypot((x - MID) / 10.5f, (y - 17) / 4);
        Rgba c = mix(WOOD_HI, WOOD_LIGHT, 0.5f + 0.5f * std::sin(r * 12));
        return scale(c, 1.05f - (x - 6) / 80);
    });
    fill(im, cut(ellipse(MID, 16.5f, 5, 2.2f), ellipse(MID, 16.5f, 3.4f, 1.2f)),
         [](float x, float y) {
             return ramp({IRON_HI, IRON_LIGHT, IRON_DARK}, (x - 12) / 10 + (y - 15) / 6);
         });
    fill(im, rect(15.2f, 17.5f, 17.8f, 19.5f), IRON_DARK);
    outline(im, INK);
    contactShadow(im, MID + 1, 27, 11, 2.5f, 0.6f);
    return im;
}

// A baffle: a heavy oak beam across the middle third, bound with iron, and an
// iron-bound block in the upper corner ninth on its closed side.
Image baffle(bool left) {
    Image im = tile();
    auto oak = [](float x0, float y0, float x1, float y1) {
        return [=](float x, float y) {
            float grain = noise(x * 0.4f, y * 2.5f, 3, 64, 42) - 0.5f;
            Rgba c = scale(WOOD, 0.95f + 0.3f * grain);
            return bevel(x, y, x0, y0, x1, y1, mix(c, WOOD_DARK, 0.7f), c, mix(c, WOOD_HI, 0.6f),
                         1.4f);
        };
    };
    fill(im, rect(0, 11, 33, 22), oak(0, 11, 33, 22));
    float cx = left ? 0 : 22;
    fill(im, rect(cx, 0, cx + 11, 11), oak(cx, 0, cx + 11, 11));
    // Iron straps, and rivets through them.
    for (float x : {3.0f, 27.0f}) {
        fill(im, rect(x, 11, x + 3, 22), [x](float px, float) {
            return ramp({IRON_LIGHT, IRON, IRON_DARK}, (px - x) / 3);
        });
        fill(im, circle(x + 1.5f, 14, 0.8f), IRON_HI);
        fill(im, circle(x + 1.5f, 19, 0.8f), IRON_HI);
    }
    fill(im, rect(cx, 4, cx + 11, 6.5f), [](float, float y) {
        return ramp({IRON_LIGHT, IRON, IRON_DARK}, (y - 4) / 2.5f);
    });
    outline(im, INK);
    contactShadow(im, MID, 23, 17, 2.2f, 0.5f);
    return im;
}

// The housing of a pipe: a raised block of nine dressed stones, one for
// each third of the tile the water knows, with the pipe set into it.
Rgba housing(int x, int y) {
    int sx = std::min(x / 11, 2), sy = std::min(y / 11, 2);
    int px = x - sx * 11, py = y - sy * 11;
    Rgba c = scale(rgb(86, 82, 80),
                   0.85f + 0.25f * hash01(sx, sy, 45) + 0.2f * (noise(x, y, 4, 32, 44) - 0.5f));
    if (px == 0 || py == 0) {
        c = mix(c, rgb(150, 146, 138), 0.6f);
    } else if (px == 10 || py == 10) {
        c = mix(c, rgb(40, 38, 40), 0.6f);
    }
    // The whole block stands proud of the floor.
    if (x < 2 || y < 2) {
        c = mix(c, rgb(170, 166, 156), 0.5f);
    } else if (x > 30 || y > 30) {
        c = mix(c, INK, 0.6f);
    }
    return c;
}

Image pipe(int kind) {
    Image im = tile();
    for (int y = 0; y < T; ++y) {
        for (int x = 0; x < T; ++x) {
            at(im, x, y) = housing(x, y);
        }
    }
    bool horizontal = kind != 1, up = kind == 2, vertical = kind == 1;
    auto copper = [](float t) {
        return ramp({rgb(232, 160, 110), rgb(180, 96, 52), rgb(96, 44, 24)}, t);
    };
    // Copper walls and a dark bore, cut away so the water is seen inside.
    if (horizontal) {
        fill(im, rect(0, 9, 33, 24), [&](float, float y) { return copper((y - 9) / 15); });
    }
    if (vertical || up) {
        fill(im, rect(9, 0, 24, vertical ? 33 : 22),
             [&](float x, float) { return copper((x - 9) / 15); });
    }
    if (horizontal) {
        fill(im, rect(0, 11.5f, 33, 21.5f),
             [](float, float y) { return mix(rgb(14, 14, 20), rgb(34, 30, 34), (y - 11) / 10); });
    }
    if (vertical || up) {
        fill(im, rect(11.5f, 0, 21.5f, vertical ? 33 : 21.5f),
             [](float x, float) { return mix(rgb(14, 14, 20), rgb(34, 30, 34), (x - 11) / 10); });
    }
    // Flanges at the ends of each opening.
    auto flange = [&](float x0, float y0, float x1, float y1) {
        fill(im, rect(x0, y0, x1, y1), [=](float x, float y) {
            return bevel(x, y, x0, y0, x1, y1, rgb(96, 44, 24), rgb(180, 96, 52),
                         rgb(240, 180, 130), 1);
        });
    };
    if (horizontal) {
        flange(0, 8, 2.5f, 25);
        flange(30.5f, 8, 33, 25);
    }
    if (vertical || up) {
        flange(8, 0, 25, 2.5f);
    }
    if (vertical) {
        flange(8, 30.5f, 25, 33);
    }
    return im;
}

Image floatRaft() {
    Image im = tile();
    // Four logs lashed side by side, seen from the front and a little above:
    // the deck runs back into the picture, the cut ends face us. Whatever
    // the float lifts rests in the tile above, so the raft keeps low.
    for (int i = 0; i < 4; ++i) {
        float cx = 7 + i * 6.4f;
        fill(im, rect(cx - 3.2f, 14, cx + 3.2f, 23), [cx](float x, float y) {
            float u = (x - cx) / 3.2f;
            float grain = noise(x * 2, y * 0.4f, 2, 32, 47 + static_cast<int>(cx)) - 0.5f;
            return ramp({WOOD_HI, WOOD_LIGHT, WOOD, WOOD_DARK},
                        0.25f + u * 0.45f + grain * 0.25f + (y - 14) * 0.02f);
        });
        fill(im, ellipse(cx, 14, 3.2f, 1.1f), WOOD_DARK);
        fill(im, circle(cx, 23.5f, 3.4f), [cx](float x, float y) {
            float r = std::hypot(x - cx, y - 23.5f);
            Rgba c = mix(rgb(222, 182, 124), rgb(164, 116, 66), 0.5f + 0.5f * std::sin(r * 2.6f));
            return r > 2.7f ? WOOD_DARK : scale(c, 1.05f - (x - cx + y - 23.5f) * 0.03f);
        });
    }
    // Rope lashings across the deck.
    for (float y : {16.0f, 19.5f}) {
        fill(im, rect(3.5f, y, 29.5f, y + 1.6f), [](float x, float) {
            return mix(rgb(214, 196, 146), rgb(146, 124, 84), 0.5f + 0.5f * std::sin(x * 1.6f));
        });
    }
    outline(im, INK);
    contactShadow(im, MID + 1, 27.5f, 14, 2.4f, 0.55f);
    return im;
}

Image floatBurning(int frame) {
    Image im = floatRaft();
    if (frame == 1) {
        // Charred, nearly gone.
        for (Rgba& p : im.pixels) {
            p = withAlpha(mix(p, rgb(30, 20, 18), 0.75f), p.a * 3 / 4);
        }
    } else {
        for (Rgba& p : im.pixels) {
            p = withAlpha(mix(p, rgb(50, 26, 18), 0.35f), p.a);
        }
    }
    Image f = tile();
    const float tongues[][3] = {{8, 15, 6.5f}, {16.5f, 20, 8}, {25, 14, 6.5f}};
    for (int y = 0; y < T; ++y) {
        for (int x = 0; x < T; ++x) {
            float h = 0;
            for (const auto& t : tongues) {
                h = std::max(h,
                             0.9f * flameHeat(x + 0.5f, y + 0.5f, t[0], 26,
                                              t[1] * (frame ? 0.55f : 1), t[2], frame * 7.0f, 48));
            }
            if (h > 0.05f) {
                at(f, x, y) = flameColour(h * (frame ? 0.8f : 1));
            }
        }
    }
    composite(im, f);
    return im;
}

Image blastBlock() {
    Image im = tile();
    fill(im, rect(1, 1, 32, 32), [](float x, float y) {
        Rgba c = bevel(x, y, 1, 1, 32, 32, STONE_DARK, rgb(86, 80, 86), STONE_LIGHT, 2.2f);
        float n = noise(x, y, 5.5f, 33, 58) - 0.5f;
        return scale(c, 1 + 0.25f * n + bayer(int(x), int(y)) * 0.05f);
    });
    // A red painted warning and the cracks of a block meant to be blown up.
    fill(im, segment(8, 8, 25, 25, 2.0f), rgb(176, 36, 30, 230));
    fill(im, segment(25, 8, 8, 25, 2.0f), rgb(176, 36, 30, 230));
    const float cracks[][4] = {
        {2, 12, 7, 14}, {7, 14, 9, 19}, {31, 22, 26, 24}, {26, 24, 24, 29}, {18, 2, 20, 6}};
    for (const auto& c : cracks) {
        fill(im, segment(c[0], c[1], c[2], c[3], 0.55f), rgb(20, 16, 20));
    }
    outline(im, INK);
    return im;
}

Image breakableWall() {
    Image im = tile();
    // Courses of brick, three to a tile, offset every other course.
    for (int y = 0; y < T; ++y) {
        for (int x = 0; x < T; ++x) {
            int course = y / 11;
            int shift = (course % 2) ? 8 : 0;
            int bx = (x + shift) % 16, by = y % 11;
            int brick = (x + shift) / 16 + course * 3;
            Rgba c;
            if (by == 10 || bx == 15) {
                c = rgb(34, 22, 20);
            } else {
                float n = noise(x, y, 3, 33, 22) - 0.5f;
                c = scale(BRICK, 0.85f + 0.3f * hash01(brick, 0, 23) + 0.25f * n);
                if (by == 0 || bx == 0) {
                    c = mix(c, BRICK_LIGHT, 0.6f);
                } else if (by == 9 || bx == 14) {
                    c = mix(c, BRICK_DARK, 0.6f);
                }
            }
            at(im, x, y) = c;
        }
    }
    // A crack running through the courses: the wall will not stand a blast.
    const Point crack[] = {{20, 0},  {18, 5},  {21, 9},  {17, 14},
                           {19, 19}, {14, 24}, {16, 29}, {13, 33}};
    for (size_t i = 1; i < std::size(crack); ++i) {
        fill(im, segment(crack[i - 1].x, crack[i - 1].y, crack[i].x, crack[i].y, 0.8f),
             rgb(18, 10, 10));
        fill(im, segment(crack[i - 1].x + 1, crack[i - 1].y, crack[i].x + 1, crack[i].y, 0.4f),
             rgb(190, 130, 100, 160));
    }
    fill(im, segment(18, 19, 24, 22, 0.6f), rgb(18, 10, 10));
    fill(im, segment(21, 9, 26, 7, 0.6f), rgb(18, 10, 10));
    return im;
}

// ---- The table of all pictures --------------------------------------------------

struct Frame {
    Image image;
    int flags;
};

// Codes that stand for solid rock are void: the board shows a hole with
// shaded edges for them, and their own transparent picture adds nothing.
// Besides the solid block, the unnamed solid codes 38 and 61 (walls to
// water), the unnamed codes that nothing can ever move (36, 37, 56, weight
// 200) are void as well, so a level that uses them shows a wall where the
// player finds one. The light unnamed codes (23, 24, 52, 57) are invisible
// but not void: they leave the floor under them drawn.
bool isVoidCode(int code) {
    return code == SOLID_BLOCK || code == 36 || code == 37 || code == 38 || code == 56 ||
           code == 61;
}

Image pictureOf(int code, int f) {
    switch (code) {
    case PLAIN_FLOOR: return f == 0 ? plainFloor() : shadeMask(f);
    case BOXED_BALL: return boxedBall(f == 1 ? 1.0f : (f == 0 ? 0.45f : 0.0f), 10.5f);
    case BOX: return box();
    case BALL: return ball(f);
    case PLAYER_LEFT: return player(true, f, false);
    case EFFORT_MARK: return effortMark();
    case LOCK: return lock();
    case KEY: return key();
    case WATER_SOURCE: return waterSource(f);
    case RUBBLE_FLOOR: return rubbleFloor();
    case DRAIN: return drain(false);
    case LEVER: return lever(0);
    case LEVER_THROWN: return lever(f == 0 ? 26.0f : (f == 1 ? 50.0f : 70.0f));
    case BURNER: return burner();
    case FLAME_HIGH: return burnerFlame(true, f);
    case TORCH: return torch(false, 0);
    case TORCH_LIT: return torch(true, f);
    case KEG: return kegPicture(KegKind::Quick, false, 0);
    case KEG_LIT: return kegPicture(KegKind::Quick, true, 0.15f + f * 0.35f);
    case EXPLOSION: return explosion(f);
    case BREAKABLE_WALL: return breakableWall();
    case WATER_SHAPES: return waterShape(f + 1);
    case LOCK_OPENING: return lockOpening(f);
    case FLAME_LOW: return burnerFlame(false, f);
    case DOOR: return door();
    case DOOR_OPENING: return doorOpening(f);
    case EXIT: return exitPortal(f);
    case BALL_INTO_BOX: return ballIntoBox(f);
    case PLAYER_RIGHT: return player(false, f, false);
    case FIRE: return fire(f);
    case PLAYER_HURT_LEFT: return player(true, 0, true);
    case PLAYER_HURT_RIGHT: return player(false, 0, true);
    case PLUG: return plug();
    case PLUGGED_DRAIN: return drain(true);
    case BAFFLE_LEFT: return baffle(true);
    case BAFFLE_RIGHT: return baffle(false);
    case PIPE_HORIZONTAL: return pipe(0);
    case PIPE_VERTICAL: return pipe(1);
    case PIPE_TEE: return pipe(2);
    case FLOAT: return floatRaft();
    case FLOAT_BURNING: return floatBurning(f);
    case BOMB: return bomb();
    case LAVA: return lava(f);
    case BARRIER: return barrier();
    case PLATE: return plate();
    case SLOW_KEG: return kegPicture(KegKind::Slow, false, 0);
    case SLOW_KEG_LIT: return kegPicture(KegKind::Slow, true, 0.1f + f * 0.16f);
    case BLAST_BLOCK: return blastBlock();
    case BLAST_FLOOR: return blastFloor();
    case BARRIER_SLOT: return barrierSlot(f);
    case SLICK_FLOOR: return slickFloor();
    default: return tile(); // empty, void and invisible codes, and the spout
    }
}

std::array<std::vector<Frame>, ELEMENT_COUNT> drawAll() {
    std::array<std::vector<Frame>, ELEMENT_COUNT> all;
    for (int code = 0; code < ELEMENT_COUNT; ++code) {
        for (int f = 0; f < elementInfo[code].frames; ++f) {
            all[code].push_back({pictureOf(code, f), isVoidCode(code) ? 0 : 1});
        }
    }
    return all;
}

// ---- Contact sheet ------------------------------------------------------------

void blitScaled(Image& sheet, const Image& picture, int x, int y, int zoom) {
    for (int py = 0; py < picture.height * zoom; ++py) {
        for (int px = 0; px < picture.width * zoom; ++px) {
            blendPixel(sheet, x + px, y + py, get(picture, px / zoom, py / zoom));
        }
    }
}

// Blends a tile the way the board does, onto an opaque picture.
void boardBlend(Image& board, const Image& picture, int x, int y) {
    for (int py = 0; py < picture.height; ++py) {
        for (int px = 0; px < picture.width; ++px) {
            Rgba s = get(picture, px, py);
            if (x + px >= board.width || y + py >= board.height || s.a == 0) {
                continue;
            }
            Rgba& d = at(board, x + px, y + py);
            auto ch = [&](int dc, int sc) { return (dc * (255 - s.a) + sc * s.a) >> 8; };
            d = s.a == 255 ? rgb(s.r, s.g, s.b) : rgb(ch(d.r, s.r), ch(d.g, s.g), ch(d.b, s.b));
        }
    }
}

void shadeTile(Image& board, const Image& floor, const Image& mask, int x, int y) {
    for (int py = 0; py < T; ++py) {
        for (int px = 0; px < T; ++px) {
            Rgba s = get(floor, px, py);
            int m = get(mask, px, py).b;
            Rgba& d = at(board, x + px, y + py);
            d = m == 255 ? rgb(s.r, s.g, s.b) : rgb(s.r * m >> 8, s.g * m >> 8, s.b * m >> 8);
        }
    }
}

// A small board drawn with the same rules the game uses: holes for void
// objects, shading along them, objects, top layer.
struct MockCell {
    int floor, object, top, frame;
};

Image mockBoard(const std::array<std::vector<Frame>, ELEMENT_COUNT>& all,
                const std::vector<std::string>& rows, const std::function<MockCell(char)>& legend) {
    int h = static_cast<int>(rows.size()), w = static_cast<int>(rows[0].size());
    Image board = makeImage(w * T, h * T, rgb(22, 20, 28));
    auto cell = [&](int x, int y) { return legend(rows[y][x]); };
    auto casts = [&](int x, int y) {
        MockCell c = cell(x, y);
        return all[c.object][0].flags == 0 || c.top == BREAKABLE_WALL;
    };
    for (int layer = 0; layer < 3; ++layer) {
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h; ++y) {
                MockCell c = cell(x, y);
                int code = layer == 0 ? c.floor : (layer == 1 ? c.object : c.top);
                if (code == 0) {
                    continue;
                }
                const std::vector<Frame>& frames = all[code];
                // Floors other than the animated ones show their first frame:
                // the plain floor's later frames are its shading masks.
                size_t f = (layer == 0 && code == PLAIN_FLOOR) ? 0 : c.frame;
                const Image& pic = frames[std::min(f, frames.size() - 1)].image;
                if (layer == 0) {
                    if (all[c.object][0].flags == 0) {
                        continue;
                    }
                    int shade = 0;
                    if (y > 0 && casts(x, y - 1)) {
                        shade = (x > 0 && casts(x - 1, y)) ? 3 : 1;
                    } else if (x > 0 && casts(x - 1, y)) {
                        shade = 2;
                    } else if (x > 0 && y > 0 && casts(x - 1, y - 1)) {
                        shade = 4;
                    }
                    if (shade == 0 || code == RUBBLE_FLOOR) {
                        boardBlend(board, pic, x * T, y * T);
                    } else {
                        shadeTile(board, pic, all[PLAIN_FLOOR][shade].image, x * T, y * T);
                    }
                } else {
                    boardBlend(board, pic, x * T, y * T);
                }
            }
        }
    }
    return board;
}

void writeSheet(const std::array<std::vector<Frame>, ELEMENT_COUNT>& all,
                const std::string& prefix) {
    // Eight codes a sheet, every frame four times its size on the floor it
    // would lie on; void codes are tinted so that they stand out.
    const int zoom = 4, step = T * zoom + 4;
    for (int group = 0; group * 8 < ELEMENT_COUNT; ++group) {
        Image sheet = makeImage(8 * step + 4, 8 * step + 4, rgb(40, 40, 46));
        for (int code = group * 8; code < std::min(ELEMENT_COUNT, group * 8 + 8); ++code) {
            for (size_t f = 0; f < all[code].size(); ++f) {
                const Image& pic = all[code][f].image;
                Image back = makeImage(T, T, rgb(24, 22, 30));
                bool floorCode = code == PLAIN_FLOOR || code == RUBBLE_FLOOR || code == BURNER ||
                                 code == LAVA || code == PLATE || code == BLAST_FLOOR ||
                                 code == BARRIER_SLOT || code == SLICK_FLOOR;
                if (pic.width == T && !floorCode) {
                    back = all[PLAIN_FLOOR][0].image;
                }
                boardBlend(back, pic, 0, 0);
                if (all[code][f].flags == 0) {
                    fill(back, rect(0, 0, 33, 33), rgb(200, 0, 200, 80));
                }
                blitScaled(sheet, back, 4 + static_cast<int>(f) * step, 4 + (code % 8) * step,
                           zoom);
            }
        }
        savePng(prefix + "-" + std::to_string(group) + ".png", sheet, false);
    }
    // Mock boards.
    auto legend = [](char ch) -> MockCell {
        switch (ch) {
        case '#': return {PLAIN_FLOOR, SOLID_BLOCK, 0, 0};
        case '.': return {PLAIN_FLOOR, 0, 0, 0};
        case 'P': return {PLAIN_FLOOR, PLAYER_RIGHT, 0, 0};
        case 'p': return {PLAIN_FLOOR, PLAYER_LEFT, 0, 1};
        case 'o': return {PLAIN_FLOOR, BALL, 0, 2};
        case 'B': return {PLAIN_FLOOR, BOX, 0, 0};
        case 'b': return {PLAIN_FLOOR, BOXED_BALL, 0, 2};
        case 'k': return {PLAIN_FLOOR, KEY, 0, 0};
        case 'L': return {PLAIN_FLOOR, LOCK, 0, 0};
        case 'D': return {PLAIN_FLOOR, DOOR, 0, 0};
        case 'E': return {PLAIN_FLOOR, 0, EXIT, 2};
        case 'W': return {PLAIN_FLOOR, SOLID_BLOCK, BREAKABLE_WALL, 0};
        case 'g': return {PLAIN_FLOOR, KEG, 0, 0};
        case 's': return {PLAIN_FLOOR, SLOW_KEG, 0, 0};
        case 'm': return {PLAIN_FLOOR, BOMB, 0, 0};
        case 't': return {PLAIN_FLOOR, TORCH_LIT, 0, 1};
        case 'T': return {PLAIN_FLOOR, TORCH, 0, 0};
        case 'v': return {PLAIN_FLOOR, LEVER, 0, 0};
        case 'H': return {PLAIN_FLOOR, 0, FLAME_HIGH, 0};
        case 'U': return {BURNER, 0, FLAME_LOW, 0};
        case 'u': return {BURNER, 0, 0, 0};
        case 'F': return {PLAIN_FLOOR, 0, FIRE, 2};
        case '~': return {LAVA, 0, 0, 3};
        case '_': return {PLATE, 0, 0, 0};
        case '|': return {PLAIN_FLOOR, BARRIER, 0, 0};
        case '=': return {BARRIER_SLOT, 0, 0, 3};
        case 'i': return {SLICK_FLOOR, 0, 0, 0};
        case 'X': return {PLAIN_FLOOR, BLAST_BLOCK, 0, 0};
        case 'r': return {RUBBLE_FLOOR, 0, 0, 0};
        case 'x': return {BLAST_FLOOR, 0, 0, 0};
        case 'f': return {PLAIN_FLOOR, FLOAT, 0, 0};
        case 'w': return {PLAIN_FLOOR, WATER_SOURCE, 0, 0};
        case 'd': return {PLAIN_FLOOR, DRAIN, 0, 0};
        case 'q': return {PLAIN_FLOOR, PLUG, 0, 0};
        case 'Q': return {PLAIN_FLOOR, PLUGGED_DRAIN, 0, 0};
        case '-': return {PLAIN_FLOOR, PIPE_HORIZONTAL, 0, 0};
        case '!': return {PLAIN_FLOOR, PIPE_VERTICAL, 0, 0};
        case '^': return {PLAIN_FLOOR, PIPE_TEE, 0, 0};
        case '<': return {PLAIN_FLOOR, BAFFLE_LEFT, 0, 0};
        case '>': return {PLAIN_FLOOR, BAFFLE_RIGHT, 0, 0};
        case '*': return {PLAIN_FLOOR, EXPLOSION, 0, 1};
        case 'h': return {PLAIN_FLOOR, PLAYER_HURT_RIGHT, 0, 0};
        default: return {0, 0, 0, 0};
        }
    };
    Image a = mockBoard(all,
                        {"##########", "#P.o.B.b.#", "#..k.L.W.#", "#.#.gs.mr#", "#tT.v.H.x#",
                         "#~~..#U.E#", "##########"},
                        legend);
    Image b = mockBoard(all,
                        {"##########", "#iii_|=.D#", "#.F.h.X..#", "#f.w.dqQ.#", "#-!^<>*p.#",
                         "#........#", "##########"},
                        legend);
    // Water over the bottom of the second board, shaped the way the fine grid
    // shapes it: a pool with a ragged surface and a few falling drops.
    const std::vector<std::string> water = {
        "..............................", "......w.......................",
        "..............................", ".........w....................",
        "..............w...............", "..............w.....wwww......",
        "...wwwwwww....w....wwwwww.....", "..wwwwwwwwwwwwwwwwwwwwwwwwww..",
        "..wwwwwwwwwwwwwwwwwwwwwwwwww.."};
    auto full = [&](int r, int c) {
        return r >= 0 && c >= 0 && r < static_cast<int>(water.size()) &&
               c < static_cast<int>(water[0].size()) && water[r][c] == 'w';
    };
    for (int r = 0; r < static_cast<int>(water.size()); ++r) {
        for (int c = 0; c < static_cast<int>(water[0].size()); ++c) {
            if (!full(r, c)) {
                continue;
            }
            bool l = full(r, c - 1), rt = full(r, c + 1), up = full(r - 1, c), dn = full(r + 1, c);
            int shape = 2;
            if (!up) {
                shape = (!l && !rt) ? (dn ? 3 : 1) : (l && !rt) ? 4 : (!l && rt) ? 5 : 2;
            } else if (l && !rt && !dn) {
                shape = 6;
            } else if (!l && rt && !dn) {
                shape = 7;
            }
            boardBlend(b, all[WATER_SHAPES][shape - 1].image, c * 11, 3 * T + r * 11);
        }
    }
    for (const auto& [name, board] : {std::pair<std::string, const Image&>{"a", a}, {"b", b}}) {
        Image big = makeImage(board.width * 3, board.height * 3);
        blitScaled(big, board, 0, 0, 3);
        savePng(prefix + "-board-" + name + ".png", big, false);
    }
}

} // namespace

int main(int argc, char** argv) {
    std::string dir = "assets/sprites", sheet;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--sheet" && i + 1 < argc) {
            sheet = argv[++i];
        } else {
            dir = arg;
        }
    }
    auto all = drawAll();
    std::string index = "# code frame flags file: the element pictures in the order GHold.dat "
                        "stores them.\n# Made by assets/gen/sprites.cpp; flags 0 marks a void "
                        "code (drawn as a hole in the board).\n";
    int total = 0;
    for (int code = 0; code < ELEMENT_COUNT; ++code) {
        for (size_t f = 0; f < all[code].size(); ++f) {
            char name[32];
            std::snprintf(name, sizeof name, "%02d-%zu.png", code, f);
            std::string error = savePng(dir + "/" + name, all[code][f].image, true);
            if (!error.empty()) {
                std::fprintf(stderr, "gen_sprites: %s: %s\n", name, error.c_str());
                return 1;
            }
            index += std::to_string(code) + " " + std::to_string(f) + " " +
                     std::to_string(all[code][f].flags) + " " + name + "\n";
            ++total;
        }
    }
    if (total != FRAME_TOTAL) {
        std::fprintf(stderr, "gen_sprites: %d frames, expected %d\n", total, FRAME_TOTAL);
        return 1;
    }
    const std::string reason = replaceFile(dir + "/index.txt", index.data(), index.size());
    if (!reason.empty()) {
        std::fprintf(stderr, "gen_sprites: %s/index.txt: %s\n", dir.c_str(), reason.c_str());
        return 1;
    }
    if (!sheet.empty()) {
        writeSheet(all, sheet);
    }
    return 0;
}

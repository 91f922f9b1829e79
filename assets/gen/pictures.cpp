// Draws the three full-window pictures of the " Continue " window: the title,
// how to play, and the end. Scenes are built from the committed element
// pictures, text is set in the toolkit's own built-in fonts, and the result
// is dithered down to the 5-6-5 colours the game shows.
//
// The window copies its picture over its whole client area after drawing its
// button, so the button the player sees is the one in the picture: each
// picture carries it, drawn by the toolkit itself in its normal state, pixel
// for pixel where the real one sits.
//
//   gen_pictures [ASSETS_DIR]
//
// reads ASSETS_DIR/sprites/*.png (default: assets) and writes
// ASSETS_DIR/pictures/picture0.png to picture2.png.
#include "art.h"
#include "game/elements.h"
#include "game/flow.h"
#include "game/render.h"
#include "toolkit/buttons.h"
#include "toolkit/desktop.h"
#include "toolkit/font.h"
#include "toolkit/surface.h"
#include "toolkit/window.h"
#include "tools/assets.h"
#include <cstdio>
#include <map>
#include <memory>

using namespace art;

namespace {

constexpr int WIDTH = 256, HEIGHT = 288;
constexpr int T = 33;
// Only the quiet background is drawn below row 250, and the window's
// " Continue " button itself is painted into every picture there.

std::string assetsDir = "assets";

// ---- Element pictures ---------------------------------------------------------

std::map<std::pair<int, int>, Image> spriteCache;

const Image& sprite(int code, int frame) {
    auto key = std::make_pair(code, frame);
    auto found = spriteCache.find(key);
    if (found != spriteCache.end()) {
        return found->second;
    }
    char name[64];
    std::snprintf(name, sizeof name, "/sprites/%02d-%d.png", code, frame);
    PngImage png;
    Image image = makeImage(T, T);
    if (readPng(assetsDir + name, png).empty() && png.channels == 4) {
        image = makeImage(png.width, png.height);
        for (size_t i = 0; i < image.pixels.size(); ++i) {
            const uint8_t* p = &png.pixels[i * 4];
            image.pixels[i] = {p[0], p[1], p[2], p[3]};
        }
    } else {
        std::fprintf(stderr, "gen_pictures: cannot read %s%s\n", assetsDir.c_str(), name);
    }
    return spriteCache.emplace(key, std::move(image)).first->second;
}

// Blended the way the board blends its pictures.
void put(Image& picture, int code, int frame, int x, int y) {
    composite(picture, sprite(code, frame), x, y);
}

// The board's warm light: added brightness falling off over 49 pixels, blue
// getting half.
void addLight(Image& picture, float cx, float cy, float intensity, Rgba tint = rgb(255, 255, 128)) {
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            if (d >= 49) {
                continue;
            }
            float l = (1 - d / 49) * intensity;
            Rgba& p = at(picture, x, y);
            p = rgb(p.r + static_cast<int>(l * tint.r / 255),
                    p.g + static_cast<int>(l * tint.g / 255),
                    p.b + static_cast<int>(l * tint.b / 255), p.a);
        }
    }
}

// A little board: '#' rock, '.' floor, letters for the objects on it. Rock
// is a hole in the board, and floors beside it are shaded as in the game.
struct SceneCode {
    char symbol;
    int floor, object, top, frame;
};
const SceneCode SCENE_CODES[] = {
    {'.', PLAIN_FLOOR, 0, 0, 0},
    {'P', PLAIN_FLOOR, PLAYER_RIGHT, 0, 0},
    {'p', PLAIN_FLOOR, PLAYER_LEFT, 0, 1},
    {'o', PLAIN_FLOOR, BALL, 0, 0},
    {'B', PLAIN_FLOOR, BOX, 0, 0},
    {'b', PLAIN_FLOOR, BOXED_BALL, 0, 1},
    {'D', PLAIN_FLOOR, DOOR, 0, 0},
    {'E', PLAIN_FLOOR, 0, EXIT, 1},
    {'t', PLAIN_FLOOR, TORCH_LIT, 0, 1},
    {'k', PLAIN_FLOOR, KEY, 0, 0},
    {'L', PLAIN_FLOOR, LOCK, 0, 0},
    {'W', PLAIN_FLOOR, SOLID_BLOCK, BREAKABLE_WALL, 0},
    {'g', PLAIN_FLOOR, KEG, 0, 0},
    {'~', LAVA, 0, 0, 2},
    {'F', PLAIN_FLOOR, 0, FIRE, 3},
    {'m', PLAIN_FLOOR, BOMB, 0, 0},
    {'_', PLATE, 0, 0, 0},
    {'|', PLAIN_FLOOR, BARRIER, 0, 0},
    {'i', SLICK_FLOOR, 0, 0, 0},
    {'#', PLAIN_FLOOR, SOLID_BLOCK, 0, 0},
};

SceneCode sceneCode(char symbol) {
    for (const SceneCode& c : SCENE_CODES) {
        if (c.symbol == symbol) {
            return c;
        }
    }
    return {' ', 0, 0, 0, 0};
}

void drawScene(Image& picture, const std::vector<std::string>& rows, int ox, int oy) {
    int h = static_cast<int>(rows.size()), w = static_cast<int>(rows[0].size());
    auto rock = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h) {
            return false;
        }
        SceneCode c = sceneCode(rows[y][x]);
        return c.object == SOLID_BLOCK || c.symbol == ' ';
    };
    for (int layer = 0; layer < 3; ++layer) {
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h; ++y) {
                SceneCode c = sceneCode(rows[y][x]);
                int px = ox + x * T, py = oy + y * T;
                if (layer == 0) {
                    if (rock(x, y)) {
                        continue;
                    }
                    // Rock (with or without a breakable wall over it) shades
                    // the floor beside it, as on the board.
                    const int shade = wallShade(rock(x, y - 1), rock(x - 1, y), rock(x - 1, y - 1));
                    const Image& floor = sprite(c.floor, c.floor == PLAIN_FLOOR ? 0 : c.frame);
                    const Image& mask = sprite(PLAIN_FLOOR, shade);
                    for (int j = 0; j < T; ++j) {
                        for (int i = 0; i < T; ++i) {
                            Rgba f = get(floor, i, j);
                            int m = shade != SHADE_NONE ? get(mask, i, j).b : 255;
                            if (px + i >= 0 && py + j >= 0 && px + i < picture.width &&
                                py + j < picture.height) {
                                at(picture, px + i, py + j) =
                                    rgb(f.r * m / 256, f.g * m / 256, f.b * m / 256);
                            }
                        }
                    }
                } else {
                    int code = layer == 1 ? c.object : c.top;
                    if (code != 0 && code != SOLID_BLOCK) {
                        put(picture, code, c.frame, px, py);
                    }
                }
            }
        }
    }
    // Lights of the burning things, as the board adds them.
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) {
            SceneCode c = sceneCode(rows[y][x]);
            if (c.object == TORCH_LIT) {
                addLight(picture, ox + x * T + 8, oy + y * T + 8, 40);
            } else if (c.top == FIRE || c.floor == LAVA) {
                addLight(picture, ox + x * T + 16, oy + y * T + 16, 28);
            } else if (c.top == EXIT) {
                addLight(picture, ox + x * T + 16, oy + y * T + 16, 30, rgb(120, 255, 240));
            }
        }
    }
}

// ---- Text ---------------------------------------------------------------------

// Coverage of a text set in one of the built-in fonts, 0 or 1 a pixel.
struct TextMask {
    int width = 0, height = 0;
    std::vector<float> cover;
};

TextMask textMask(const char* text, int fontIndex) {
    const Font& font = builtinFonts[fontIndex];
    TextMask mask;
    mask.width = textWidth(font, text, TEXT_MAX);
    mask.height = font.height;
    WindowCanvas canvas;
    canvasInit(canvas);
    if (!canvasCreate(canvas, std::max(64, mask.width + 2), std::max(32, mask.height + 2))) {
        mask.width = 0;
        return mask;
    }
    surfaceFill(canvas.surface, 0);
    drawText(canvas, text, 0, 0, 0xFFFF, 0, &font);
    mask.cover.resize(static_cast<size_t>(mask.width) * mask.height);
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            mask.cover[static_cast<size_t>(y) * mask.width + x] =
                canvas.surface.pixels[y * canvas.surface.width + x] == 0xFFFF ? 1.0f : 0.0f;
        }
    }
    canvasFree(canvas);
    return mask;
}

float maskAt(const TextMask& m, int x, int y) {
    if (x < 0 || y < 0 || x >= m.width || y >= m.height) {
        return 0;
    }
    return m.cover[static_cast<size_t>(y) * m.width + x];
}

// Bilinear sample of the mask: enlarged letters keep smooth edges.
float sampleMask(const TextMask& m, float x, float y) {
    x -= 0.5f;
    y -= 0.5f;
    int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    float tx = x - ix, ty = y - iy;
    float a = maskAt(m, ix, iy) + (maskAt(m, ix + 1, iy) - maskAt(m, ix, iy)) * tx;
    float b = maskAt(m, ix, iy + 1) + (maskAt(m, ix + 1, iy + 1) - maskAt(m, ix, iy + 1)) * tx;
    return a + (b - a) * ty;
}

enum class Align { Left, Centre };

// Sets a text at a scale, filled by a shading function of the position within
// the letters (0 at their top, 1 at their bottom), with a dark outline and a
// drop shadow so it reads on any background.
template <typename Shade>
int setText(Image& picture, const char* text, int fontIndex, float x, float y, float scale,
            Align align, Shade shade, Rgba outlineColour = rgb(10, 6, 14)) {
    TextMask m = textMask(text, fontIndex);
    float w = m.width * scale, h = m.height * scale;
    if (align == Align::Centre) {
        x = std::round((WIDTH - w) / 2);
    }
    auto cover = [&](float px, float py) {
        float v = sampleMask(m, (px - x) / scale, (py - y) / scale);
        return scale > 1 ? smooth(0.35f, 0.65f, v) : v;
    };
    Image layer = makeImage(picture.width, picture.height);
    for (int py = static_cast<int>(y) - 3; py < y + h + 3; ++py) {
        for (int px = static_cast<int>(x) - 3; px < x + w + 3; ++px) {
            if (px < 0 || py < 0 || px >= picture.width || py >= picture.height) {
                continue;
            }
            float c = cover(px + 0.5f, py + 0.5f);
            if (c > 0) {
                blendPixel(layer, px, py, shade((py + 0.5f - y) / h, px, py), c);
            }
        }
    }
    Image shadow = makeImage(picture.width, picture.height);
    for (int py = 0; py < picture.height; ++py) {
        for (int px = 0; px < picture.width; ++px) {
            Rgba p = get(layer, px - 2, py - 2);
            if (p.a > 0) {
                at(shadow, px, py) = rgb(0, 0, 0, p.a * 2 / 3);
            }
        }
    }
    // Letters on a key cap are printed flat: no shadow, no outline.
    if (outlineColour.a > 0) {
        composite(picture, shadow);
        outline(layer, outlineColour);
    }
    composite(picture, layer);
    return static_cast<int>(w);
}

Rgba goldText(float t, int, int) {
    return ramp({rgb(255, 244, 190), rgb(250, 206, 96), rgb(214, 140, 40), rgb(150, 80, 24)}, t);
}
Rgba paleText(float t, int, int) {
    return mix(rgb(236, 232, 220), rgb(176, 170, 190), t);
}
Rgba cyanText(float t, int, int) {
    return mix(rgb(200, 255, 250), rgb(90, 190, 210), t);
}

// ---- Backgrounds ----------------------------------------------------------------

// The dark of the dungeon: a faint wall of great blocks fading into black,
// lighter where the scene is lit.
Image background(float glowX, float glowY, Rgba glow) {
    Image picture = makeImage(WIDTH, HEIGHT);
    for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) {
            int course = y / 24;
            int shift = (course % 2) * 24;
            bool joint = y % 24 == 0 || (x + shift) % 48 == 0;
            float n = noise(x, y, 8, 256, 70 + course);
            float stone =
                joint ? 0.35f : 0.8f + 0.3f * n + 0.15f * hash01((x + shift) / 48, course, 71);
            float d = std::hypot((x - glowX) / 150, (y - glowY) / 130);
            float light = clamp01(1.1f - d) * 0.9f + 0.1f;
            Rgba base = rgb(static_cast<int>(26 * stone), static_cast<int>(24 * stone),
                            static_cast<int>(36 * stone));
            Rgba lit = mix(base, scale(glow, stone * 0.5f), light * 0.6f);
            at(picture, x, y) = lit;
        }
    }
    return picture;
}

// A frame of dark iron around the whole picture.
void border(Image& picture) {
    for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) {
            int d = std::min(std::min(x, y), std::min(WIDTH - 1 - x, HEIGHT - 1 - y));
            if (d < 4) {
                Rgba c = d == 0 ? rgb(8, 6, 10) : (d == 1 ? rgb(120, 96, 60) : rgb(60, 46, 34));
                if (d == 3) {
                    c = rgb(20, 14, 12);
                }
                at(picture, x, y) = c;
            }
        }
    }
}

// A thin ornamental rule with a diamond in its middle.
void rule(Image& picture, int y, int halfWidth) {
    fill(picture, rect(WIDTH / 2 - halfWidth, y, WIDTH / 2 + halfWidth, y + 1),
         rgb(180, 130, 60, 200));
    fill(picture,
         polygon({{WIDTH / 2.0f, y - 3.5f},
                  {WIDTH / 2 + 4.0f, y + 0.5f},
                  {WIDTH / 2.0f, y + 4.5f},
                  {WIDTH / 2 - 4.0f, y + 0.5f}}),
         rgb(240, 200, 110));
}

// A framed panel behind a scene.
void panel(Image& picture, int x0, int y0, int x1, int y1) {
    fill(picture, rect(x0 - 3, y0 - 3, x1 + 3, y1 + 3), rgb(8, 6, 10));
    fill(
        picture, cut(rect(x0 - 2, y0 - 2, x1 + 2, y1 + 2), rect(x0, y0, x1, y1)),
        [=](float x, float y) { return (x < x0 || y < y0) ? rgb(150, 116, 70) : rgb(70, 50, 34); });
}

// ---- The three pictures -----------------------------------------------------------

Image titlePicture() {
    Image picture = background(128, 130, rgb(255, 170, 90));
    setText(picture, "GLOOMHOLD", 4, 0, 12, 1.6f, Align::Centre, goldText);
    rule(picture, 62, 90);
    // A hall of the dungeon: the hero, a ball still to box, a key for its lock,
    // and the door that opens once every ball is boxed.
    Image scene = makeImage(7 * T, 4 * T, rgb(14, 12, 20));
    drawScene(scene, {"##t#W##", "#..o.BD", "#P..k.L", "#~~##b#"}, 0, 0);
    int sx = (WIDTH - scene.width) / 2, sy = 78;
    panel(picture, sx, sy, sx + scene.width, sy + scene.height);
    composite(picture, scene, sx, sy);
    setText(picture, "A puzzle in the dark", 0, 0, 222, 1, Align::Centre, paleText);
    return picture;
}

void keyCap(Image& picture, float x, float y, float w, const char* label) {
    fill(picture, roundRect(x, y, x + w, y + 15, 2.5f), rgb(10, 8, 12));
    fill(picture, roundRect(x + 1, y + 1, x + w - 1, y + 14, 2), [=](float px, float py) {
        if (px < x + 2.5f || py < y + 2.5f) {
            return rgb(236, 230, 218);
        }
        return (px > x + w - 2.5f || py > y + 12.5f) ? rgb(120, 112, 110) : rgb(196, 188, 176);
    });
    int tw = textWidth(builtinFont(0), label, TEXT_MAX);
    setText(
        picture, label, 0, std::round(x + (w - tw) / 2), y + 1, 1, Align::Left,
        [](float, int, int) { return rgb(30, 26, 34); }, rgb(0, 0, 0, 0));
}

// A solid arrow head on a key cap: 0 left, 1 down, 2 right, 3 up.
void arrowGlyph(Image& picture, float cx, float cy, int direction) {
    const Point left[3] = {{-3.5f, 0}, {2.5f, -4}, {2.5f, 4}};
    std::vector<Point> p;
    for (const Point& q : left) {
        float x = q.x, y = q.y;
        for (int turn = 0; turn < direction; ++turn) {
            // A quarter turn anticlockwise on the screen (y grows downwards)
            // takes left to down, down to right, right to up.
            float t = x;
            x = y;
            y = -t;
        }
        p.push_back({cx + x, cy + y});
    }
    fill(picture, polygon(p), rgb(30, 26, 34));
}

// Plus, equals and an arrow between the pictures of the goal.
void plusSign(Image& picture, float cx, float cy) {
    fill(picture,
         unite(rect(cx - 5, cy - 1.5f, cx + 5, cy + 1.5f),
               rect(cx - 1.5f, cy - 5, cx + 1.5f, cy + 5)),
         rgb(240, 200, 110));
}
void equalsSign(Image& picture, float cx, float cy) {
    fill(picture, unite(rect(cx - 5, cy - 4, cx + 5, cy - 1), rect(cx - 5, cy + 1, cx + 5, cy + 4)),
         rgb(240, 200, 110));
}
void arrowSign(Image& picture, float cx, float cy) {
    fill(picture,
         unite(rect(cx - 6, cy - 1.5f, cx + 2, cy + 1.5f),
               polygon({{cx + 1, cy - 5}, {cx + 7, cy}, {cx + 1, cy + 5}})),
         rgb(240, 200, 110));
}

Image howToPlayPicture() {
    Image picture = background(128, 100, rgb(120, 160, 255));
    setText(picture, "HOW TO PLAY", 4, 0, 10, 1, Align::Centre, goldText);
    rule(picture, 44, 80);
    // The keys, each on a key cap, with what they do.
    struct Line {
        const char* cap;
        float capWidth;
        const char* text;
    };
    const Line lines[] = {{"", 0, "move and push"},
                          {"PgUp PgDn", 64, "change level"},
                          {"R", 16, "restart the level"},
                          {"Esc", 28, "quit the game"}};
    float y = 56;
    for (const Line& line : lines) {
        float textX = 96;
        if (line.capWidth == 0) {
            // The four arrows, laid out as on the keyboard.
            const float caps[4][3] = {
                {28, y + 8, 0}, {46, y + 8, 1}, {64, y + 8, 2}, {46, y - 9, 3}};
            for (const auto& c : caps) {
                keyCap(picture, c[0], c[1], 16, "");
                arrowGlyph(picture, c[0] + 8, c[1] + 7.5f, static_cast<int>(c[2]));
            }
            setText(picture, line.text, 0, textX, y + 8, 1, Align::Left, paleText);
            y += 34;
        } else {
            if (std::string(line.cap) == "PgUp PgDn") {
                keyCap(picture, 18, y, 36, "PgUp");
                keyCap(picture, 56, y, 36, "PgDn");
            } else {
                keyCap(picture, 92 - line.capWidth - 2, y, line.capWidth, line.cap);
            }
            setText(picture, line.text, 0, textX, y + 1, 1, Align::Left, paleText);
            y += 22;
        }
    }
    rule(picture, 166, 60);
    // The goal, told with the game's own pictures.
    int gy = 176;
    put(picture, BALL, 0, 10, gy);
    plusSign(picture, 50, gy + 17);
    put(picture, BOX, 0, 57, gy);
    equalsSign(picture, 97, gy + 17);
    put(picture, BOXED_BALL, 1, 104, gy);
    put(picture, DOOR, 0, 152, gy);
    arrowSign(picture, 193, gy + 17);
    put(picture, EXIT, 1, 204, gy);
    setText(picture, "Box every ball to open the door,", 0, 0, 214, 1, Align::Centre, paleText);
    setText(picture, "then reach the exit.", 0, 0, 230, 1, Align::Centre, paleText);
    return picture;
}

Image endPicture() {
    Image picture = background(128, 120, rgb(110, 255, 230));
    setText(picture, "CONGRATULATIONS", 4, 0, 12, 1, Align::Centre, goldText);
    rule(picture, 48, 100);
    // The hero before the last open door, in its light.
    Image scene = makeImage(5 * T, 3 * T, rgb(14, 12, 20));
    drawScene(scene, {"#W#E#", "#b.P#", "#...t"}, 0, 0);
    int sx = (WIDTH - scene.width) / 2, sy = 62;
    panel(picture, sx, sy, sx + scene.width, sy + scene.height);
    composite(picture, scene, sx, sy);
    // Motes of light rising from the open way out.
    for (int i = 0; i < 26; ++i) {
        float x = 14 + hash01(i, 0, 90) * 228, y = 56 + hash01(i, 1, 90) * 110;
        if (x > sx - 4 && x < sx + scene.width + 4 && y > sy - 4) {
            continue;
        }
        float r = 0.8f + hash01(i, 2, 90) * 1.2f;
        fill(picture, circle(x, y, r * 2.2f), rgb(150, 255, 230, 50));
        fill(picture, circle(x, y, r), rgb(230, 255, 245, 220));
    }
    setText(picture, "You have found the way out", 0, 0, 176, 1, Align::Centre, paleText);
    setText(picture, "of every hall of Gloomhold.", 0, 0, 192, 1, Align::Centre, paleText);
    setText(picture, "The gloom lifts at last.", 0, 0, 216, 1, Align::Centre, cyanText);
    return picture;
}

// Ordered dithering down to 5-6-5.
std::vector<uint16_t> dither565(const Image& picture) {
    std::vector<uint16_t> pixels;
    pixels.reserve(static_cast<size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            Rgba p = get(picture, x, y);
            float d = bayer(x, y);
            auto q = [d](int v, int step, int mask) {
                return static_cast<uint8_t>(std::clamp(static_cast<int>(v + d * step), 0, 255) &
                                            mask);
            };
            pixels.push_back(static_cast<uint16_t>(
                ((q(p.r, 8, 248)) << 8) | ((q(p.g, 4, 252)) << 3) | (q(p.b, 8, 248) >> 3)));
        }
    }
    return pixels;
}

// The window's button as the toolkit draws it when the pointer is not on it,
// in the window's client coordinates: a canvas of the picture's size stands
// in for the window's, with the desktop's fonts and colours. Only the
// button's rectangle of it is wanted.
struct ButtonPixels {
    Rect rect{};
    std::vector<uint16_t> pixels; // the whole canvas, WIDTH x HEIGHT
};

ButtonPixels drawButton() {
    ButtonPixels out;
    fillStyleTable(styleTable);
    auto window = std::make_unique<Window>();
    canvasInit(window->canvas);
    if (!canvasCreate(window->canvas, WIDTH, HEIGHT)) {
        std::fprintf(stderr, "gen_pictures: cannot create the button's canvas\n");
        return out;
    }
    Window* before = desktop.current;
    desktop.current = window.get();
    surfaceFill(window->canvas.surface, 0);
    Button button{};
    continueButtonCreate(button);
    buttonDraw(button);
    desktop.current = before;
    out.rect = button.rect;
    const Surface& surface = window->canvas.surface;
    out.pixels.resize(static_cast<size_t>(WIDTH) * HEIGHT);
    for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) {
            out.pixels[static_cast<size_t>(y) * WIDTH + x] = surface.pixels[y * surface.width + x];
        }
    }
    canvasFree(window->canvas);
    return out;
}

// The button's pixels go in after the dithering, so that they are exactly
// the 5-6-5 values the toolkit draws.
void pasteButton(std::vector<uint16_t>& pixels, const ButtonPixels& button) {
    const Rect& r = button.rect;
    for (int y = std::max(r.y, 0); y < std::min(r.y + r.height, HEIGHT); ++y) {
        for (int x = std::max(r.x, 0); x < std::min(r.x + r.width, WIDTH); ++x) {
            const size_t i = static_cast<size_t>(y) * WIDTH + x;
            pixels[i] = button.pixels[i];
        }
    }
}

// Each 5-6-5 pixel written with its channels expanded the way the game reads
// a pixel, so every value is one the packer accepts.
std::string saveRgb565(const std::string& path, const std::vector<uint16_t>& pixels) {
    PngImage png;
    png.width = WIDTH;
    png.height = HEIGHT;
    png.channels = 3;
    png.pixels.resize(pixels.size() * 3);
    for (size_t i = 0; i < pixels.size(); ++i) {
        rgbFromPixel565(pixels[i], &png.pixels[3 * i]);
    }
    return writePng(path, png);
}

// The border goes on last, over everything; nothing else reaches the strip
// under the button, which keeps it quiet.
void finish(Image& picture) {
    border(picture);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        assetsDir = argv[1];
    }
    setupBuiltinFonts();
    const ButtonPixels button = drawButton();
    if (button.pixels.empty()) {
        return 1;
    }
    Image pictures[3] = {titlePicture(), howToPlayPicture(), endPicture()};
    for (int i = 0; i < 3; ++i) {
        finish(pictures[i]);
        std::vector<uint16_t> pixels = dither565(pictures[i]);
        pasteButton(pixels, button);
        std::string path = assetsDir + "/pictures/picture" + std::to_string(i) + ".png";
        std::string error = saveRgb565(path, pixels);
        if (!error.empty()) {
            std::fprintf(stderr, "gen_pictures: %s: %s\n", path.c_str(), error.c_str());
            return 1;
        }
    }
    return 0;
}

#include "editor/palette.h"

#include "game/board.h"
#include "game/render.h"
#include "toolkit/buttons.h"
#include "toolkit/current.h"
#include "toolkit/desktop.h"
#include "toolkit/font.h"
#include "tools/leveltext.h"
#include "widgets/scrollbar.h"

#include <algorithm>
#include <iterator>

Palette palette;

namespace {

// What each layer of a level may hold, in the order a designer reaches for
// them. The lists go by where the rules look for each element: the shipped
// levels use most of them, and the rest are the states an element takes in
// play (a lit torch, a thrown lever), which a level may also start in.
// Elements that only exist for a moment in play (explosions, opening doors,
// the player hurt) are left out.
constexpr int8_t FLOOR_ELEMENTS[] = {
    PLAIN_FLOOR, SLICK_FLOOR, RUBBLE_FLOOR, BLAST_FLOOR, PLATE, BURNER, LAVA, BARRIER_SLOT, EMPTY,
};
constexpr int8_t OBJECT_ELEMENTS[] = {
    EMPTY,         SOLID_BLOCK,  PLAYER_RIGHT,
    PLAYER_LEFT,   BALL,         BOX,
    BOXED_BALL,    KEY,          LOCK,
    DOOR,          LEVER,        LEVER_THROWN,
    TORCH,         TORCH_LIT,    KEG,
    SLOW_KEG,      BOMB,         BLAST_BLOCK,
    BARRIER,       FLOAT,        WATER_SOURCE,
    DRAIN,         PLUG,         PLUGGED_DRAIN,
    BAFFLE_LEFT,   BAFFLE_RIGHT, PIPE_HORIZONTAL,
    PIPE_VERTICAL, PIPE_TEE,
};
constexpr int8_t TOP_ELEMENTS[] = {
    EMPTY, EXIT, BREAKABLE_WALL, FIRE, FLAME_LOW, FLAME_HIGH, SPOUT,
};

struct LayerList {
    const char* heading;
    const int8_t* codes;
    int32_t count;
};

constexpr LayerList LAYER_LISTS[] = {
    {"Floor", FLOOR_ELEMENTS, int32_t(std::size(FLOOR_ELEMENTS))},
    {"Objects", OBJECT_ELEMENTS, int32_t(std::size(OBJECT_ELEMENTS))},
    {"Top", TOP_ELEMENTS, int32_t(std::size(TOP_ELEMENTS))},
};

constexpr int32_t HEADING_FONT = 2;
constexpr int32_t CHARACTER_FONT = 2;
constexpr int32_t INSET = 2;    // the pane's sunken edge
constexpr int32_t ITEM_GAP = 3; // between a tile and its neighbour's
constexpr int32_t CHOSEN_RING = 2;
const uint16_t CHOSEN_COLOUR = pixelFrom8(255, 224, 0);

int32_t rowsOf(const Palette& p, int32_t count) {
    return (count + p.columns - 1) / p.columns;
}

// The steps the whole palette takes: each layer a heading and its rows.
int32_t totalSteps(const Palette& p) {
    int32_t steps = 0;
    for (const LayerList& list : LAYER_LISTS) {
        steps += 1 + 2 * rowsOf(p, list.count);
    }
    return steps;
}

Rect innerArea(const Palette& p) {
    Rect r = p.pane;
    r.x += INSET;
    r.y += INSET;
    r.width -= 2 * INSET + SCROLLBAR_SIZE;
    r.height -= 2 * INSET;
    return r;
}

// Where the first step of a layer's heading stands, in steps from the top.
int32_t headingStep(const Palette& p, int32_t layer) {
    int32_t step = 0;
    for (int32_t k = 0; k < layer; k++) {
        step += 1 + 2 * rowsOf(p, LAYER_LISTS[k].count);
    }
    return step;
}

// Places every item below the scrolled-off part; an item not wholly in the
// pane gets an empty rectangle, so that the pointer never finds it.
void placeItems(Palette& p) {
    const Rect inner = innerArea(p);
    const int32_t top = p.bar.top;
    for (int32_t i = 0; i < p.itemCount; i++) {
        PaletteItem& item = p.items[i];
        int32_t index = 0;
        for (int32_t k = 0; k < i; k++) {
            index += p.items[k].layer == item.layer ? 1 : 0;
        }
        const int32_t step = headingStep(p, item.layer) + 1 + 2 * (index / p.columns) - top;
        const int32_t x = inner.x + ITEM_GAP + (index % p.columns) * PALETTE_CELL;
        const int32_t y = inner.y + step * PALETTE_STEP + ITEM_GAP / 2;
        if (step < 0 || y + TILE_SIZE > inner.y + inner.height) {
            setRect(item.rect, 0, 0, 0, 0);
        } else {
            setRect(item.rect, x, y, TILE_SIZE, TILE_SIZE);
        }
    }
}

void fillItems(Palette& p) {
    p.itemCount = 0;
    for (int32_t layer = 0; layer < int32_t(std::size(LAYER_LISTS)); layer++) {
        const LayerList& list = LAYER_LISTS[layer];
        for (int32_t k = 0; k < list.count && p.itemCount < PALETTE_ITEMS; k++) {
            PaletteItem& item = p.items[p.itemCount++];
            item.layer = layer;
            item.code = list.codes[k];
            item.tooltip = elementLabel(item.code);
            clickableInit(item.click, &item.rect, CLICK_ON_PRESS, 0, nullptr, item.tooltip.c_str());
        }
    }
}

} // namespace

std::string elementLabel(int32_t code) {
    const char* name = elementName(code);
    std::string label = name[0] != 0 ? name : "code " + std::to_string(code);
    return label + "  '" + elementChar(code) + "'";
}

void drawElementTile(int32_t x, int32_t y, int32_t layer, int32_t code) {
    Window* window = desktop.current;
    if (window == nullptr) {
        return;
    }
    WindowCanvas& canvas = window->canvas;
    const TileSprite& picture = tileSprites[code][0];
    const bool hasPicture = picture.flags != 0 && picture.pixels != nullptr;
    // Objects and the top layer are shown standing on a plain floor, as the
    // board shows most of them; an object without a picture leaves a hole
    // in the board instead.
    const TileSprite& floor = tileSprites[PLAIN_FLOOR][0];
    const bool hole = layer == 1 && picture.flags == 0;
    if (layer != 0 && !hole && floor.pixels != nullptr) {
        blendSprite(x, y, floor);
    } else {
        drawFilledRect(canvas, x, y, x + TILE_SIZE - 1, y + TILE_SIZE - 1,
                       styleColour(COLOUR_DESKTOP_BACKGROUND));
    }
    if (hasPicture) {
        blendSprite(x, y, picture);
        return;
    }
    // A code without a picture (a hole, the spout) shows its character.
    const Font& font = builtinFont(CHARACTER_FONT);
    const char text[2] = {elementChar(code), 0};
    drawText(canvas, text, x + (TILE_SIZE - textWidth(font, text, 1)) / 2,
             y + (TILE_SIZE - font.height) / 2, styleColour(COLOUR_TITLE_TEXT_ACTIVE), 0, &font);
}

void paletteLayout(Palette& p, const Rect& pane) {
    if (p.itemCount == 0) {
        fillItems(p);
        p.chosen = 0;
    }
    p.pane = pane;
    const Rect inner = innerArea(p);
    p.columns = std::max((inner.width - ITEM_GAP) / PALETTE_CELL, 1);
    const int32_t top = p.bar.active ? p.bar.top : 0;
    vscrollCreate(p.bar, inner.x + inner.width, inner.y, inner.height, inner.height, top,
                  totalSteps(p), PALETTE_STEP);
    placeItems(p);
}

void paletteDraw(Palette& p) {
    Window* window = desktop.current;
    if (window == nullptr) {
        return;
    }
    WindowCanvas& canvas = window->canvas;
    const Rect& pane = p.pane;
    drawFilledRect(canvas, pane.x, pane.y, pane.x + pane.width - 1, pane.y + pane.height - 1,
                   styleColour(COLOUR_WINDOW_BACKGROUND));
    const Rect inner = innerArea(p);
    Surface& surface = canvas.surface;
    surfaceSetClip(surface, inner.x, inner.y, inner.x + inner.width, inner.y + inner.height);
    const Font& font = builtinFont(HEADING_FONT);
    for (int32_t layer = 0; layer < int32_t(std::size(LAYER_LISTS)); layer++) {
        const int32_t y = inner.y + (headingStep(p, layer) - p.bar.top) * PALETTE_STEP;
        drawText(canvas, LAYER_LISTS[layer].heading, inner.x + ITEM_GAP,
                 y + (PALETTE_STEP - font.height) / 2, styleColour(COLOUR_TEXT), 0, &font);
    }
    for (int32_t i = 0; i < p.itemCount; i++) {
        const PaletteItem& item = p.items[i];
        if (item.rect.width == 0) {
            continue;
        }
        drawElementTile(item.rect.x, item.rect.y, item.layer, item.code);
        // The chosen element is ringed outside its tile, the one under the
        // pointer inside, so that two neighbours never seem to share a ring.
        if (i == p.chosen) {
            for (int32_t ring = 1; ring <= CHOSEN_RING; ring++) {
                drawRectOutline(canvas, item.rect.x - ring, item.rect.y - ring,
                                item.rect.x + TILE_SIZE - 1 + ring,
                                item.rect.y + TILE_SIZE - 1 + ring, CHOSEN_COLOUR);
            }
        }
        if (item.click.hot) {
            drawRectOutline(canvas, item.rect.x, item.rect.y, item.rect.x + TILE_SIZE - 1,
                            item.rect.y + TILE_SIZE - 1, styleColour(COLOUR_TITLE_TEXT_ACTIVE));
        }
    }
    surfaceResetClip(surface);
    drawSunkenBevel(canvas, pane.x, pane.y, pane.x + pane.width - 1, pane.y + pane.height - 1);
    if (!p.bar.disabled) {
        vscrollDraw(p.bar);
    }
}

void paletteDrawTooltips(Palette& p) {
    for (int32_t i = 0; i < p.itemCount; i++) {
        clickableDrawTooltip(p.items[i].click);
    }
}

int paletteUpdate(Palette& p) {
    const int32_t top = p.bar.top;
    // The wheel scrolls the palette only while the pointer is over it.
    if (p.bar.dragging || p.bar.repeating || currentMouseInside(p.pane)) {
        if (vscrollUpdate(p.bar)) {
            if (p.bar.top != top) {
                placeItems(p);
                requestCurrentRedraw();
            }
            return 1;
        }
    }
    for (int32_t i = 0; i < p.itemCount; i++) {
        if (clickableUpdate(p.items[i].click)) {
            p.chosen = i;
            requestCurrentRedraw();
            return 1;
        }
    }
    return 0;
}

bool paletteChoose(Palette& p, int32_t layer, int32_t code) {
    for (int32_t i = 0; i < p.itemCount; i++) {
        if (p.items[i].layer == layer && p.items[i].code == code) {
            p.chosen = i;
            return true;
        }
    }
    return false;
}

int32_t paletteLayer(const Palette& p) {
    return p.items[p.chosen].layer;
}

int32_t paletteCode(const Palette& p) {
    return p.items[p.chosen].code;
}

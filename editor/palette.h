#pragma once
// The palette: every element a level may hold in each of its three layers,
// each with its picture and a tooltip naming it, in a pane of the editor's
// window that scrolls when it is too short for them all. A click chooses the
// element that painting puts into its layer.
//
// It is a pane and not a window of its own: the toolkit's windows above the
// bottom one are modal, and the board must stay under the pointer while an
// element is chosen.
#include "toolkit/controls.h"
#include "widgets/scrollbar.h"
#include <cstdint>
#include <string>

constexpr int32_t PALETTE_CELL = 36; // a tile and a gap
// The bar scrolls by half a cell: a layer's heading is one such step, a row
// of elements two.
constexpr int32_t PALETTE_STEP = PALETTE_CELL / 2;
constexpr int32_t PALETTE_ITEMS = 64;

struct PaletteItem {
    int32_t layer;
    int32_t code;
    Rect rect; // client coordinates; empty while scrolled out of the pane
    Clickable click;
    std::string tooltip;
};

struct Palette {
    Rect pane;
    VScrollBar bar;
    int32_t columns;
    int32_t itemCount;
    PaletteItem items[PALETTE_ITEMS];
    int32_t chosen; // index into items
};

extern Palette palette;

// Fills the items (once) and lays them out in the pane; called again when
// the window's size changes.
void paletteLayout(Palette& p, const Rect& pane);
void paletteDraw(Palette& p);
// The tooltips, drawn after everything else in the window.
void paletteDrawTooltips(Palette& p);
// 1 when the pointer chose an element or scrolled the palette.
int paletteUpdate(Palette& p);
// Makes the item of this layer and code the chosen one; false when the
// palette has none.
bool paletteChoose(Palette& p, int32_t layer, int32_t code);
int32_t paletteLayer(const Palette& p);
int32_t paletteCode(const Palette& p);

// The element's picture in a 33-pixel tile at (x, y) of the current window:
// its first frame, or its character on a dark tile when it has none.
void drawElementTile(int32_t x, int32_t y, int32_t layer, int32_t code);
// "PLAIN_FLOOR '_'": the element's name and its character in a level text.
std::string elementLabel(int32_t code);

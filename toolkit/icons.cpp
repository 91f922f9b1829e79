// The toolkit's built-in 16 x 15 icons, drawn from character pictures so
// that a maintainer can see and change them in place. Magenta (0xF81F) is
// transparent, as for every keyed copy.
#include "toolkit/surface.h"

#include <array>
#include <cstddef>

namespace {

constexpr int FIRST_ICON = 2;
constexpr int LAST_ICON = 26;
constexpr int ICON_COUNT = LAST_ICON - FIRST_ICON + 1;
// Each icon is stored as its width followed by its pixels, row after row.
constexpr int ICON_VALUES = 1 + ICON_WIDTH * ICON_HEIGHT;

// Icon codes are taken modulo 128.
constexpr int ICON_CODE_MASK = 127;

struct PaletteEntry {
    char letter;
    uint16_t colour;
};

constexpr PaletteEntry PALETTE[] = {
    {'k', 0x0000}, // black
    {'w', 0xFFFF}, // white
    {'l', 0xC618}, // light grey
    {'g', 0x8410}, // grey
    {'d', 0x4208}, // dark grey
    {'y', 0xFFE0}, // yellow
    {'o', 0xC600}, // dark yellow
    {'b', 0x001F}, // blue
    {'n', 0x0010}, // navy
    {'c', 0x07FF}, // cyan
    {'t', 0x0410}, // teal
    {'r', 0xF800}, // red
};

// Any other character, '.' among them, is transparent.
constexpr uint16_t colourOf(char c) {
    for (const PaletteEntry& entry : PALETTE) {
        if (entry.letter == c) {
            return entry.colour;
        }
    }
    return COLOUR_KEY;
}

constexpr bool isPaletteChar(char c) {
    return c == '.' || colourOf(c) != COLOUR_KEY;
}

using Picture = std::array<const char*, ICON_HEIGHT>;

// A picture, optionally recoloured: every `from` character is drawn as `to`.
// That way one shape serves as several of the unused icons.
struct IconArt {
    const Picture* picture;
    char from;
    char to;
};

constexpr Picture BLANK_PAGE = {
    "................", "...kkkkkkk......", "...kwwwwwkk.....", "...kwwwwwkwk....",
    "...kwwwwwkkkk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...",
    "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...",
    "...kwwwwwwwwk...", "...kkkkkkkkkk...", "................",
};

constexpr Picture TEXT_PAGE = {
    "................", "...kkkkkkk......", "...kwwwwwkk.....", "...kwgggwkwk....",
    "...kwwwwwkkkk...", "...kwggggggwk...", "...kwwwwwwwwk...", "...kwggggggwk...",
    "...kwwwwwwwwk...", "...kwggggggwk...", "...kwwwwwwwwk...", "...kwggggwwwk...",
    "...kwwwwwwwwk...", "...kkkkkkkkkk...", "................",
};

constexpr Picture TWO_PAGES = {
    "................", ".kkkkkkk........", ".kwwwwwkk.......", ".kwwwwwkwk......",
    ".kwwwkkkkkkk....", ".kwwwkwwwwwkk...", ".kwwwkwwwwwkwk..", ".kwwwkwwwwwkkkk.",
    ".kwwwkwwwwwwwwk.", ".kwwwkwwwwwwwwk.", ".kkkkkwwwwwwwwk.", ".....kwwwwwwwwk.",
    ".....kwwwwwwwwk.", ".....kkkkkkkkkk.", "................",
};

constexpr Picture PICTURE_PAGE = {
    "................", "...kkkkkkk......", "...kwwwwwkk.....", "...kwwwwwkwk....",
    "...kwwwwwkkkk...", "...kwbbbbbbwk...", "...kwbcbbbbwk...", "...kwbbbbtbwk...",
    "...kwbbbtttwk...", "...kwbbtttttk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...",
    "...kwwwwwwwwk...", "...kkkkkkkkkk...", "................",
};

constexpr Picture CLOSED_FOLDER = {
    "................", "................", "................", "..kkkk..........",
    ".kyyyyk.........", "kkkkkkkkkkkkkk..", "kyyyyyyyyyyyyok.", "kyyyyyyyyyyyyok.",
    "kyyyyyyyyyyyyok.", "kyyyyyyyyyyyyok.", "kyyyyyyyyyyyyok.", "kyyyyyyyyyyyyok.",
    "koooooooooooooo.", "kkkkkkkkkkkkkkk.", "................",
};

constexpr Picture OPEN_FOLDER = {
    "................", "................", "..kkkk..........", ".kyyyyk.........",
    "kyyyyyykkkkkk...", "kyyyyyyyyyyyk...", "kyyykkkkkkkkkkkk", "kyykyyyyyyyyyyk.",
    "kyykyyyyyyyyyyk.", "kykyyyyyyyyyyk..", "kykyyyyyyyyyyk..", "kkyyyyyyyyyyk...",
    "kkyyyyyyyyyyk...", "kkkkkkkkkkkkk...", "................",
};

constexpr Picture FOLDER_WITH_PAGE = {
    "................", "....kkkkkkk.....", "..kkkwwwwwkk....", ".kyykwgggwwk....",
    "kkkkkwwwwwwkkk..", "kyyykwggggwkok..", "kyyykwwwwwwkok..", "kyyykwggggwkok..",
    "kyyykkkkkkkkok..", "kyyyyyyyyyyyok..", "kyyyyyyyyyyyok..", "kyyyyyyyyyyyok..",
    "kooooooooooooo..", "kkkkkkkkkkkkkk..", "................",
};

constexpr Picture MONITOR = {
    "................", "..kkkkkkkkkkkk..", "..kllllllllllk..", "..klnnnnnnnnlk..",
    "..klnnnnnnnnlk..", "..klnnnnnnnnlk..", "..klnnnnnnnnlk..", "..klnnnnnnnnlk..",
    "..kllllllllllk..", "..kkkkkkkkkkkk..", ".......kk.......", ".....kkkkkk.....",
    "....kllllllk....", "....kkkkkkkk....", "................",
};

constexpr Picture MONITOR_WITH_WINDOW = {
    "................", "..kkkkkkkkkkkk..", "..kllllllllllk..", "..kltttttttllk..",
    "..kltbbbbbbtlk..", "..kltwwwwwwtlk..", "..kltwwwwwwtlk..", "..klttttttttlk..",
    "..kllllllllllk..", "..kkkkkkkkkkkk..", ".......kk.......", ".....kkkkkk.....",
    "....kllllllk....", "....kkkkkkkk....", "................",
};

constexpr Picture MINUS_KEY = {
    "................", "................", ".kkkkkkkkkkkkkk.", ".kwwwwwwwwwwwgk.",
    ".kwllllllllllgk.", ".kwllllllllllgk.", ".kwllllllllllgk.", ".kwllkkkkkkllgk.",
    ".kwllllllllllgk.", ".kwllllllllllgk.", ".kwllllllllllgk.", ".kwgggggggggggk.",
    ".kkkkkkkkkkkkkk.", "................", "................",
};

constexpr Picture EQUALS_KEY = {
    "................", "................", ".kkkkkkkkkkkkkk.", ".kwwwwwwwwwwwgk.",
    ".kwllllllllllgk.", ".kwllllllllllgk.", ".kwllkkkkkkllgk.", ".kwllllllllllgk.",
    ".kwllkkkkkkllgk.", ".kwllllllllllgk.", ".kwllllllllllgk.", ".kwgggggggggggk.",
    ".kkkkkkkkkkkkkk.", "................", "................",
};

constexpr Picture UP_ARROW = {
    "................", "................", "................", "................",
    "................", ".......k........", "......kkk.......", ".....kkkkk......",
    "....kkkkkkk.....", "................", "................", "................",
    "................", "................", "................",
};

constexpr Picture DOWN_ARROW = {
    "................", "................", "................", "................",
    "................", "....kkkkkkk.....", ".....kkkkk......", "......kkk.......",
    ".......k........", "................", "................", "................",
    "................", "................", "................",
};

constexpr Picture RIGHT_ARROW = {
    "................", "................", "................", "................",
    "......k.........", "......kk........", "......kkk.......", "......kkkk......",
    "......kkk.......", "......kk........", "......k.........", "................",
    "................", "................", "................",
};

constexpr Picture LEFT_ARROW = {
    "................", "................", "................", "................",
    ".........k......", "........kk......", ".......kkk......", "......kkkk......",
    ".......kkk......", "........kk......", ".........k......", "................",
    "................", "................", "................",
};

constexpr Picture CLOSE_CROSS = {
    "................", "................", "................", "................",
    "....kk....kk....", ".....kk..kk.....", "......kkkk......", ".......kk.......",
    "......kkkk......", ".....kk..kk.....", "....kk....kk....", "................",
    "................", "................", "................",
};

constexpr Picture MAXIMISE_BOX = {
    "................", "................", "................", "...kkkkkkkkkk...",
    "...kkkkkkkkkk...", "...k........k...", "...k........k...", "...k........k...",
    "...k........k...", "...k........k...", "...k........k...", "...kkkkkkkkkk...",
    "................", "................", "................",
};

constexpr Picture CHECK_CROSS = {
    "................", "................", "................", "................",
    "....kk...kk.....", ".....kk.kk......", "......kkk.......", ".......k........",
    "......kkk.......", ".....kk.kk......", "....kk...kk.....", "................",
    "................", "................", "................",
};

constexpr Picture EMPTY = {
    "................", "................", "................", "................",
    "................", "................", "................", "................",
    "................", "................", "................", "................",
    "................", "................", "................",
};

// Codes 2 to 26 in order. The toolkit itself uses only the arrows, the close
// cross, the maximise box and the check cross; the pictures are kept for
// dialogs that may want them.
constexpr IconArt ICON_ART[ICON_COUNT] = {
    {&BLANK_PAGE, 0, 0},          // 2
    {&TEXT_PAGE, 0, 0},           // 3
    {&TWO_PAGES, 0, 0},           // 4
    {&PICTURE_PAGE, 0, 0},        // 5
    {&CLOSED_FOLDER, 0, 0},       // 6
    {&OPEN_FOLDER, 0, 0},         // 7
    {&FOLDER_WITH_PAGE, 0, 0},    // 8
    {&MONITOR, 0, 0},             // 9
    {&MONITOR_WITH_WINDOW, 0, 0}, // 10
    {&MINUS_KEY, 0, 0},           // 11
    {&EQUALS_KEY, 0, 0},          // 12
    {&UP_ARROW, 0, 0},            // 13
    {&DOWN_ARROW, 0, 0},          // 14
    {&RIGHT_ARROW, 0, 0},         // 15
    {&LEFT_ARROW, 0, 0},          // 16
    {&TEXT_PAGE, 'g', 'b'},       // 17: a page of blue text
    {&CLOSED_FOLDER, 'y', 'c'},   // 18: a cyan folder
    {&CLOSE_CROSS, 0, 0},         // 19
    {&MAXIMISE_BOX, 0, 0},        // 20
    {&CHECK_CROSS, 0, 0},         // 21
    {&MONITOR, 'n', 'd'},         // 22: a monitor switched off
    {&OPEN_FOLDER, 'y', 'c'},     // 23: an open cyan folder
    {&EMPTY, 0, 0},               // 24
    {&EMPTY, 0, 0},               // 25
    {&EMPTY, 0, 0},               // 26
};

constexpr bool artIsWellFormed() {
    for (const IconArt& art : ICON_ART) {
        for (const char* row : *art.picture) {
            int length = 0;
            for (; row[length] != 0; length++) {
                if (!isPaletteChar(row[length])) {
                    return false;
                }
            }
            if (length != ICON_WIDTH) {
                return false;
            }
        }
    }
    return true;
}
static_assert(artIsWellFormed(), "every icon row is 16 palette characters");

using IconTable = std::array<uint16_t, ICON_COUNT * ICON_VALUES>;

IconTable buildIcons() {
    IconTable table{};
    for (int i = 0; i < ICON_COUNT; i++) {
        const IconArt& art = ICON_ART[i];
        uint16_t* icon = &table[size_t(i) * ICON_VALUES];
        icon[0] = ICON_WIDTH;
        for (int y = 0; y < ICON_HEIGHT; y++) {
            for (int x = 0; x < ICON_WIDTH; x++) {
                char c = (*art.picture)[y][x];
                if (art.from != 0 && c == art.from) {
                    c = art.to;
                }
                icon[1 + y * ICON_WIDTH + x] = colourOf(c);
            }
        }
    }
    return table;
}

IconTable& icons() {
    static IconTable table = buildIcons();
    return table;
}

} // namespace

void drawIcon(WindowCanvas& c, int code, int32_t x, int32_t y) {
    code &= ICON_CODE_MASK;
    if (code < FIRST_ICON || code > LAST_ICON) {
        return;
    }
    uint16_t* icon = &icons()[size_t(code - FIRST_ICON) * ICON_VALUES];
    // A surface over the table's pixels; the keyed copy only reads it.
    Surface picture{};
    surfaceCreate(picture, icon[0], ICON_HEIGHT, icon + 1);
    surfaceBlitKeyed(picture, c.surface, x, y);
}

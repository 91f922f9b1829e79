#pragma once
// The 63 element codes and their fixed properties: how many pictures each has,
// how it animates, and what it weighs when pushed.
#include <cstdint>

using ElementCode = int8_t;

enum : ElementCode {
    EMPTY = 0,
    SOLID_BLOCK = 1,
    PLAIN_FLOOR = 2,
    BOXED_BALL = 3,
    BOX = 4,
    BALL = 5,
    PLAYER_LEFT = 6,
    EFFORT_MARK = 7,
    LOCK = 8,
    KEY = 9,
    WATER_SOURCE = 10,
    RUBBLE_FLOOR = 11,
    DRAIN = 12,
    LEVER = 13,
    LEVER_THROWN = 14,
    BURNER = 15,
    FLAME_HIGH = 16,
    TORCH = 17,
    TORCH_LIT = 18,
    KEG = 19,
    KEG_LIT = 20,
    EXPLOSION = 21,
    BREAKABLE_WALL = 22,
    WATER_SHAPES = 25,
    LOCK_OPENING = 26,
    FLAME_LOW = 27,
    DOOR = 28,
    DOOR_OPENING = 29,
    EXIT = 30,
    BALL_INTO_BOX = 31,
    PLAYER_RIGHT = 32,
    FIRE = 33,
    PLAYER_HURT_LEFT = 34,
    PLAYER_HURT_RIGHT = 35,
    // 38 and 61 have no rules of their own; they hold water back like
    // SOLID_BLOCK and, without a picture, show as a hole in the board.
    INERT_SOLID_A = 38,
    PLUG = 39,
    PLUGGED_DRAIN = 40,
    BAFFLE_LEFT = 41,
    BAFFLE_RIGHT = 42,
    PIPE_HORIZONTAL = 43,
    PIPE_VERTICAL = 44,
    PIPE_TEE = 45,
    SPOUT = 46,
    FLOAT = 47,
    FLOAT_BURNING = 48,
    BOMB = 49,
    LAVA = 50,
    BARRIER = 51,
    PLATE = 53,
    SLOW_KEG = 54,
    SLOW_KEG_LIT = 55,
    BLAST_BLOCK = 58,
    BLAST_FLOOR = 59,
    BARRIER_SLOT = 60,
    INERT_SOLID_B = 61,
    SLICK_FLOOR = 62,
};

constexpr int ELEMENT_COUNT = 63;
constexpr int MAX_FRAMES = 8;
constexpr int FRAME_TOTAL = 122;

// Animation modes.
enum : uint8_t {
    MODE_STILL = 0,
    MODE_LOOP = 1,
    MODE_ONCE = 2,
};

struct ElementInfo {
    uint8_t frames; // pictures in the data file, 1..8
    uint8_t delay;  // ticks per frame
    uint8_t mode;   // MODE_STILL, MODE_LOOP or MODE_ONCE
};

extern const ElementInfo elementInfo[ELEMENT_COUNT];
// The cost of pushing each code: 0 nothing to push, 200 never movable by the
// player. Unsigned, and compared as such.
extern const uint8_t elementWeight[ELEMENT_COUNT];

// Every byte of a level is checked against this before it reaches the board,
// so the tables above are never indexed out of range.
inline bool isElementCode(int value) {
    return value >= 0 && value < ELEMENT_COUNT;
}

// Nothing weighing this much can be moved by the player.
constexpr uint8_t IMMOVABLE = 200;

// A stray code is treated as immovable rather than read past the table.
inline uint8_t weightOf(int code) {
    return isElementCode(code) ? elementWeight[code] : IMMOVABLE;
}

#pragma once
// Movement: every move on the board is a push chain with a force budget.
#include "game/state.h"
#include <cstdint>

// The force each mover starts its chain with; every object in the chain
// spends its weight from it.
constexpr int32_t PLAYER_FORCE = 60;
constexpr int32_t PLAYER_FORCE_ON_SLICK = 30; // but pushing nothing costs him anything
constexpr int32_t LAVA_DRAG_FORCE = 50;
constexpr int32_t FLOAT_RISE_FORCE = 85;
constexpr int32_t FLOAT_SINK_FORCE = 20; // less its own 18: it lifts nothing that weighs
constexpr int32_t EXPLOSION_FORCE = 180;

// 1 when the object at (x, y) has left its cell or there was nothing to move,
// 0 when nothing moved at this level. force is shared by the whole chain.
int pushChain(int x, int y, int dx, int dy, int32_t& force, int8_t initiator);
// The player at (x, y) carries out levelFlow.moveRequest and clears it.
void movePlayer(int x, int y);

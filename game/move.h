#pragma once
// Movement: every move on the board is a push chain with a force budget.
#include "game/state.h"
#include <cstdint>

// 1 when the object at (x, y) has left its cell or there was nothing to move,
// 0 when nothing moved at this level. force is shared by the whole chain.
int pushChain(int x, int y, int dx, int dy, int32_t& force, int8_t initiator);
// The player at (x, y) carries out levelFlow.moveRequest and clears it.
void movePlayer(int x, int y);

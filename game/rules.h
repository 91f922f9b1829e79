#pragma once
// One step of every element's rules.
#include "game/move.h"

void gameStep(GameState& state);

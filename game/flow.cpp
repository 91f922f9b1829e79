#include "game/flow.h"

LevelFlow levelFlow;

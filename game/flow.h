#pragma once
// The level flow: which level is played, the step timer, the banner, and the
// flags the rules share with the game window.
#include <cstdint>

struct LevelFlow {
    int32_t level;
    int32_t highestLevel;
    uint32_t levelComplete;
    uint32_t started;
    uint32_t boardVisible;
    uint32_t flickerSeed;
    int32_t moveRequest; // 0 none, 1 right, 2 left, 3 up, 4 down
    uint32_t bannerVisible;
    uint32_t bannerEnd;
    uint32_t nextStep;
    char bannerText[16];
    int32_t bannerRect[4];
};

extern LevelFlow levelFlow;

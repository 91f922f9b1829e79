#include "game/rules.h"

#include "game/board.h"
#include "game/elements.h"
#include "game/fluid.h"
#include "game/sound.h"

namespace {

// A plate is pressed by the player, a box, a bomb, a keg or anything
// heavier; not by a ball, a key or a torch.
constexpr uint8_t PLATE_WEIGHT = 20;
// Lava drags what lies on it one cell left on every seventh step.
constexpr int8_t LAVA_DRAG_DELAY = 6;
// Under water the player lets out bubbles (the "WATER" effect) after this
// many steps, and starts from BUBBLES_RESET again each time he surfaces.
constexpr int32_t BUBBLE_STEPS = 50;
constexpr int32_t BUBBLES_RESET = 15;
// A spout floods its tile on its 51st visit.
constexpr int SPOUT_STEPS = 50;
constexpr int HURT_STEPS = 2;

// What catches fire in flames, fire or lava, after how many steps, and what
// it becomes.
struct Ignition {
    int8_t code;
    int steps;
    ElementCode becomes;
};
constexpr Ignition IGNITIONS[] = {
    {TORCH, 3, TORCH_LIT}, {KEG, 3, KEG_LIT},           {FLOAT, 2, FLOAT_BURNING},
    {BOMB, 6, EXPLOSION},  {SLOW_KEG, 3, SLOW_KEG_LIT},
};

bool isDone(int x, int y, int layer) {
    return isAnimationDone(stateAt(x, y, layer)) != 0;
}

// The rules' delays count visits: the counter goes up at every visit, and the
// change comes at the visit that finds it already at `steps` or more. The
// counter is a byte and wraps as one.
bool countedPast(AnimState& state, int steps) {
    const int8_t before = state.counter;
    state.counter = static_cast<int8_t>(before + 1);
    return before >= steps;
}

bool topRowFull(int x, int y) {
    return fullTop(x, y, 0) && fullTop(x, y, 1) && fullTop(x, y, 2);
}

void survey(GameState& state) {
    for (int y = 0; y < board.height; ++y) {
        for (int x = 0; x < board.width; ++x) {
            const int8_t floor = layerAt(x, y, LAYER_FLOOR);
            const int8_t object = layerAt(x, y, LAYER_OBJECT);
            if (floor == PLATE) {
                // A ball, key or torch is too light to press a plate.
                if (weightOf(object) < PLATE_WEIGHT) {
                    state.allPlatesPressed = 0;
                }
            } else if (object == BALL) {
                state.noBallLeft = 0;
            } else if (y > 0 && object == FLOAT && topRowFull(x, y)) {
                int8_t& above = layerAt(x, y - 1, LAYER_OBJECT);
                if (above == BOMB) {
                    setElement(EXPLOSION, above, stateAt(x, y - 1, LAYER_OBJECT));
                } else if (above != EXPLOSION) {
                    int32_t force = FLOAT_RISE_FORCE;
                    pushChain(x, y, 0, -1, force, FLOAT);
                }
            }
        }
    }
}

// Returns whether the cell is in fire because of its floor.
bool floorRule(GameState& state, int x, int y) {
    AnimState& floorState = stateAt(x, y, LAYER_FLOOR);
    switch (layerAt(x, y, LAYER_FLOOR)) {
    case BURNER:
        // A burner in the top row has no cell above for its high flame; it
        // lights and douses its own cell only.
        if (state.burnersOn) {
            if (layerAt(x, y, LAYER_TOP) != FLAME_LOW && !fullTop(x, y, 1)) {
                if (y > 0) {
                    setAt(x, y - 1, LAYER_TOP, FLAME_HIGH);
                }
                setAt(x, y, LAYER_TOP, FLAME_LOW);
            }
        } else if (layerAt(x, y, LAYER_TOP) == FLAME_LOW) {
            if (y > 0) {
                setAt(x, y - 1, LAYER_TOP, EMPTY);
            }
            setAt(x, y, LAYER_TOP, EMPTY);
        }
        return false;
    case LAVA:
        if (weightOf(layerAt(x, y, LAYER_OBJECT)) != 0) {
            if (floorState.counter >= LAVA_DRAG_DELAY) {
                floorState.counter = 0;
                int32_t force = LAVA_DRAG_FORCE;
                pushChain(x, y, -1, 0, force, layerAt(x, y, LAYER_OBJECT));
            } else {
                floorState.counter = static_cast<int8_t>(floorState.counter + 1);
            }
        }
        return true;
    case BARRIER_SLOT:
        if (!state.allPlatesPressed) {
            const int8_t object = layerAt(x, y, LAYER_OBJECT);
            if (object == EMPTY) {
                setAt(x, y, LAYER_FLOOR, PLAIN_FLOOR);
                setAt(x, y, LAYER_OBJECT, BARRIER);
            } else if (object == BOMB) {
                setAt(x, y, LAYER_OBJECT, EXPLOSION);
            }
        }
        return false;
    default: return false;
    }
}

void explode(int x, int y) {
    if (isDone(x, y, LAYER_OBJECT)) {
        setAt(x, y, LAYER_OBJECT, EMPTY);
    }
    AnimState& self = stateAt(x, y, LAYER_OBJECT);
    // An explosion spreads once, after its second frame; the copies it leaves
    // carry the mark from the start and never spread themselves.
    if (self.counter != 0 || self.frame < 2) {
        return;
    }
    self.counter = 1;
    const AnimState remembered = self;
    static constexpr int directions[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& d : directions) {
        const int nx = x + d[0];
        const int ny = y + d[1];
        // Levels keep explosions off the border; a side that would lie outside
        // the board is simply left alone.
        if (!insideBoard(nx, ny)) {
            continue;
        }
        switch (layerAt(nx, ny, LAYER_OBJECT)) {
        case TORCH_LIT: setAt(nx, ny, LAYER_OBJECT, TORCH); break;
        case KEG: setAt(nx, ny, LAYER_OBJECT, KEG_LIT); break;
        case SLOW_KEG: setAt(nx, ny, LAYER_OBJECT, SLOW_KEG_LIT); break;
        case BLAST_BLOCK:
            setAt(nx, ny, LAYER_OBJECT, EMPTY);
            setAt(nx, ny, LAYER_FLOOR, BLAST_FLOOR);
            openTile(nx, ny);
            break;
        default: break;
        }
        if (layerAt(nx, ny, LAYER_TOP) == BREAKABLE_WALL) {
            setAt(nx, ny, LAYER_FLOOR, RUBBLE_FLOOR);
            if (layerAt(nx, ny, LAYER_OBJECT) == SOLID_BLOCK) {
                setAt(nx, ny, LAYER_OBJECT, EMPTY);
            }
            setAt(nx, ny, LAYER_TOP, EMPTY);
            openTile(nx, ny);
        }
        int32_t force = EXPLOSION_FORCE;
        pushChain(x, y, d[0], d[1], force, EXPLOSION);
        // The explosion stays where it is whatever the shove did, set back
        // directly so that it neither restarts nor sounds again.
        layerAt(x, y, LAYER_OBJECT) = EXPLOSION;
        stateAt(x, y, LAYER_OBJECT) = remembered;
    }
    markDrains();
}

void playerRule(GameState& state, int x, int y) {
    // The head is under water when both upper corners of the tile are full.
    if (fullTop(x, y, 0) && fullTop(x, y, 2)) {
        state.bubbleCounter += 1;
        if (state.bubbleCounter > BUBBLE_STEPS) {
            playEffect(EFFECT_WATER);
            state.bubbleCounter = 0;
        }
    } else {
        state.bubbleCounter = BUBBLES_RESET;
    }
    movePlayer(x, y);
}

void objectRule(GameState& state, int x, int y) {
    AnimState& objectState = stateAt(x, y, LAYER_OBJECT);
    switch (layerAt(x, y, LAYER_OBJECT)) {
    case PLAYER_LEFT:
    case PLAYER_RIGHT: playerRule(state, x, y); break;
    case LEVER_THROWN:
        if (isDone(x, y, LAYER_OBJECT)) {
            setAt(x, y, LAYER_OBJECT, LEVER);
            state.burnersOn = 0;
        } else {
            state.burnersOn = 1;
        }
        break;
    case TORCH_LIT:
        if (fullTop(x, y, 0) || fullTop(x, y, 1)) {
            setAt(x, y, LAYER_OBJECT, TORCH);
        }
        break;
    case KEG_LIT:
    case SLOW_KEG_LIT:
        if (isDone(x, y, LAYER_OBJECT)) {
            setAt(x, y, LAYER_OBJECT, EXPLOSION);
        }
        break;
    case EXPLOSION: explode(x, y); break;
    case LOCK_OPENING:
        if (isDone(x, y, LAYER_OBJECT)) {
            setAt(x, y, LAYER_OBJECT, EMPTY);
            openTile(x, y);
        }
        break;
    case BALL_INTO_BOX:
        if (isDone(x, y, LAYER_OBJECT)) {
            setAt(x, y, LAYER_OBJECT, BOXED_BALL);
        }
        break;
    case DOOR:
        if (state.noBallLeft) {
            setAt(x, y, LAYER_OBJECT, DOOR_OPENING);
            openTile(x, y);
        }
        break;
    case DOOR_OPENING:
        if (isDone(x, y, LAYER_OBJECT)) {
            setAt(x, y, LAYER_OBJECT, EMPTY);
            setAt(x, y, LAYER_TOP, EXIT);
            // The exit swallows water like a drain.
            markDrains();
        }
        break;
    case PLAYER_HURT_LEFT:
        if (countedPast(objectState, HURT_STEPS)) {
            setAt(x, y, LAYER_OBJECT, PLAYER_LEFT);
        }
        break;
    case PLAYER_HURT_RIGHT:
        if (countedPast(objectState, HURT_STEPS)) {
            setAt(x, y, LAYER_OBJECT, PLAYER_RIGHT);
        }
        break;
    case FLOAT: {
        // Below the bottom row there is no water to hold the float up; its
        // sinking chain then stops at the board's edge.
        const bool heldUp = y + 1 < board.height && topRowFull(x, y + 1);
        if (!heldUp) {
            int32_t force = FLOAT_SINK_FORCE;
            pushChain(x, y, 0, 1, force, FLOAT);
        }
        break;
    }
    case FLOAT_BURNING:
        if (isDone(x, y, LAYER_OBJECT)) {
            setAt(x, y, LAYER_OBJECT, EMPTY);
        }
        break;
    case BARRIER:
        if (state.allPlatesPressed) {
            setAt(x, y, LAYER_FLOOR, BARRIER_SLOT);
            setAt(x, y, LAYER_OBJECT, EMPTY);
        }
        break;
    default: break;
    }
}

// Returns whether the fire rule runs after it regardless of the floor.
bool topRule(int x, int y) {
    AnimState& topState = stateAt(x, y, LAYER_TOP);
    switch (layerAt(x, y, LAYER_TOP)) {
    case FLAME_HIGH:
    case FLAME_LOW: return true;
    case EXIT: {
        int8_t& object = layerAt(x, y, LAYER_OBJECT);
        if (object == PLAYER_LEFT || object == PLAYER_RIGHT) {
            playEffect(EFFECT_TELEP);
            levelFlow.levelComplete = 1;
        }
        setElement(EMPTY, object, stateAt(x, y, LAYER_OBJECT));
        return false;
    }
    case FIRE:
        // Fire only counts the visits on which water stands at its foot.
        if (fullBottom(x, y, 0) || fullBottom(x, y, 1) || fullBottom(x, y, 2)) {
            if (countedPast(topState, 1)) {
                setAt(x, y, LAYER_TOP, EMPTY);
            }
        }
        return true;
    case SPOUT:
        if (countedPast(topState, SPOUT_STEPS)) {
            markTile(x, y, 1, FINE_FULL);
            topState.counter = 0;
        }
        return false;
    default: return false;
    }
}

void fireRule(int x, int y) {
    const int8_t object = layerAt(x, y, LAYER_OBJECT);
    for (const Ignition& ignition : IGNITIONS) {
        if (object == ignition.code) {
            if (countedPast(stateAt(x, y, LAYER_OBJECT), ignition.steps)) {
                setAt(x, y, LAYER_OBJECT, ignition.becomes);
            }
            return;
        }
    }
}

} // namespace

void advanceBoard() {
    flowStep();
    animateBoard();
    gameStep(gameState);
}

void resetRuleRecords() {
    board = Board{};
    boardView = BoardView{};
    fineGrid = FineGrid{};
    gameState = GameState{};
    levelFlow = LevelFlow{};
    for (Channel& channel : channels) {
        channel = Channel{};
    }
}

void gameStep(GameState& state) {
    state.allPlatesPressed = 1;
    state.noBallLeft = 1;
    survey(state);

    // Bottom-up, so that whatever sinks or is dragged down lands in a row that
    // has had its turn; whatever moves right or up is met again in its new
    // cell, and that is part of the game's behaviour.
    for (int y = board.height - 1; y >= 0; --y) {
        for (int x = 0; x < board.width; ++x) {
            const bool inFire = floorRule(state, x, y);
            objectRule(state, x, y);
            const bool alwaysBurns = topRule(x, y);
            if (alwaysBurns || inFire) {
                fireRule(x, y);
            }
        }
    }
}

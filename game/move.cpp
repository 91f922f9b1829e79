#include "game/move.h"

#include "game/board.h"
#include "game/elements.h"
#include "game/fluid.h"

namespace {

// Below this much force left the player is pushing something besides
// himself, and the board shows him straining.
constexpr int32_t STRAIN_BELOW = 30;
// A bomb pushed into anything at least this heavy goes off.
constexpr uint8_t BOMB_TRIGGER_WEIGHT = 10;
// Throwing a lever costs the chain this much.
constexpr int32_t LEVER_COST = 10;

bool isPlayer(int8_t code) {
    return code == PLAYER_LEFT || code == PLAYER_RIGHT;
}

// The meetings two objects have when the first is pushed into the second.
enum class Meeting {
    None,     // push the one ahead on
    Vanished, // the mover has gone into the one ahead: the chain succeeds here
    Stopped,  // the chain fails here
};

Meeting meet(int x, int y, int tx, int ty, int8_t mover, int8_t ahead, int32_t& force,
             bool playerInitiated) {
    switch (mover) {
    case BALL:
    case BOX:
        if ((mover == BALL && ahead == BOX) || (mover == BOX && ahead == BALL)) {
            setAt(tx, ty, LAYER_OBJECT, BALL_INTO_BOX);
            setAt(x, y, LAYER_OBJECT, EMPTY);
            force = 0;
            return Meeting::Vanished;
        }
        break;
    case KEY:
        if (ahead == LOCK) {
            setAt(tx, ty, LAYER_OBJECT, LOCK_OPENING);
            setAt(x, y, LAYER_OBJECT, EMPTY);
            force = 0;
            return Meeting::Vanished;
        }
        break;
    case PLUG:
        if (ahead == DRAIN) {
            setAt(tx, ty, LAYER_OBJECT, PLUGGED_DRAIN);
            setAt(x, y, LAYER_OBJECT, EMPTY);
            force = 0;
            markDrains();
            return Meeting::Vanished;
        }
        break;
    case TORCH:
        if (ahead == TORCH_LIT) {
            setAt(x, y, LAYER_OBJECT, TORCH_LIT);
            // The player only lights the torch; anything else carries on
            // pushing with the torch now burning.
            if (playerInitiated) {
                return Meeting::Stopped;
            }
        }
        break;
    case TORCH_LIT: {
        int8_t lit = ahead == TORCH      ? TORCH_LIT
                     : ahead == KEG      ? KEG_LIT
                     : ahead == SLOW_KEG ? SLOW_KEG_LIT
                                         : EMPTY;
        if (lit != EMPTY) {
            setAt(tx, ty, LAYER_OBJECT, lit);
            if (playerInitiated) {
                return Meeting::Stopped;
            }
        }
        break;
    }
    case BOMB:
        if (weightOf(ahead) >= BOMB_TRIGGER_WEIGHT) {
            setAt(x, y, LAYER_OBJECT, EXPLOSION);
            force = 0;
            return Meeting::Stopped;
        }
        break;
    default: break;
    }
    return Meeting::None;
}

} // namespace

int pushChain(int x, int y, int dx, int dy, int32_t& force, int8_t initiator) {
    const int8_t mover = layerAt(x, y, LAYER_OBJECT);
    const uint8_t weight = weightOf(mover);
    if (weight == 0) {
        return 1;
    }
    if (layerAt(x, y, LAYER_FLOOR) != SLICK_FLOOR) {
        force -= weight;
    }
    const bool playerInitiated = isPlayer(initiator);
    if (playerInitiated && force < STRAIN_BELOW) {
        boardView.effortOverlay = 1;
    }
    if (force <= 0) {
        return 0;
    }

    const int tx = x + dx;
    const int ty = y + dy;
    // The edge is tested before the cell beyond it is read, so that a chain at
    // the border never looks outside the board.
    if (!insideBoard(tx, ty) || layerAt(tx, ty, LAYER_TOP) == BREAKABLE_WALL) {
        if (mover == BOMB) {
            setAt(x, y, LAYER_OBJECT, EXPLOSION);
        }
        force = 0;
        return 0;
    }

    const int8_t ahead = layerAt(tx, ty, LAYER_OBJECT);
    if (isPlayer(mover) &&
        (layerAt(tx, ty, LAYER_TOP) == FIRE || layerAt(tx, ty, LAYER_FLOOR) == LAVA)) {
        setAt(x, y, LAYER_OBJECT, mover == PLAYER_RIGHT ? PLAYER_HURT_RIGHT : PLAYER_HURT_LEFT);
        force = 0;
        return 0;
    }
    // A lever only gives way to whatever comes from its right; from any other
    // side it is just something too heavy to move.
    if (ahead == LEVER && dx == -1) {
        setAt(tx, ty, LAYER_OBJECT, LEVER_THROWN);
        force -= LEVER_COST;
        return 0;
    }
    // The player may push a bomb; anything else shoved into one sets it off.
    if (ahead == BOMB && !isPlayer(mover)) {
        setAt(tx, ty, LAYER_OBJECT, EXPLOSION);
        force = 0;
        return 0;
    }

    switch (meet(x, y, tx, ty, mover, ahead, force, playerInitiated)) {
    case Meeting::Vanished: return 1;
    case Meeting::Stopped: return 0;
    case Meeting::None: break;
    }

    if (pushChain(tx, ty, dx, dy, force, initiator) == 0) {
        return 0;
    }

    // The mover may have changed in its meeting (a torch that caught fire), so
    // the code is read again; its whole state travels with it.
    const int8_t moved = layerAt(x, y, LAYER_OBJECT);
    layerAt(tx, ty, LAYER_OBJECT) = moved;
    stateAt(tx, ty, LAYER_OBJECT) = stateAt(x, y, LAYER_OBJECT);
    // Lava waits its full delay before dragging a newcomer on.
    if (layerAt(tx, ty, LAYER_FLOOR) == LAVA) {
        stateAt(tx, ty, LAYER_FLOOR).counter = 0;
    }
    setAt(x, y, LAYER_OBJECT, EMPTY);

    switch (moved) {
    case DRAIN: markDrains(); break;
    case TORCH_LIT:
        // Water in the top third at the boundary the torch crossed puts it out:
        // that boundary's left-hand fine cell is the right third of whichever
        // tile lies to the left of it.
        if ((dx == 1 && fullTop(x, y, 2)) || (dx == -1 && fullTop(tx, ty, 2))) {
            setAt(tx, ty, LAYER_OBJECT, TORCH);
        }
        break;
    case BAFFLE_LEFT:
    case BAFFLE_RIGHT: applyBaffles(); break;
    default: break;
    }
    return 1;
}

void movePlayer(int x, int y) {
    const int8_t player = layerAt(x, y, LAYER_OBJECT);
    int32_t force =
        layerAt(x, y, LAYER_FLOOR) == SLICK_FLOOR ? PLAYER_FORCE_ON_SLICK : PLAYER_FORCE;
    // Turning happens before the push and stays even when the push fails; it
    // restarts the player's animation like any other change of code.
    switch (levelFlow.moveRequest) {
    case MOVE_RIGHT:
        if (player == PLAYER_LEFT) {
            setAt(x, y, LAYER_OBJECT, PLAYER_RIGHT);
        }
        pushChain(x, y, 1, 0, force, PLAYER_RIGHT);
        break;
    case MOVE_LEFT:
        if (player == PLAYER_RIGHT) {
            setAt(x, y, LAYER_OBJECT, PLAYER_LEFT);
        }
        pushChain(x, y, -1, 0, force, PLAYER_LEFT);
        break;
    // Up and down keep the facing; PLAYER_LEFT only marks the chain as the
    // player's own.
    case MOVE_UP: pushChain(x, y, 0, -1, force, PLAYER_LEFT); break;
    case MOVE_DOWN: pushChain(x, y, 0, 1, force, PLAYER_LEFT); break;
    default: break;
    }
    levelFlow.moveRequest = MOVE_NONE;
}

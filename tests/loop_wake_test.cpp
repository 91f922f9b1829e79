// The message loop sleeps until the next time the game or the toolkit asked
// for a pass at, and no longer: the game's steps come every 100 ms exactly
// and the banner goes at its own time, while a title picture or a paused
// game lets the loop sleep without a limit. The scripted clock jumps
// straight to each wake-up.
#include "game/flow.h"
#include "platform/platform_script.h"
#include "shell/mainwnd.h"
#include "tests/support/desktop_env.h"
#include "tests/support/game_session.h"
#include "toolkit/desktop.h"
#include "toolkit/frame.h"

#include <deque>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct Scripted {
    uint32_t at;
    uint32_t message, wParam;
};

// Messages due at given times, and what the loop's waits were.
struct WakeScript {
    GameSession* session;
    std::deque<Scripted> messages;
    std::vector<uint32_t> wakeUps; // when the wake-up message came
    int unlimitedWaits = 0;
    int wakeUpsLeft = 0; // then the program is asked to close
};
WakeScript script;

void advanceTo(uint32_t time) {
    script.session->now = time;
    scriptSetTime(time);
}

bool scriptedSource(bool wait) {
    const uint32_t now = script.session->now;
    if (!script.messages.empty() && script.messages.front().at <= now) {
        const Scripted m = script.messages.front();
        script.messages.pop_front();
        MainWndProc(m.message, m.wParam, 0);
        return true;
    }
    if (!wait) {
        return false;
    }
    const int32_t limit = shellWaitLimit(now);
    if (limit < 0) {
        script.unlimitedWaits++;
    }
    // A message due before the limit comes first.
    if (!script.messages.empty() &&
        (limit < 0 || script.messages.front().at <= now + uint32_t(limit))) {
        advanceTo(script.messages.front().at);
        return true;
    }
    if (limit < 0 || script.wakeUpsLeft-- == 0) {
        MainWndProc(MSG_CLOSE, 0, 0);
        return true;
    }
    advanceTo(now + uint32_t(limit));
    script.wakeUps.push_back(script.session->now);
    MainWndProc(MSG_TIMER, 0, 0);
    return true;
}

// A desktop window that holds a blinking caret.
void caretProc(Window* window, uint32_t) {
    if (window->message == Tick) {
        if (!window->caret.on) {
            caretShow(window->caret, window);
        }
        caretUpdate(*window);
    }
}

} // namespace

TEST(LoopWake, StepsEveryHundredMillisecondsTheBannerEndsOnTimeAndAPauseSleeps) {
    GameSession session(GHOLD_DATA_FILE, 0);
    script = WakeScript{};
    script.session = &session;
    // Two keys take the title pictures away at 1000 and 1010: the level
    // starts at 1010 with its banner up until 2210. An arrow under the
    // banner moves nothing; one at 2250 steps at once and moves the steps
    // after it. P at 2480 stops them until the key at 3000.
    const std::pair<uint32_t, uint8_t> keys[] = {{1000, KEY_SPACE}, {1010, KEY_SPACE},
                                                 {1160, KEY_RIGHT}, {2250, KEY_RIGHT},
                                                 {2480, KEY_P},     {3000, KEY_SPACE}};
    for (const auto& [at, vk] : keys) {
        script.messages.push_back({at, MSG_KEY_DOWN, vk});
        script.messages.push_back({at, MSG_KEY_UP, vk});
    }
    script.wakeUpsLeft = 16;
    runMessageLoop(scriptedSource);

    const std::vector<uint32_t> expected = {1110, 1210, 1310, 1410, 1510, 1610, 1710, 1810,
                                            1910, 2010, 2110, 2210, 2350, 2450, 3100, 3200};
    EXPECT_EQ(script.wakeUps, expected);
    // Nothing at all was due on the first title picture and while paused.
    EXPECT_EQ(script.unlimitedWaits, 2);
}

TEST(LoopWake, ACaretWakesTheLoopWhenItsBlinkTurnsAndNothingElseDoes) {
    ASSERT_EQ(scriptedDesktopStart(640, 480, caretProc), nullptr);
    // On for 511 ms of every 1024 from the first Tick, at 1000.
    const std::pair<uint32_t, int32_t> passes[] = {{1000, 511}, {1200, 311}, {1511, 513},
                                                   {1600, 424}, {2024, 511}, {2534, 1}};
    for (const auto& [now, limit] : passes) {
        scriptSetTime(now);
        shellPass();
        EXPECT_EQ(shellWaitLimit(now), limit) << now;
        EXPECT_EQ(shellWaitLimit(now + 2000), 0) << now;
    }
    // Minimised and suspended, the program sleeps whatever is due.
    suspended = 1;
    EXPECT_EQ(shellWaitLimit(2534), -1);
    suspended = 0;
    scriptedDesktopStop();
}

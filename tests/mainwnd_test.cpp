// The main window's side of the program: the start-up placement, the message
// table and the pass that clears one-pass events, on the scripted platform.
#include "shell/mainwnd.h"

#include "platform/platform_script.h"
#include "tests/support/datafile.h"
#include "tests/support/desktop_env.h"
#include "tests/support/ints.h"
#include "toolkit/config.h"
#include "toolkit/desktop.h"

#include <array>
#include <deque>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

uint32_t words(int32_t low, int32_t high) {
    return (uint32_t(low) & 0xFFFF) | (uint32_t(high) << 16);
}

// A desktop whose only window draws nothing, so that the messages meet a
// real desktop without the game's data file.
void quietProc(Window*, uint32_t) {}

struct MainWindowTest : ::testing::Test {
    void SetUp() override {
        ASSERT_EQ(scriptedDesktopStart(640, 480, quietProc), nullptr);
        suspended = 0;
    }
    void TearDown() override { scriptedDesktopStop(); }
};

// A message queue for the loop: queued messages first; when the loop waits
// on an empty queue, 55 ms pass and the wake-up arrives.
struct LoopScript {
    std::deque<std::array<uint32_t, 3>> queue;
    uint32_t now = 1000;
    int wakeUps = 0;
    int ticks = 0;
    int ticksAtWakeUp[16] = {};
    void (*onWakeUp)(int wakeUp) = nullptr;
};
LoopScript loop;

bool scriptedMessages(bool wait) {
    if (!loop.queue.empty()) {
        const auto m = loop.queue.front();
        loop.queue.pop_front();
        MainWndProc(m[0], m[1], m[2]);
        return true;
    }
    if (!wait) {
        return false;
    }
    loop.now += WAKE_UP_MS;
    scriptSetTime(loop.now);
    loop.ticksAtWakeUp[loop.wakeUps & 15] = loop.ticks;
    loop.wakeUps++;
    if (loop.onWakeUp != nullptr) {
        loop.onWakeUp(loop.wakeUps);
    }
    MainWndProc(MSG_TIMER, 0, 0);
    return true;
}

void tickCountingProc(Window* window, uint32_t) {
    if (window->message == Tick) {
        loop.ticks++;
    }
}

// Minimised at once; restored at the fifth wake-up, closed at the eighth.
void minimiseForFiveWakeUps(int wakeUp) {
    if (wakeUp == 5) {
        loop.queue.push_back({MSG_SIZE, SIZE_RESTORED, words(640, 480)});
    }
    if (wakeUp == 8) {
        loop.queue.push_back({MSG_CLOSE, 0, 0});
    }
}

} // namespace

TEST(StartupWindow, SmallSizesAreRaisedAndCentred) {
    StartupWindow w = startupWindow(1024, 768, "300", "200", "0");
    EXPECT_EQ(ints(w.width, w.height, w.x, w.y, w.mode, w.maximised, w.borderless),
              ints(640, 480, 192, 144, 0, 0u, 0u));

    w = startupWindow(1024, 768, "800", "600", "0");
    EXPECT_EQ(ints(w.width, w.x, w.y), ints(800, 112, 84));
}

TEST(StartupWindow, ModesAndWindowsThatDoNotFit) {
    // Too wide for the screen: screen-sized and maximised.
    StartupWindow w = startupWindow(1024, 768, "1100", "480", "0");
    EXPECT_EQ(ints(w.width, w.height, w.mode, w.maximised, w.x), ints(1024, 768, 1, 1u, 0));

    w = startupWindow(1024, 768, "640", "480", "2");
    EXPECT_EQ(ints(w.width, w.maximised, w.borderless), ints(1024, 1u, 1u));

    // Unknown modes: a screen-sized window shown normally.
    for (const char* mode : {"", "5"}) {
        w = startupWindow(1024, 768, "640", "480", mode);
        EXPECT_EQ(ints(w.width, w.height, w.maximised, w.borderless), ints(1024, 768, 0, 0))
            << mode;
    }
    // No number at all is 0, raised to the minimum.
    w = startupWindow(1024, 768, "wide", "-5", "0");
    EXPECT_EQ(ints(w.width, w.height), ints(640, 480));
}

TEST_F(MainWindowTest, SizeMessagesResizeTheDesktopAndRecordTheMode) {
    MainWndProc(MSG_SIZE, SIZE_RESTORED, words(801, 600));
    EXPECT_EQ(ints(desktop.desktopWindow->canvas.surface.width,
                   desktop.desktopWindow->canvas.surface.height),
              ints(802, 600));
    // Wider than 11 bits still arrives whole.
    MainWndProc(MSG_SIZE, SIZE_MAXIMIZED, words(2560, 1400));
    EXPECT_EQ(desktop.desktopWindow->canvas.surface.width, 2560);

    // Minimising keeps the size and suspends only when SUSPEND says so.
    configSet("SUSPEND", "1");
    MainWndProc(MSG_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(ints(desktop.minimized, suspended, desktop.desktopWindow->canvas.surface.width),
              ints(1u, 1u, 2560));
    EXPECT_STREQ(configGet("FULLSCR"), "1");
    MainWndProc(MSG_SIZE, SIZE_RESTORED, words(2560, 1400));
    EXPECT_EQ(ints(desktop.minimized, suspended), ints(0, 0));
    configSet("SUSPEND", "0");
    MainWndProc(MSG_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(suspended, 0u);
}

TEST_F(MainWindowTest, KeysCharactersAndAlt) {
    KeyboardState& keys = inputState.keys;
    desktop.awake = 0;
    EXPECT_EQ(MainWndProc(MSG_KEY_DOWN, KEY_RIGHT, 0), 0);
    EXPECT_EQ(ints(desktop.awake, keys.lastKey, keys.down[KEY_RIGHT]), ints(1u, KEY_RIGHT, 1));
    MainWndProc(MSG_KEY_UP, KEY_RIGHT, 0);
    EXPECT_EQ(keys.down[KEY_RIGHT], 0);
    EXPECT_EQ(keys.lastKey, KEY_RIGHT); // cleared only after the pass
    MainWndProc(MSG_KEY_DOWN, 0x141, 0);
    EXPECT_EQ(keys.lastKey, 0x41);

    MainWndProc(MSG_CHAR, 13, 0);
    EXPECT_EQ(keys.lastChar, 0);
    MainWndProc(MSG_CHAR, 'a', 0);
    EXPECT_EQ(keys.lastChar, 'a');

    ASSERT_TRUE(shellPass());
    EXPECT_EQ(ints(keys.lastKey, keys.lastChar, keys.down[0x41]), ints(0, 0, 1));

    // Alt alone: altPressed for one pass, no letter.
    MainWndProc(MSG_SYS_KEY_DOWN, KEY_ALT, 0);
    MainWndProc(MSG_SYS_KEY_UP, KEY_ALT, 0);
    EXPECT_EQ(ints(keys.altPressed, keys.altHeld, keys.altLetter, keys.lastKey), ints(1u, 0, 0, 0));
    ASSERT_TRUE(shellPass());
    EXPECT_EQ(keys.altPressed, 0u);

    // Alt+A and Alt+space; system keys never enter down[].
    keys.down[0x41] = 0;
    MainWndProc(MSG_SYS_KEY_DOWN, KEY_ALT, 0);
    EXPECT_EQ(MainWndProc(MSG_SYS_KEY_DOWN, 0x41, 0), 0);
    EXPECT_EQ(keys.altLetter, 0x41);
    EXPECT_EQ(keys.down[0x41], 0);
    ASSERT_TRUE(shellPass());
    MainWndProc(MSG_SYS_KEY_DOWN, KEY_SPACE, 0);
    EXPECT_EQ(keys.altLetter, 0);
    EXPECT_EQ(MainWndProc(MSG_SYS_CHAR, 'a', 0), 0);
    EXPECT_EQ(keys.lastChar, 0);
    MainWndProc(MSG_SYS_KEY_UP, KEY_ALT, 0);
    // A system key without Alt held gives no letter (F10 alone).
    MainWndProc(MSG_SYS_KEY_DOWN, 0x79, 0);
    EXPECT_EQ(keys.altLetter, 0);
}

TEST_F(MainWindowTest, MouseFocusPaintAndWheel) {
    MouseState& mouse = inputState.mouse;
    EXPECT_EQ(MainWndProc(MSG_MOUSE_MOVE, 0, words(120, 45)), 1);
    EXPECT_EQ(ints(mouse.moved, mouse.x, mouse.y), ints(1u, 120, 45));
    // The press reports the last move position.
    MainWndProc(MSG_LEFT_DOWN, 0, words(300, 300));
    EXPECT_EQ(ints(mouse.leftPressed, mouse.pressX, mouse.pressY), ints(1u, 120, 45));
    MainWndProc(MSG_RIGHT_DOWN, 0, 0);
    MainWndProc(MSG_MIDDLE_UP, 0, 0);
    EXPECT_EQ(mouse.rightPressed, 1u);
    EXPECT_EQ(mouse.middleReleased, 1u);
    MainWndProc(MSG_WHEEL, 120, 0);
    EXPECT_EQ(mouse.wheelForward, 1u);
    MainWndProc(MSG_WHEEL, uint32_t(-120), 0);
    EXPECT_EQ(mouse.wheelBackward, 1u);
    ASSERT_TRUE(shellPass());
    EXPECT_EQ(ints(mouse.moved, mouse.leftPressed,
                   mouse.wheelForward + mouse.wheelBackward + mouse.rightPressed, mouse.x),
              ints(0u, 0u, 0u, 120));

    // A negative position from a captured pointer arrives as 16 unsigned bits.
    MainWndProc(MSG_MOUSE_MOVE, 0, words(-1, 3));
    EXPECT_EQ(mouse.x, 65535);

    MainWndProc(MSG_KILL_FOCUS, 0, 0);
    EXPECT_EQ(mouse.leftReleased, 1u);
    desktop.needsRedraw = 0;
    MainWndProc(MSG_PAINT, 0, 0);
    EXPECT_EQ(desktop.needsRedraw, 1u);
}

TEST_F(MainWindowTest, CloseAsksEveryWindowAndTheLoopEndsWhenTheyAreGone) {
    Window* second = createWindow(desktop, -1, -1, 200, 100, "Second", 31, quietProc, 0);
    ASSERT_NE(second, nullptr);
    suspended = 1;
    EXPECT_EQ(MainWndProc(MSG_CLOSE, 0, 0), 0);
    EXPECT_EQ(ints(suspended, second->closeRequested, desktop.desktopWindow->closeRequested),
              ints(0u, 1u, 1u));
    // One window closes per pass, from the top.
    EXPECT_TRUE(shellPass());
    EXPECT_EQ(desktop.count, 1);
    EXPECT_FALSE(shellPass());
    EXPECT_EQ(desktop.count, 0);
}

TEST(MessageLoop, WaitsWhenIdleStandsStillWhenSuspendedAndEndsWithTheDesktop) {
    for (const char* suspend : {"1", "0"}) {
        ASSERT_EQ(scriptedDesktopStart(640, 480, tickCountingProc), nullptr);
        configSet("SUSPEND", suspend);
        loop = LoopScript{};
        loop.onWakeUp = minimiseForFiveWakeUps;
        loop.queue.push_back({MSG_SIZE, SIZE_MINIMIZED, 0});
        runMessageLoop(scriptedMessages);
        EXPECT_EQ(desktop.count, 0) << suspend;
        EXPECT_EQ(loop.wakeUps, 8) << suspend;
        if (suspend[0] == '1') {
            // No pass at all until the window was restored, then one a wake-up.
            EXPECT_EQ(ints(loop.ticksAtWakeUp[4], loop.ticksAtWakeUp[5], loop.ticksAtWakeUp[6]),
                      ints(0, 1, 2));
        } else {
            // Minimised without suspension: a pass after every wake-up.
            EXPECT_EQ(loop.ticksAtWakeUp[0], 1);
            EXPECT_EQ(loop.ticksAtWakeUp[4], 5);
        }
        scriptedDesktopStop();
    }
}

TEST(ShellStart, PlatformAndDesktopFailuresAreReported) {
    // A failed desktop still writes Cfg.txt, so this runs in a folder of its own.
    TempDir folder("mainwnd");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.path);
    scriptedPlatformStart(640, 480);
    shellBegin();
    scriptFailPlatformInit(3);
    EXPECT_STREQ(shellStartDesktop(640, 480), "Failed to init timer");
    scriptFailPlatformInit(0);
    // The desktop bitmap is the first thing the desktop asks for.
    scriptSetBitmapBudget(0);
    EXPECT_STREQ(shellStartDesktop(640, 480), "Failed to init desktop window");
    scriptSetBitmapBudget(-1);
    EXPECT_EQ(platform.clientWidth, 640);
    EXPECT_TRUE(std::filesystem::exists(folder.path / "Cfg.txt"));
    scriptedDesktopStop();
    std::filesystem::current_path(previous);
}

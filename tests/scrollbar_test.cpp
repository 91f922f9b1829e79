// The scroll bars: their geometry, and the mouse on the scripted desktop.
#include "widgets/scrollbar.h"

#include "platform/platform_script.h"
#include "tests/support/desktop_env.h"
#include "tests/support/golden.h"
#include "tests/support/ints.h"
#include "toolkit/desktop.h"
#include <gtest/gtest.h>
#include <tuple>

namespace {

VScrollBar* vbar;
HScrollBar* hbar;
int used; // what the last update of a bar returned

// The desktop window updates the bars it is given on every Tick; it lies at
// (0, 0), so client and pointer coordinates are the same.
void BarWindowProc(Window* w, uint32_t) {
    if (w->message == Tick) {
        used = vbar != nullptr ? vscrollUpdate(*vbar) : 0;
        used = hbar != nullptr ? hscrollUpdate(*hbar) : used;
    }
}

class ScrollBarTest : public ::testing::Test {
  protected:
    void SetUp() override { start(320, 240); }
    void TearDown() override {
        desktop.current = nullptr;
        scriptedDesktopStop();
    }
    void start(int32_t width, int32_t height) {
        vbar = nullptr;
        hbar = nullptr;
        ASSERT_EQ(scriptedDesktopStart(width, height, BarWindowProc), nullptr);
        // The first composition, which lets go of the button and leaves the
        // desktop window current.
        play("+0");
    }
    // Plays each step, then checks what the update returned and the bar's
    // position: the entry on top, or the horizontal one's pixel.
    void steps(std::initializer_list<std::tuple<const char*, int, int32_t>> list) {
        for (const auto& [script, wantUsed, position] : list) {
            play(script);
            EXPECT_EQ(ints(used, vbar != nullptr ? vbar->top : hbar->pos), ints(wantUsed, position))
                << script << " at " << playClock();
        }
    }
    VScrollBar v{};
    HScrollBar h{};
};

std::vector<int64_t> vstate(const VScrollBar& b) {
    return ints(b.top, b.offset, b.thumbPos, b.thumb.y, b.trackAfter.y, b.trackAfter.height);
}

std::vector<int64_t> hstate(const HScrollBar& b) {
    return ints(b.pos, b.thumbPos, b.thumb.x, b.trackBefore.width, b.trackAfter.x,
                b.trackAfter.width);
}

TEST_F(ScrollBarTest, ThumbsAndTracksFollowThePositionToTheLastWholePageExactly) {
    vscrollCreate(v, 50, 20, 100, 100, 0, 10, 14);
    EXPECT_EQ(ints(v.total, v.thumb.height, v.travel, v.maxScroll, v.disabled,
                   vscrollPageEntries(v), v.downButton.y),
              ints(140, 45, 19, 40, 0, 7, 102));
    EXPECT_EQ(rectInts(v.dragBand), ints(18, 20, 82, 100));
    EXPECT_EQ(rectInts(v.trackBefore), ints(50, 38, 18, 0));
    // thumb y, then the track after it: from 38 + thumbPos + 45 to 102.
    // Dragging rounds to the next whole entry upwards.
    const std::tuple<void (*)(VScrollBar&, int32_t), int32_t, std::vector<int64_t>> moves[] = {
        {vscrollTo, 1, ints(1, 14, 6, 44, 89, 13)},
        {vscrollTo, 9, ints(3, 42, 19, 57, 102, 0)},
        {vscrollTo, -5, ints(0, 0, 0, 38, 83, 19)},
        {vscrollDragTo, 10, ints(2, 21, 10, 48, 93, 9)},
        {vscrollDragTo, 500, ints(3, 40, 19, 57, 102, 0)},
        {vscrollDragTo, -3, ints(0, 0, 0, 38, 83, 19)}};
    for (const auto& [move, to, state] : moves) {
        move(v, to);
        EXPECT_EQ(vstate(v), state) << to;
    }

    // Content that fits: a full-length thumb and a bar deaf to input.
    vscrollCreate(v, 0, 0, 100, 140, 4, 10, 14);
    EXPECT_EQ(ints(v.disabled, v.total, v.thumb.height, v.travel, v.top, vscrollPageEntries(v)),
              ints(1, 140, 64, 0, 0, 0));
    vbar = &v;
    steps({{"5,95 d +1000", 0, 0}});
    // Nothing to show at all; a new content asks for a redraw.
    desktop.current->redrawRequested = 0;
    vscrollSetContent(v, 0, 0, 0);
    EXPECT_EQ(ints(v.disabled, v.thumb.height, desktop.current->redrawRequested), ints(1, 64, 1));
    // A bar too short for its thumb cannot be positioned; inert records
    // react to nothing.
    vscrollCreate(v, 0, 0, 40, 10, 0, 10, 14);
    EXPECT_EQ(ints(v.thumb.height, v.travel), ints(7, -3));
    vscrollTo(v, 5);
    vscrollDragTo(v, 2);
    EXPECT_EQ(ints(v.top, v.thumbPos), ints(5, 0));
    VScrollBar inert{};
    vscrollTo(inert, 3);
    vbar = &inert;
    steps({{"w- +100", 0, 0}});

    // Long content stays exact within 32 bits: offsets of 2^20 and more take
    // the thumb from offsets divided by 1024.
    vscrollCreate(v, 0, 0, 100, 100, 0, 100000, 14);
    EXPECT_EQ(ints(v.thumb.height, v.travel), ints(7, 57));
    const std::tuple<int32_t, int32_t, int32_t, int32_t> far[] = {
        {74898, 74898, 1048572, 42}, {80000, 80000, 1120000, 45}, {100000, 99993, 1399902, 57}};
    for (const auto& [to, top, offset, thumbPos] : far) {
        vscrollTo(v, to);
        EXPECT_EQ(ints(v.top, v.offset, v.thumbPos), ints(top, offset, thumbPos)) << to;
    }

    // The horizontal bar's thumb and tracks follow its pixel position.
    hscrollCreate(h, 10, 200, 200, 500, 0);
    // thumb 200 * 164 / 500 = 65, travel 99, maxScroll 300.
    EXPECT_EQ(ints(h.thumb.width, h.travel, h.maxScroll, h.disabled, h.rightButton.x),
              ints(65, 99, 300, 0, 192));
    EXPECT_EQ(rectInts(h.dragBand), ints(10, 168, 200, 82));
    EXPECT_EQ(hstate(h), ints(0, 0, 28, 0, 93, 99));
    const std::tuple<void (*)(HScrollBar&, int32_t), int32_t, std::vector<int64_t>> hmoves[] = {
        {hscrollTo, 150, ints(150, 49, 77, 49, 142, 50)},
        {hscrollTo, -5, ints(0, 0, 28, 0, 93, 99)},
        {hscrollTo, 1000, ints(300, 99, 127, 99, 192, 0)},
        {hscrollDragTo, 50, ints(151, 50, 78, 50, 143, 49)},
        {hscrollDragTo, -20, ints(0, 0, 28, 0, 93, 99)}};
    for (const auto& [move, to, state] : hmoves) {
        move(h, to);
        EXPECT_EQ(hstate(h), state) << to;
    }
    hscrollSetContent(h, 4000, 3000);
    EXPECT_EQ(ints(h.thumb.width, h.travel, h.maxScroll), ints(8, 156, 3800));
    EXPECT_EQ(hstate(h), ints(3000, 123, 151, 123, 159, 33));
    // Content that fits, also when it shrinks under a scrolled bar.
    hscrollSetContent(h, 150, 0);
    EXPECT_EQ(ints(h.disabled, h.pos, h.thumbPos), ints(1, 0, 0));
    hscrollCreate(h, 0, 200, 150, 120, 30);
    EXPECT_EQ(ints(h.disabled, h.pos, h.thumb.width, h.total), ints(1, 0, 114, 150));
    hbar = &h;
    steps({{"w- +1000", 0, 0}});
    hscrollCreate(h, 0, 0, 100, 100000, 0);
    EXPECT_EQ(ints(h.thumb.width, h.travel), ints(7, 57));
}

TEST_F(ScrollBarTest, HeldArrowsRepeatQuickClicksStepOnceAndADraggedThumbKeepsItsGrabPoint) {
    vscrollCreate(v, 100, 10, 200, 140, 0, 100, 14);
    // trackLength 164, thumb 140 * 164 / 1400 = 16, travel 148.
    ASSERT_EQ(ints(v.thumb.height, v.travel), ints(16, 148));
    vbar = &v;
    // The down arrow held; off the bar the repeat pauses, back on it goes on.
    steps({{"105,200 d +0", 1, 1},
           {"+199", 1, 1},
           {"+1", 1, 2},
           {"+49", 1, 2},
           {"+1", 1, 3},
           {"60,200 +50", 1, 3},
           {"+100", 1, 3}});
    EXPECT_EQ(v.hoveredPart, SCROLL_PART_NONE);
    steps({{"110,205 +10", 1, 4}, {"u +10", 1, 4}});
    EXPECT_EQ(v.repeating, 0u);
    // The track pages by the entries of one view, every 200 ms, and stops
    // once the thumb has come under the pointer.
    steps({{"+80", 0, 4}, {"105,170 d +500", 1, 14}});
    EXPECT_EQ(v.repeatInterval, 200);
    steps({{"+199", 1, 14}, {"+1 +200 +200 +200 +200 +200 +200 +200 +200 +200", 1, 84}});
    EXPECT_EQ(v.thumb.y, 166);
    // The wheel: three entries a turn; and the up arrow one.
    steps({{"u +100", 1, 84}, {"w- +900", 1, 87}, {"w+ w+ +10", 1, 84}, {"105,15 d +10", 1, 83}});
    EXPECT_EQ(v.repeatInterval, 50);
    // A click quicker than a pass (press and release in the same one) steps
    // once: nothing stays held to repeat or drag while the button is up.
    vscrollTo(v, 0);
    steps({{"u +10", 1, 0},
           {"105,200 d u +0", 1, 1}, // the down arrow
           {"+500", 0, 1},
           {"105,35 d u +500", 1, 1}, // the thumb
           {"105,150 +10", 0, 1},
           {"60,150 d u +10", 0, 1}}); // beside the bar: not the bar's

    // The dragged thumb keeps the grab point within 32 pixels of the bar.
    vscrollTo(v, 0);
    steps({{"108,35 d +0", 1, 0}}); // 7 pixels into the thumb
    EXPECT_EQ(v.dragging, 1u);
    const std::tuple<const char*, int32_t> moves[] = {{"68,75 +10", 40},  {"67,95 +10", 40},
                                                      {"149,95 +10", 60}, {"150,65 +10", 60},
                                                      {"110,5 +10", 60},  {"110,12 +10", 0}};
    for (const auto& [script, thumbPos] : moves) {
        play(script);
        EXPECT_EQ(ints(used, v.thumbPos), ints(1, thumbPos)) << script;
    }
    play("110,95 +10");
    EXPECT_EQ(ints(v.thumbPos, v.offset, v.top), ints(60, 510, 37));
    steps({{"u +20", 1, 37}});
    EXPECT_EQ(v.dragging, 0u);

    // The horizontal bar the same way, on the other axis.
    vbar = nullptr;
    hbar = &h;
    hscrollCreate(h, 10, 200, 200, 500, 0);
    play("30,205 d +1000");
    const std::tuple<const char*, int32_t> hmoves[] = {
        {"80,168 +10", 50}, {"80,167 +10", 50}, {"90,249 +10", 60}, {"100,250 +10", 60}};
    for (const auto& [script, thumbPos] : hmoves) {
        play(script);
        EXPECT_EQ(h.thumbPos, thumbPos) << script;
    }
    // Arrows move 8 pixels, the track 40, the wheel 25.
    steps({{"u +10", 1, 181},
           {"15,205 d +10 u +10", 1, 173},
           {"195,205 d +10 u +10", 1, 181},
           {"40,205 d +10 u +10", 1, 141},
           {"190,205 d +10 u +10", 1, 181},
           {"w+ +10", 1, 156}});
}

TEST_F(ScrollBarTest, HeldArrowsLookPressedAndTheTrackHasItsOwnColour) {
    scriptedDesktopStop();
    start(160, 128);
    vscrollCreate(v, 4, 4, 100, 100, 0, 10, 14);
    vscrollTo(v, 1);
    hscrollCreate(h, 30, 80, 120, 300, 60);
    vbar = &v;
    hbar = &h;
    play("140,85 d +0"); // the horizontal bar's right arrow
    play("10,10 d +0");  // the vertical bar's up arrow
    canvasClear(desktop.desktopWindow->canvas);
    vscrollDraw(v);
    hscrollDraw(h);
    // Held and still under the pointer, pressed in; held but left, raised.
    play("+300");
    EXPECT_EQ(ints(h.pos, v.top, h.hoveredPart), ints(68, 0, SCROLL_PART_NONE));
    HScrollBar left = h;
    left.leftButton.y = left.rightButton.y = left.thumb.y = left.trackBefore.y = left.trackAfter.y =
        104;
    hscrollDraw(left);
    EXPECT_TRUE(matchesGolden("scrollbars", desktop.desktopWindow->canvas.surface));
    // Each bar's other arrow held: that arrow's top-left corner turns from
    // the light edge of a raised bevel to the dark one of a sunken one.
    const uint16_t* pixels = desktop.desktopWindow->canvas.surface.pixels;
    auto corner = [pixels](const Rect& r) { return pixels[r.y * 160 + r.x]; };
    left.repeating = v.repeating = 1;
    left.pressedPart = left.hoveredPart = v.pressedPart = v.hoveredPart = SCROLL_PART_FIRST_ARROW;
    hscrollDraw(left);
    EXPECT_EQ(ints(corner(left.leftButton), corner(left.rightButton)), ints(0x31C8, 0xAD99));
    v.pressedPart = v.hoveredPart = SCROLL_PART_SECOND_ARROW;
    vscrollDraw(v);
    EXPECT_EQ(ints(corner(v.upButton), corner(v.downButton)), ints(0xAD99, 0x31C8));
}

} // namespace

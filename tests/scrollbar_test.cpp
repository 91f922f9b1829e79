#include "widgets/scrollbar.h"

#include "platform/platform_script.h"
#include "tests/support/desktop_env.h"
#include "tests/support/golden.h"
#include "tests/support/ints.h"
#include "toolkit/desktop.h"
#include <gtest/gtest.h>

namespace {

void QuietWindowProc(Window*, uint32_t) {}

// Bars are polled on the desktop window, which lies at (0, 0), so client and
// pointer coordinates are the same.
struct BarDesk {
    explicit BarDesk(int32_t width = 320, int32_t height = 240) {
        EXPECT_EQ(scriptedDesktopStart(width, height, QuietWindowProc), nullptr);
        desktop.current = desktop.desktopWindow;
    }
    ~BarDesk() {
        desktop.current = nullptr;
        scriptedDesktopStop();
    }
    // One update pass's worth of input: the clock, then the bar, then the
    // one-pass events are cleared as the main loop does.
    template <typename Bar, typename Update> int pass(Bar& bar, Update update, uint32_t now) {
        scriptSetTime(now);
        clockSample(inputState);
        used = update(bar);
        mouseClearEvents(inputState.mouse);
        return used;
    }
    int used = 0; // what the last pass's update returned
    int vpass(VScrollBar& bar, uint32_t now) { return pass(bar, vscrollUpdate, now); }
    int hpass(HScrollBar& bar, uint32_t now) { return pass(bar, hscrollUpdate, now); }
};

std::vector<int64_t> vstate(const VScrollBar& b) {
    return ints(b.top, b.offset, b.thumbPos, b.thumb.y, b.trackAfter.y, b.trackAfter.height);
}

std::vector<int64_t> hstate(const HScrollBar& b) {
    return ints(b.pos, b.thumbPos, b.thumb.x, b.trackBefore.width, b.trackAfter.x,
                b.trackAfter.width);
}

TEST(ScrollBar, TenEntriesOfFourteenPixelsStopAtTheLastWholePage) {
    BarDesk desk;
    VScrollBar bar{};
    vscrollCreate(bar, 50, 20, 100, 100, 0, 10, 14);
    EXPECT_EQ(ints(bar.total, bar.thumb.height, bar.travel, bar.maxScroll, bar.disabled,
                   vscrollPageEntries(bar), bar.downButton.y),
              ints(140, 45, 19, 40, 0, 7, 102));
    EXPECT_EQ(rectInts(bar.dragBand), ints(18, 20, 82, 100));
    EXPECT_EQ(rectInts(bar.trackBefore), ints(50, 38, 18, 0));
    // thumb y, then the track after it: from 38 + thumbPos + 45 to 102.
    vscrollTo(bar, 1);
    EXPECT_EQ(vstate(bar), ints(1, 14, 6, 44, 89, 13));
    vscrollTo(bar, 9);
    EXPECT_EQ(vstate(bar), ints(3, 42, 19, 57, 102, 0));
    vscrollTo(bar, -5);
    EXPECT_EQ(vstate(bar), ints(0, 0, 0, 38, 83, 19));
    // Dragging rounds to the next whole entry upwards.
    vscrollDragTo(bar, 10);
    EXPECT_EQ(vstate(bar), ints(2, 21, 10, 48, 93, 9));
    vscrollDragTo(bar, 500);
    EXPECT_EQ(vstate(bar), ints(3, 40, 19, 57, 102, 0));
    vscrollDragTo(bar, -3);
    EXPECT_EQ(vstate(bar), ints(0, 0, 0, 38, 83, 19));

    // Content that fits: a full-length thumb and a bar deaf to input.
    vscrollCreate(bar, 0, 0, 100, 140, 4, 10, 14);
    EXPECT_EQ(ints(bar.disabled, bar.total, bar.thumb.height, bar.travel, bar.top,
                   vscrollPageEntries(bar)),
              ints(1, 140, 64, 0, 0, 0));
    scriptMouseMove(5, 95);
    scriptLeftDown();
    EXPECT_EQ(desk.vpass(bar, 2000), 0);
    // Nothing to show at all; a new content asks for a redraw.
    desktop.current->redrawRequested = 0;
    vscrollSetContent(bar, 0, 0, 0);
    EXPECT_EQ(ints(bar.disabled, bar.thumb.height, desktop.current->redrawRequested),
              ints(1, 64, 1));
    // A bar too short for its thumb cannot be positioned; inert records
    // react to nothing.
    vscrollCreate(bar, 0, 0, 40, 10, 0, 10, 14);
    EXPECT_EQ(ints(bar.thumb.height, bar.travel), ints(7, -3));
    vscrollTo(bar, 5);
    vscrollDragTo(bar, 2);
    EXPECT_EQ(ints(bar.top, bar.thumbPos), ints(5, 0));
    VScrollBar inert{};
    vscrollTo(inert, 3);
    scriptWheel(-1);
    EXPECT_EQ(ints(inert.top, desk.vpass(inert, 2100)), ints(0, 0));
}

TEST(ScrollBar, HorizontalThumbAndTracksFollowThePixelPosition) {
    BarDesk desk;
    HScrollBar h{};
    hscrollCreate(h, 10, 200, 200, 500, 0);
    // thumb 200 * 164 / 500 = 65, travel 99, maxScroll 300.
    EXPECT_EQ(ints(h.thumb.width, h.travel, h.maxScroll, h.disabled, h.rightButton.x),
              ints(65, 99, 300, 0, 192));
    EXPECT_EQ(rectInts(h.dragBand), ints(10, 168, 200, 82));
    EXPECT_EQ(hstate(h), ints(0, 0, 28, 0, 93, 99));
    hscrollTo(h, 150);
    EXPECT_EQ(hstate(h), ints(150, 49, 77, 49, 142, 50));
    hscrollTo(h, -5);
    EXPECT_EQ(hstate(h), ints(0, 0, 28, 0, 93, 99));
    hscrollTo(h, 1000);
    EXPECT_EQ(hstate(h), ints(300, 99, 127, 99, 192, 0));
    hscrollDragTo(h, 50);
    EXPECT_EQ(hstate(h), ints(151, 50, 78, 50, 143, 49));
    hscrollDragTo(h, -20);
    EXPECT_EQ(hstate(h), ints(0, 0, 28, 0, 93, 99));
    hscrollSetContent(h, 4000, 3000);
    EXPECT_EQ(ints(h.thumb.width, h.travel, h.maxScroll), ints(8, 156, 3800));
    EXPECT_EQ(hstate(h), ints(3000, 123, 151, 123, 159, 33));
    // Content that fits, also when it shrinks under a scrolled bar.
    hscrollSetContent(h, 150, 0);
    EXPECT_EQ(ints(h.disabled, h.pos, h.thumbPos), ints(1, 0, 0));
    hscrollCreate(h, 0, 200, 150, 120, 30);
    EXPECT_EQ(ints(h.disabled, h.pos, h.thumb.width, h.total), ints(1, 0, 114, 150));
    scriptWheel(-1);
    EXPECT_EQ(desk.hpass(h, 2000), 0);
    hscrollCreate(h, 0, 0, 100, 100000, 0);
    EXPECT_EQ(ints(h.thumb.width, h.travel), ints(7, 57));
}

TEST(ScrollBar, HeldArrowRepeatsAfter200MsThenEvery50AndPausesOffTheArrow) {
    BarDesk desk;
    VScrollBar bar{};
    vscrollCreate(bar, 100, 10, 200, 140, 0, 100, 14);
    scriptMouseMove(105, 200); // the down arrow
    scriptLeftDown();
    const std::pair<uint32_t, int32_t> steps[] = {
        {1000, 1}, {1199, 1}, {1200, 2}, {1249, 2}, {1250, 3}};
    for (const auto& [now, top] : steps) {
        desk.vpass(bar, now);
        EXPECT_EQ(ints(desk.used, bar.top), ints(1, top)) << now;
    }
    scriptMouseMove(60, 200); // off the bar
    EXPECT_EQ(desk.vpass(bar, 1300), 1);
    EXPECT_EQ(desk.vpass(bar, 1400), 1);
    EXPECT_EQ(ints(bar.top, bar.hoveredPart), ints(3, SCROLL_PART_NONE));
    scriptMouseMove(110, 205);
    desk.vpass(bar, 1410);
    EXPECT_EQ(ints(desk.used, bar.top), ints(1, 4));
    scriptLeftUp();
    desk.vpass(bar, 1420);
    EXPECT_EQ(ints(desk.used, bar.repeating), ints(1, 0));
    desk.vpass(bar, 1500);
    EXPECT_EQ(ints(desk.used, bar.top), ints(0, 4));

    // The track pages by the entries of one view, every 200 ms, and stops
    // once the thumb has come under the pointer.
    scriptMouseMove(105, 170);
    scriptLeftDown();
    desk.vpass(bar, 2000);
    EXPECT_EQ(ints(desk.used, bar.top, bar.repeatInterval), ints(1, 14, 200));
    EXPECT_EQ(desk.vpass(bar, 2199), 1);
    EXPECT_EQ(bar.top, 14);
    for (uint32_t t = 2200; t <= 4000; t += 200) {
        desk.vpass(bar, t);
    }
    EXPECT_EQ(ints(bar.top, bar.thumb.y), ints(84, 166));
    scriptLeftUp();
    desk.vpass(bar, 4100);
    // The wheel: three entries a turn; and the up arrow one.
    scriptWheel(-120);
    desk.vpass(bar, 5000);
    EXPECT_EQ(ints(desk.used, bar.top), ints(1, 87));
    scriptWheel(120);
    scriptWheel(120);
    desk.vpass(bar, 5010);
    EXPECT_EQ(ints(desk.used, bar.top), ints(1, 84));
    scriptMouseMove(105, 15);
    scriptLeftDown();
    desk.vpass(bar, 5020);
    EXPECT_EQ(ints(desk.used, bar.top, bar.repeatInterval), ints(1, 83, 50));
}

TEST(ScrollBar, DraggedThumbKeepsTheGrabPointWithin32PixelsOfTheBar) {
    BarDesk desk;
    VScrollBar bar{};
    vscrollCreate(bar, 100, 10, 200, 140, 0, 100, 14);
    // trackLength 164, thumb 140 * 164 / 1400 = 16, travel 148.
    ASSERT_EQ(ints(bar.thumb.height, bar.travel), ints(16, 148));
    scriptMouseMove(108, 35); // 7 pixels into the thumb
    scriptLeftDown();
    desk.vpass(bar, 1000);
    EXPECT_EQ(ints(desk.used, bar.dragging), ints(1, 1));
    const struct {
        int32_t x, y, thumbPos;
    } moves[] = {{68, 75, 40},  {67, 95, 40}, {149, 95, 60},
                 {150, 65, 60}, {110, 5, 60}, {110, 12, 0}};
    for (const auto& m : moves) {
        scriptMouseMove(m.x, m.y);
        desk.vpass(bar, 1010);
        EXPECT_EQ(ints(desk.used, bar.thumbPos), ints(1, m.thumbPos)) << m.x;
    }
    scriptMouseMove(110, 95);
    desk.vpass(bar, 1020);
    EXPECT_EQ(ints(bar.thumbPos, bar.offset, bar.top), ints(60, 510, 37));
    scriptLeftUp();
    desk.vpass(bar, 1040);
    EXPECT_EQ(ints(desk.used, bar.dragging), ints(1, 0));

    // The horizontal bar the same way, on the other axis.
    HScrollBar h{};
    hscrollCreate(h, 10, 200, 200, 500, 0);
    scriptMouseMove(30, 205);
    scriptLeftDown();
    desk.hpass(h, 2000);
    const struct {
        int32_t x, y, thumbPos;
    } hmoves[] = {{80, 168, 50}, {80, 167, 50}, {90, 249, 60}, {100, 250, 60}};
    for (const auto& m : hmoves) {
        scriptMouseMove(m.x, m.y);
        desk.hpass(h, 2010);
        EXPECT_EQ(h.thumbPos, m.thumbPos) << m.y;
    }
    // Arrows move 8 pixels, the track 40, the wheel 25.
    scriptLeftUp();
    desk.hpass(h, 2020);
    const struct {
        int32_t x;
        int32_t pos;
    } presses[] = {{15, 173}, {195, 181}, {40, 141}, {190, 181}};
    for (const auto& p : presses) {
        scriptMouseMove(p.x, 205);
        scriptLeftDown();
        desk.hpass(h, 3000);
        scriptLeftUp();
        desk.hpass(h, 3010);
        EXPECT_EQ(h.pos, p.pos) << p.x;
    }
    scriptWheel(1);
    desk.hpass(h, 3020);
    EXPECT_EQ(h.pos, 156);
}

TEST(ScrollBar, LongContentStaysExactWithinThirtyTwoBits) {
    BarDesk desk;
    VScrollBar bar{};
    vscrollCreate(bar, 0, 0, 100, 100, 0, 100000, 14);
    EXPECT_EQ(ints(bar.thumb.height, bar.travel), ints(7, 57));
    // Offsets of 2^20 and more take the thumb from offsets divided by 1024.
    vscrollTo(bar, 74898);
    EXPECT_EQ(ints(bar.offset, bar.thumbPos), ints(1048572, 42));
    vscrollTo(bar, 80000);
    EXPECT_EQ(ints(bar.offset, bar.thumbPos), ints(1120000, 45));
    vscrollTo(bar, 100000);
    EXPECT_EQ(ints(bar.top, bar.thumbPos), ints(99993, 57));
}

TEST(ScrollBar, HeldArrowsLookPressedAndTheTrackHasItsOwnColour) {
    BarDesk desk(160, 128);
    VScrollBar bar{};
    HScrollBar h{};
    vscrollCreate(bar, 4, 4, 100, 100, 0, 10, 14);
    vscrollTo(bar, 1);
    hscrollCreate(h, 30, 80, 120, 300, 60);
    scriptMouseMove(140, 85); // the horizontal bar's right arrow
    scriptLeftDown();
    desk.hpass(h, 1000);
    scriptMouseMove(10, 10); // the vertical bar's up arrow
    scriptLeftDown();
    desk.vpass(bar, 1000);
    canvasClear(desktop.desktopWindow->canvas);
    vscrollDraw(bar);
    hscrollDraw(h);
    // Held and still under the pointer, pressed in; held but left, raised.
    desk.hpass(h, 1300);
    EXPECT_EQ(ints(h.pos, bar.top, h.hoveredPart), ints(68, 0, SCROLL_PART_NONE));
    HScrollBar left = h;
    left.leftButton.y = left.rightButton.y = left.thumb.y = left.trackBefore.y = left.trackAfter.y =
        104;
    hscrollDraw(left);
    EXPECT_TRUE(matchesGolden("scrollbars", desktop.desktopWindow->canvas.surface));
    // Each bar's other arrow held: that arrow's top-left corner turns from
    // the light edge of a raised bevel to the dark one of a sunken one.
    const uint16_t* pixels = desktop.desktopWindow->canvas.surface.pixels;
    auto corner = [pixels](const Rect& r) { return pixels[r.y * 160 + r.x]; };
    left.repeating = bar.repeating = 1;
    left.pressedPart = left.hoveredPart = bar.pressedPart = bar.hoveredPart =
        SCROLL_PART_FIRST_ARROW;
    hscrollDraw(left);
    EXPECT_EQ(ints(corner(left.leftButton), corner(left.rightButton)), ints(0x31C8, 0xAD99));
    bar.pressedPart = bar.hoveredPart = SCROLL_PART_SECOND_ARROW;
    vscrollDraw(bar);
    EXPECT_EQ(ints(corner(bar.upButton), corner(bar.downButton)), ints(0xAD99, 0x31C8));
}

// A click quicker than a pass (press and release in the same one) steps
// once: nothing stays held to repeat or drag while the button is up.
TEST(ScrollBar, AClickWithinOnePassStepsOnceAndHoldsNothing) {
    BarDesk desk;
    VScrollBar bar{};
    vscrollCreate(bar, 100, 10, 200, 140, 0, 100, 14);
    scriptMouseMove(105, 200); // the down arrow
    scriptLeftDown();
    scriptLeftUp();
    EXPECT_EQ(desk.vpass(bar, 1000), 1);
    EXPECT_EQ(desk.vpass(bar, 1500), 0);
    EXPECT_EQ(bar.top, 1);

    scriptMouseMove(105, 35); // the thumb
    scriptLeftDown();
    scriptLeftUp();
    EXPECT_EQ(desk.vpass(bar, 2000), 1);
    scriptMouseMove(105, 150);
    EXPECT_EQ(desk.vpass(bar, 2010), 0);
    EXPECT_EQ(bar.top, 1);
}

} // namespace

#include "widgets/scrollbar.h"

#include "platform/platform_script.h"
#include "tests/support/desktop_env.h"
#include "toolkit/desktop.h"
#include <gtest/gtest.h>

namespace {

void QuietWindowProc(Window*, uint32_t) {}

// Bars are polled on the desktop window, which lies at (0, 0), so client and
// pointer coordinates are the same.
struct BarDesk {
    BarDesk() {
        EXPECT_EQ(scriptedDesktopStart(320, 240, QuietWindowProc), nullptr);
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
        int used = update(bar);
        mouseClearEvents(inputState.mouse);
        keysClearEvents(inputState.keys);
        return used;
    }
    int vpass(VScrollBar& bar, uint32_t now) { return pass(bar, vscrollUpdate, now); }
    int hpass(HScrollBar& bar, uint32_t now) { return pass(bar, hscrollUpdate, now); }
};

TEST(ScrollBar, TenEntriesOfFourteenPixelsStopAtTheLastWholePage) {
    BarDesk desk;
    VScrollBar bar{};
    vscrollCreate(bar, 50, 20, 100, 100, 0, 10, 14);
    EXPECT_EQ(bar.total, 140);
    EXPECT_EQ(bar.thumb.height, 45);
    EXPECT_EQ(bar.travel, 19);
    EXPECT_EQ(bar.maxScroll, 40);
    EXPECT_EQ(bar.disabled, 0u);
    EXPECT_EQ(vscrollPageEntries(bar), 7);

    vscrollTo(bar, 1);
    EXPECT_EQ(bar.top, 1);
    EXPECT_EQ(bar.offset, 14);
    EXPECT_EQ(bar.thumbPos, 19 * 14 / 40);

    vscrollTo(bar, 9);
    EXPECT_EQ(bar.top, 3);
    EXPECT_EQ(bar.offset, 42);
    EXPECT_EQ(bar.thumbPos, 19);
    EXPECT_EQ(bar.thumb.y, 20 + 18 + 19);
    EXPECT_EQ(bar.trackBefore.y, 38);
    EXPECT_EQ(bar.trackBefore.height, 19);
    EXPECT_EQ(bar.trackAfter.y, 20 + 18 + 19 + 45);
    EXPECT_EQ(bar.trackAfter.height, 0);
    EXPECT_EQ(bar.downButton.y, 102);

    vscrollTo(bar, -5);
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(bar.thumbPos, 0);

    // Dragging rounds to the next whole entry upwards.
    vscrollDragTo(bar, 10);
    EXPECT_EQ(bar.offset, 40 * 10 / 19);
    EXPECT_EQ(bar.top, 2);
    vscrollDragTo(bar, 500);
    EXPECT_EQ(bar.thumbPos, 19);
    EXPECT_EQ(bar.offset, 40);
    EXPECT_EQ(bar.top, 3);
}

TEST(ScrollBar, ContentThatFitsGivesAFullThumbAndADeafBar) {
    BarDesk desk;
    VScrollBar bar{};
    vscrollCreate(bar, 0, 0, 100, 140, 4, 10, 14);
    EXPECT_EQ(bar.disabled, 1u);
    EXPECT_EQ(bar.total, 140);
    EXPECT_EQ(bar.thumb.height, 64);
    EXPECT_EQ(bar.travel, 0);
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(vscrollPageEntries(bar), 0);
    scriptMouseMove(5, 95);
    scriptLeftDown();
    EXPECT_EQ(desk.vpass(bar, 2000), 0);
    EXPECT_EQ(bar.top, 0);

    HScrollBar h{};
    hscrollCreate(h, 0, 200, 150, 120, 30);
    EXPECT_EQ(h.disabled, 1u);
    EXPECT_EQ(h.pos, 0);
    EXPECT_EQ(h.thumb.width, 114);
    scriptWheel(-1);
    EXPECT_EQ(desk.hpass(h, 2000), 0);

    // Inert records draw and react to nothing.
    VScrollBar inert{};
    vscrollTo(inert, 3);
    EXPECT_EQ(inert.top, 0);
    scriptWheel(-1);
    EXPECT_EQ(desk.vpass(inert, 2100), 0);
}

TEST(ScrollBar, HeldArrowRepeatsAfter200MsThenEvery50AndPausesOffTheArrow) {
    BarDesk desk;
    VScrollBar bar{};
    vscrollCreate(bar, 100, 10, 200, 140, 0, 100, 14);
    scriptMouseMove(105, 200); // the down arrow
    scriptLeftDown();
    EXPECT_EQ(desk.vpass(bar, 1000), 1);
    EXPECT_EQ(bar.top, 1);
    EXPECT_EQ(desk.vpass(bar, 1199), 1);
    EXPECT_EQ(bar.top, 1);
    EXPECT_EQ(desk.vpass(bar, 1200), 1);
    EXPECT_EQ(bar.top, 2);
    EXPECT_EQ(desk.vpass(bar, 1249), 1);
    EXPECT_EQ(bar.top, 2);
    EXPECT_EQ(desk.vpass(bar, 1250), 1);
    EXPECT_EQ(bar.top, 3);

    scriptMouseMove(60, 200); // off the bar
    EXPECT_EQ(desk.vpass(bar, 1300), 1);
    EXPECT_EQ(desk.vpass(bar, 1400), 1);
    EXPECT_EQ(bar.top, 3);
    EXPECT_EQ(bar.hoveredPart, SCROLL_PART_NONE);
    scriptMouseMove(110, 205);
    EXPECT_EQ(desk.vpass(bar, 1410), 1);
    EXPECT_EQ(bar.top, 4);

    scriptLeftUp();
    EXPECT_EQ(desk.vpass(bar, 1420), 1);
    EXPECT_EQ(bar.repeating, 0u);
    EXPECT_EQ(desk.vpass(bar, 1500), 0);
    EXPECT_EQ(bar.top, 4);

    // The track pages by the entries of one view, every 200 ms, and stops
    // once the thumb has come under the pointer.
    scriptMouseMove(105, 170);
    scriptLeftDown();
    EXPECT_EQ(desk.vpass(bar, 2000), 1);
    EXPECT_EQ(bar.top, 4 + 10);
    EXPECT_EQ(bar.repeatInterval, 200);
    for (uint32_t t = 2200; t <= 4000; t += 200) {
        desk.vpass(bar, t);
    }
    EXPECT_TRUE(bar.thumb.y <= 170 && 170 < bar.thumb.y + bar.thumb.height);
    const int32_t stoppedAt = bar.top;
    desk.vpass(bar, 4200);
    EXPECT_EQ(bar.top, stoppedAt);
}

TEST(ScrollBar, DraggedThumbKeepsTheGrabPointWithin32PixelsOfTheBar) {
    BarDesk desk;
    VScrollBar bar{};
    vscrollCreate(bar, 100, 10, 200, 140, 0, 100, 14);
    // trackLength 164, thumb 140 * 164 / 1400 = 16, travel 148.
    ASSERT_EQ(bar.thumb.height, 16);
    ASSERT_EQ(bar.travel, 148);
    scriptMouseMove(108, 35); // 7 pixels into the thumb
    scriptLeftDown();
    EXPECT_EQ(desk.vpass(bar, 1000), 1);
    EXPECT_EQ(bar.dragging, 1u);
    scriptMouseMove(70, 75); // 30 pixels left of the bar: still in the band
    EXPECT_EQ(desk.vpass(bar, 1010), 1);
    EXPECT_EQ(bar.thumbPos, 40);
    EXPECT_EQ(bar.thumb.y, 75 - 7);
    scriptMouseMove(67, 95); // 33 pixels left: the thumb stays put
    EXPECT_EQ(desk.vpass(bar, 1020), 1);
    EXPECT_EQ(bar.thumbPos, 40);
    scriptMouseMove(149, 95); // the band's last column on the right
    desk.vpass(bar, 1030);
    EXPECT_EQ(bar.thumbPos, 60);
    EXPECT_EQ(bar.offset, 1260 * 60 / 148);
    scriptLeftUp();
    EXPECT_EQ(desk.vpass(bar, 1040), 1);
    EXPECT_EQ(bar.dragging, 0u);

    // The horizontal bar the same way, on the other axis.
    HScrollBar h{};
    hscrollCreate(h, 10, 200, 200, 500, 0);
    // thumb 200 * 164 / 500 = 65, travel 99, maxScroll 300.
    ASSERT_EQ(h.thumb.width, 65);
    ASSERT_EQ(h.travel, 99);
    scriptMouseMove(30, 205);
    scriptLeftDown();
    desk.hpass(h, 2000);
    scriptMouseMove(80, 180);
    desk.hpass(h, 2010);
    EXPECT_EQ(h.thumbPos, 50);
    EXPECT_EQ(h.pos, (300 * 50 + 1) / 99);
    scriptMouseMove(80, 167); // 33 pixels above the bar
    desk.hpass(h, 2020);
    EXPECT_EQ(h.thumbPos, 50);
    hscrollDragTo(h, 99);
    EXPECT_EQ(h.pos, 300);
}

TEST(ScrollBar, ThumbNeverShorterThanSevenPixelsAndLongContentStaysExact) {
    BarDesk desk;
    VScrollBar bar{};
    vscrollCreate(bar, 0, 0, 100, 100, 0, 100000, 14);
    EXPECT_EQ(bar.thumb.height, 7);
    EXPECT_EQ(bar.travel, 57);
    // Offsets of 2^20 and more take the thumb from offsets divided by 1024.
    vscrollTo(bar, 80000);
    EXPECT_EQ(bar.offset, 1120000);
    EXPECT_EQ(bar.thumbPos, (1120000 / 1024) * 57 / ((1400000 - 100) / 1024));
    vscrollTo(bar, 100000);
    EXPECT_EQ(bar.top, (1399900 + 13) / 14);
    EXPECT_EQ(bar.thumbPos, 57);

    HScrollBar h{};
    hscrollCreate(h, 0, 0, 100, 100000, 0);
    EXPECT_EQ(h.thumb.width, 7);
    EXPECT_EQ(h.travel, 57);
}

TEST(ScrollBar, WheelScrollsThreeEntriesOr25Pixels) {
    BarDesk desk;
    VScrollBar bar{};
    vscrollCreate(bar, 0, 0, 100, 100, 5, 50, 10);
    EXPECT_EQ(bar.top, 5);
    scriptWheel(-120);
    EXPECT_EQ(desk.vpass(bar, 1000), 1);
    EXPECT_EQ(bar.top, 8);
    scriptWheel(120);
    scriptWheel(120);
    EXPECT_EQ(desk.vpass(bar, 1010), 1);
    EXPECT_EQ(bar.top, 5);
    EXPECT_EQ(desk.vpass(bar, 1020), 0);

    HScrollBar h{};
    hscrollCreate(h, 0, 150, 200, 500, 100);
    EXPECT_EQ(h.pos, 100);
    scriptWheel(-1);
    EXPECT_EQ(desk.hpass(h, 1030), 1);
    EXPECT_EQ(h.pos, 125);
    scriptWheel(1);
    desk.hpass(h, 1040);
    EXPECT_EQ(h.pos, 100);
    // Arrows move 8 pixels, the track 40.
    scriptMouseMove(5, 155);
    scriptLeftDown();
    desk.hpass(h, 1050);
    EXPECT_EQ(h.pos, 92);
    scriptLeftUp();
    desk.hpass(h, 1060);
    scriptMouseMove(150, 155);
    scriptLeftDown();
    desk.hpass(h, 1070);
    EXPECT_EQ(h.pos, 132);
}

TEST(ScrollBar, DrawsArrowsAndThumbInTheFaceColourAndTheTrackInItsOwn) {
    BarDesk desk;
    VScrollBar bar{};
    vscrollCreate(bar, 100, 10, 100, 100, 0, 10, 14);
    vscrollTo(bar, 1);
    Surface& s = desktop.desktopWindow->canvas.surface;
    surfaceFill(s, 0x1234);
    vscrollDraw(bar);
    auto at = [&](int32_t x, int32_t y) { return s.pixels[y * s.width + x]; };
    const uint16_t face = styleTable.colours[12];
    const uint16_t track = styleTable.colours[11];
    // Inside the thumb, away from its bevel and the icons.
    EXPECT_EQ(at(108, bar.thumb.y + 20), face);
    EXPECT_EQ(at(108, bar.trackBefore.y + 2), track);
    EXPECT_EQ(at(108, bar.trackAfter.y + 2), track);
    EXPECT_EQ(at(99, 50), 0x1234);
    EXPECT_EQ(at(118, 50), 0x1234);
    EXPECT_EQ(at(108, 9), 0x1234);
    EXPECT_EQ(at(108, 110), 0x1234);
    // The arrows are lit at the top left while up, and shadowed while held.
    const uint16_t raisedCorner = at(100, 10);
    scriptMouseMove(105, 15);
    scriptLeftDown();
    desk.vpass(bar, 1000);
    vscrollDraw(bar);
    EXPECT_NE(at(100, 10), raisedCorner);
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

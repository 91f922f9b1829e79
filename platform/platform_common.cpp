// The half of the platform layer that is the same on every machine: the
// platform record, the bitmaps (plain memory in the screen's own pixel
// format, so no copy converts), and the input state's one-pass events. It is
// linked into both the SDL and the scripted platform libraries.
#include "platform/platform_common.h"

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

Platform platform;

namespace {

// What bitmapCreate allocates for a bitmap: the pixel memory itself. The
// block travels in ScreenBitmap::description, so it is released from and
// taken back into a unique_ptr at the two ends of its life.
struct BitmapBlock {
    int32_t width;
    int32_t height;
    int32_t bytesPerRow;
    std::vector<uint16_t> pixels;
};

// Bitmaps bigger than any screen are refused rather than attempted.
constexpr int64_t MAX_BITMAP_PIXELS = int64_t{1} << 26;

} // namespace

void platformClear(Platform& p) {
    p = Platform{};
}

int bitmapCreate(ScreenBitmap& bitmap, int32_t width, int32_t height) {
    bitmap.width = width;
    bitmap.height = height;
    bitmap.pixels = nullptr;
    bitmap.owned = 0;
    bitmap.description = nullptr;
    if (width <= 0 || height <= 0 || int64_t{width} * height > MAX_BITMAP_PIXELS) {
        return 0;
    }
    if (!platformAllowsBitmap()) {
        return 0;
    }
    // Running out of memory is a refused bitmap to the callers, which report it.
    std::unique_ptr<BitmapBlock> block;
    try {
        block = std::make_unique<BitmapBlock>();
        // A system bitmap starts out black; so does ours.
        block->pixels.assign(size_t(width) * size_t(height), 0);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    block->width = width;
    block->height = height;
    block->bytesPerRow = 2 * width;
    bitmap.pixels = block->pixels.data();
    bitmap.owned = 1;
    bitmap.description = block.release();
    return 1;
}

void bitmapFree(ScreenBitmap& bitmap) {
    std::unique_ptr<BitmapBlock> block(static_cast<BitmapBlock*>(bitmap.description));
    bitmap.description = nullptr;
    bitmap.pixels = nullptr;
    bitmap.owned = 0;
}

void blitToScreen(const ScreenBitmap& bitmap, int32_t x, int32_t y) {
    blitRectToScreen(bitmap, x, y, bitmap.width, bitmap.height, 0, 0);
}

void audioBegin(AudioOut& device, AudioFill fill) {
    device.open = 0;
    device.nextIndex = 0;
    device.fill = fill;
    device.bufferSize = AUDIO_BUFFER_BYTES;
}

int mouseInit(MouseState& mouse) {
    mouse = MouseState{};
    return 1;
}

void mouseClearEvents(MouseState& mouse) {
    mouse.moved = 0;
    mouse.leftPressed = mouse.leftReleased = 0;
    mouse.rightPressed = mouse.rightReleased = 0;
    mouse.middlePressed = mouse.middleReleased = 0;
    mouse.wheelForward = mouse.wheelBackward = 0;
}

int keysInit(KeyboardState& keys) {
    keys = KeyboardState{};
    return 1;
}

void keysClearEvents(KeyboardState& keys) {
    keys.lastKey = 0;
    keys.lastChar = 0;
    keys.altLetter = 0;
    keys.altPressed = 0;
}

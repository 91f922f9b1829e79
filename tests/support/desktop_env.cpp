#include "tests/support/desktop_env.h"

#include "platform/platform_script.h"
#include "toolkit/config.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

uint32_t playTime;

} // namespace

void scriptedPlatformStart(int32_t width, int32_t height, uint32_t now) {
    playTime = now;
    platformClear(platform);
    platform.clientWidth = width;
    platform.clientHeight = height;
    scriptSetBitmapBudget(-1);
    scriptFailPlatformInit(0);
    platformInit(platform);
    scriptScreenResize(width, height);
    scriptScreenResetCounters();
    scriptSetTime(now);
    configReset();
}

const char* scriptedDesktopStart(int32_t width, int32_t height, WindowProc proc) {
    scriptedPlatformStart(width, height);
    return desktopInit(desktop, width, height, proc);
}

void scriptedDesktopStop() {
    while (desktop.count > 0) {
        // Without a procedure nobody can refuse the close.
        desktop.windows[desktop.count - 1]->proc = nullptr;
        closeTopWindow(desktop);
    }
    surfaceClearRecord(desktop.desktopBitmap);
    surfaceClearRecord(desktop.backup);
    desktop = Desktop{};
    platformShutdown(platform);
}

uint16_t screenAt(int32_t x, int32_t y) {
    const ScriptScreen& s = scriptScreen();
    return s.pixels[size_t(y) * size_t(s.width) + size_t(x)];
}

std::vector<int64_t> lastScreenCopy() {
    const ScriptScreen& s = scriptScreen();
    return {s.copyCount, s.lastX, s.lastY, s.lastWidth, s.lastHeight};
}

std::vector<uint16_t> screenCrop(int32_t x, int32_t y, int32_t width, int32_t height) {
    std::vector<uint16_t> crop;
    for (int32_t row = y; row < y + height; row++) {
        for (int32_t column = x; column < x + width; column++) {
            crop.push_back(screenAt(column, row));
        }
    }
    return crop;
}

void play(std::string_view script, int32_t originX, int32_t originY) {
    std::vector<std::pair<uint8_t, bool>> held; // keys, and whether with Alt
    std::istringstream words{std::string(script)};
    for (std::string word; words >> word;) {
        const char c = word[0];
        if (c == '-' || (c >= '0' && c <= '9')) {
            const int y = std::stoi(word.substr(word.find(',') + 1));
            scriptMouseMove(originX + std::stoi(word), originY + y);
            continue;
        }
        switch (c) {
        case 'd': scriptLeftDown(); break;
        case 'u': scriptLeftUp(); break;
        case 'r': scriptRightDown(); break;
        case 'w': scriptWheel(word == "w+" ? 120 : -120); break;
        case 'k':
        case 'a': {
            const auto vk = uint8_t(std::stoi(word.substr(1)));
            if (c == 'a') {
                scriptSysKeyDown(KEY_ALT);
                scriptSysKeyDown(vk);
            } else {
                scriptKeyDown(vk);
            }
            held.emplace_back(vk, c == 'a');
            break;
        }
        case '+':
            playTime += uint32_t(std::stoi(word.substr(1)));
            scriptSetTime(playTime);
            updatePass(desktop);
            mouseClearEvents(inputState.mouse);
            keysClearEvents(inputState.keys);
            for (const auto& [vk, alt] : held) {
                if (alt) {
                    scriptSysKeyUp(vk);
                    scriptSysKeyUp(KEY_ALT);
                } else {
                    scriptKeyUp(vk);
                }
            }
            held.clear();
            break;
        default: ADD_FAILURE() << "play: no such word: " << word; return;
        }
    }
}

uint32_t playClock() {
    return playTime;
}

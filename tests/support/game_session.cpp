#include "tests/support/game_session.h"

#include "game/progress.h"
#include "game/rules.h"
#include "platform/platform_script.h"
#include "shell/mainwnd.h"
#include "tests/support/desktop_env.h"
#include "toolkit/desktop.h"

GameSession::GameSession(const std::string& dataFile, int32_t progress) : folder("session") {
    if (!dataFile.empty()) {
        std::filesystem::copy_file(dataFile, folder.path / "GHold.dat");
    }
    if (progress >= 0) {
        writeLevelProgressFile((folder.path / "LevelInfo.dat").string().c_str(), progress);
    }
    previousFolder = std::filesystem::current_path();
    std::filesystem::current_path(folder.path);
    start();
}

void GameSession::start() {
    // The rules, the water and the board view start from zero, as in a
    // fresh process, whatever an earlier test of the same program left.
    resetRuleRecords();
    scriptedPlatformStart(640, 480, now);
    shellBegin();
    startFailure = shellStartDesktop(640, 480);
}

void GameSession::stop() {
    while (desktop.count > 0 && closeTopWindow(desktop)) {
    }
    scriptedDesktopStop();
}

void GameSession::restart() {
    stop();
    start();
}

GameSession::~GameSession() {
    stop();
    std::filesystem::current_path(previousFolder);
}

bool GameSession::pass(uint32_t advance) {
    now += advance;
    scriptSetTime(now);
    return shellPass();
}

bool GameSession::key(uint8_t vk, uint32_t advance) {
    MainWndProc(MSG_KEY_DOWN, vk, 0);
    MainWndProc(MSG_KEY_UP, vk, 0);
    return pass(advance);
}

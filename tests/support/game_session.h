#pragma once
// The whole game on the scripted platform, started the way the program starts
// it (configuration, platform, desktop with the game window), in a fresh
// folder of its own that holds a copy of GHold.dat. The scripted clock only
// moves when the test moves it.
#include "tests/support/datafile.h"

#include <cstdint>
#include <filesystem>
#include <string>

struct GameSession {
    TempDir folder;
    std::filesystem::path previousFolder;
    uint32_t now = 1000;
    const char* startFailure = nullptr;

    // dataFile is copied in as GHold.dat unless it is empty; progress >= 0 is
    // written as LevelInfo.dat first. The session starts at once, on a screen
    // of 640 x 480.
    GameSession(const std::string& dataFile, int32_t progress);
    // Whatever is still open is closed through its procedure (so that the
    // sound output is closed too), without writing Cfg.txt.
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // Moves the clock on by `advance` ms and runs one pass of the loop;
    // false once the desktop has no window left.
    bool pass(uint32_t advance = 0);
    // A key pressed and let go, then one pass.
    bool key(uint8_t vk, uint32_t advance = 0);
    // The program started again in the same folder, as a player starts it the
    // next day: whatever is open is closed first, without writing Cfg.txt.
    void restart();

    std::filesystem::path file(const char* name) const { return folder.path / name; }

  private:
    void start();
    void stop();
};

#pragma once
// What the harnesses share: the readers under test take file names, so each
// input is written to a file in a fresh temporary folder of the harness's own,
// made at its first input. The player's files (Cfg.txt, LevelInfo.dat) are
// looked for there too, so that the harness never leaves the folder it was
// started in: libFuzzer keeps opening the corpus and artifact paths it was
// given, relative ones included, for as long as it runs.
#include "toolkit/places.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

inline const std::string& scratchFolder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/ghold-fuzz-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            std::perror("ghold fuzz: cannot make a temporary folder");
            std::abort();
        }
        filePlaces.userFolder = pattern;
        filePlaces.userFolderState = 1;
        return std::string(pattern);
    }();
    return folder;
}

// The path of NAME in the scratch folder.
inline std::string scratchPath(const char* name) {
    return scratchFolder() + "/" + name;
}

// Writes the input to NAME in the scratch folder and returns its path.
inline std::string writeInput(const char* name, const uint8_t* data, size_t size) {
    const std::string path = scratchPath(name);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || (size > 0 && std::fwrite(data, 1, size, f) != size) ||
        std::fclose(f) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
    return path;
}

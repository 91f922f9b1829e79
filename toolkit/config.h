#pragma once
// The toolkit's settings: 19 named short texts kept in Cfg.txt among the
// player's files (toolkit/places.h). Each reader converts a value itself (a
// decimal integer, or a test of its first character). Keys this program never
// reads are loaded, kept and saved unchanged.
#include <cstdint>
#include <string>

constexpr int CONFIG_ENTRY_COUNT = 19;
constexpr int CONFIG_VALUE_SIZE = 16; // at most 15 characters and a zero

struct ConfigEntry {
    const char* key;
    const char* description; // written after the value as a comment
    const char* defaultValue;
    char value[CONFIG_VALUE_SIZE];
};

// In file order.
extern ConfigEntry configTable[CONFIG_ENTRY_COUNT];

// The entry's value; an empty text for a key not in the table. It stays valid
// until the next set or load.
const char* configGet(const char* key);
// Copies at most 15 characters; nothing for an unknown key or a null value.
void configSet(const char* key, const char* value);
void configReset();

// A value read as a decimal integer from its leading digits, with an
// optional sign; 0 when there are none. Values past 32 bits stop growing.
int32_t leadingInteger(const char* text);

// Cfg.txt among the player's files. A missing or empty file gives the
// defaults and a fresh file; an unreadable one gives the defaults only.
// configSave returns an empty text, or the system's reason the file could not
// be written ("Permission denied"); the old file then stays as it was.
void configLoad();
std::string configSave();
// The settings file's name among the player's files: "Cfg.txt", the game's.
// Another program on the toolkit (the level editor) names its own before
// loading, so that its window's size is not taken for the game's.
extern const char* configFileName;

// The same, on a file of any name (tests use files in temporary folders).
void configLoadFile(const char* path);
std::string configSaveFile(const char* path);

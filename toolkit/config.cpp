#include "toolkit/config.h"

#include "toolkit/places.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

ConfigEntry configTable[CONFIG_ENTRY_COUNT] = {
    {"RESX", "x resolution", "640", {}},
    {"RESY", "y resolution", "480", {}},
    {"DPNPMON", "detect plug&play monitor", "1", {}},
    {"HPOL", "horizontal sync polarity", "+", {}},
    {"VPOL", "vertical sync polarity", "+", {}},
    {"VFREQ", "refresh rate", "60.0", {}},
    {"MONVMAX", "max monitor V freq (hz)", "75.0", {}},
    {"MONHMAX", "max monitor H freq (khz)", "58.0", {}},
    {"VLOCK", "Lock video mode", "0", {}},
    {"MSSPEED", "Mouse speed", "128", {}},
    {"BRCDROM", "Allow browse CDROM Files", "0", {}},
    {"POWSAV", "Allow DOS power saving", "0", {}},
    {"FULLSCR", "full screen window mode", "0", {}},
    {"WINDX", "window initial x size", "640", {}},
    {"WINDY", "window initial y size", "480", {}},
    {"SUSPEND", "suspend when minimized", "1", {}},
    {"WSHADOW", "draw windows shadow", "1", {}},
    {"ENVCOL", "Environnement color index", "0", {}},
    {"CLK2DT", "Double click time (ms)", "320", {}},
};

namespace {

const char* const CONFIG_FILE = "Cfg.txt";
const char* const CONFIG_HEADER = "Oxel config file";
// The saved file is under 1 KB. Anything past this limit is not a settings
// file (a directory reports an absurd length, for one) and is treated like
// one that cannot be read, rather than asking for the memory.
constexpr long CONFIG_MAX_LENGTH = 1 << 20;

ConfigEntry* findEntry(const char* key) {
    if (!key)
        return nullptr;
    for (ConfigEntry& entry : configTable)
        if (std::strcmp(entry.key, key) == 0)
            return &entry;
    return nullptr;
}

void copyValue(ConfigEntry& entry, const char* value) {
    size_t n = 0;
    while (n < CONFIG_VALUE_SIZE - 1 && value[n] != 0) {
        entry.value[n] = value[n];
        n++;
    }
    entry.value[n] = 0;
}

// Bytes are compared as signed: a control character, a space and every byte
// of 128 or more separate words, and only printable ASCII makes up a value.
bool separates(char c) {
    return static_cast<signed char>(c) < 33;
}
bool printable(char c) {
    return static_cast<signed char>(c) >= 33;
}

// The file is not read line by line: the key's first occurrence anywhere in
// the text counts, comments included, as long as it stands after a separator
// and is followed by a space. The text starts with a space we put there, so
// position 0 never matches and position p always has a byte before it. A zero
// byte inside the file ends the text, as the terminating zero does.
void findValue(ConfigEntry& entry, const char* text) {
    entry.value[0] = 0;
    size_t keyLength = std::strlen(entry.key);
    for (size_t p = 1; text[p] != 0; p++) {
        // strncmp stops at the text's zero, so nothing past it is read; a
        // match guarantees text[p + keyLength] is still inside the text.
        if (std::strncmp(text + p, entry.key, keyLength) != 0 || !separates(text[p - 1]) ||
            text[p + keyLength] != ' ')
            continue;
        const char* from = text + p + keyLength;
        while (*from == ' ')
            from++;
        size_t n = 0;
        while (n < CONFIG_VALUE_SIZE - 1 && printable(from[n])) {
            entry.value[n] = from[n];
            n++;
        }
        entry.value[n] = 0;
        break;
    }
    if (entry.value[0] == 0)
        copyValue(entry, entry.defaultValue);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

struct MemoryFree {
    void operator()(char* block) const { std::free(block); }
};

bool replaceable(const char* path) {
    std::FILE* existing = std::fopen(path, "r+b");
    if (existing) {
        std::fclose(existing);
        return true;
    }
    return errno == ENOENT;
}

bool writeText(std::FILE* file, const char* text) {
    size_t n = std::strlen(text);
    return std::fwrite(text, 1, n, file) == n;
}

bool writeSpaces(std::FILE* file, size_t count) {
    for (size_t i = 0; i < count; i++)
        if (std::fputc(' ', file) == EOF)
            return false;
    return true;
}

// Key padded to column 10 and value to 8 more columns, each with at least two
// spaces so that a long key or value never runs into the next field.
bool writeEntry(std::FILE* file, const ConfigEntry& entry) {
    size_t keyLength = std::strlen(entry.key);
    size_t valueLength = std::strlen(entry.value);
    return writeText(file, entry.key) && writeSpaces(file, keyLength < 8 ? 10 - keyLength : 2) &&
           writeText(file, entry.value) &&
           writeSpaces(file, valueLength < 6 ? 8 - valueLength : 2) && writeText(file, "// ") &&
           writeText(file, entry.description) && writeText(file, "\r\n");
}

} // namespace

const char* configGet(const char* key) {
    const ConfigEntry* entry = findEntry(key);
    return entry ? entry->value : "";
}

void configSet(const char* key, const char* value) {
    ConfigEntry* entry = findEntry(key);
    if (entry && value)
        copyValue(*entry, value);
}

void configReset() {
    for (ConfigEntry& entry : configTable)
        copyValue(entry, entry.defaultValue);
}

void configLoadFile(const char* path) {
    File file(std::fopen(path, "rb"));
    if (!file) {
        configReset();
        configSaveFile(path);
        return;
    }
    long length = -1;
    if (std::fseek(file.get(), 0, SEEK_END) == 0)
        length = std::ftell(file.get());
    if (length == 0) {
        file.reset();
        configReset();
        configSaveFile(path);
        return;
    }
    // A file whose length cannot be taken or whose contents cannot be read
    // gives the defaults but is not overwritten: it may be good next time.
    if (length < 0 || length > CONFIG_MAX_LENGTH || std::fseek(file.get(), 0, SEEK_SET) != 0) {
        configReset();
        return;
    }
    size_t size = static_cast<size_t>(length);
    std::unique_ptr<char, MemoryFree> text(static_cast<char*>(std::malloc(size + 2)));
    if (!text || std::fread(text.get() + 1, 1, size, file.get()) != size) {
        configReset();
        return;
    }
    text.get()[0] = ' ';
    text.get()[size + 1] = 0;
    for (ConfigEntry& entry : configTable)
        findValue(entry, text.get());
}

void configSaveFile(const char* path) {
    // Written beside the old file and renamed over it, so that a crash or a
    // full disk leaves the previous settings rather than half a file. Any
    // failed write keeps the old file.
    // A file that is there but may not be written keeps its place, as it
    // would if it were opened for writing in place.
    if (!replaceable(path))
        return;
    std::string temporary = std::string(path) + ".tmp";
    File file(std::fopen(temporary.c_str(), "wb"));
    if (!file)
        return;
    bool written = writeText(file.get(), CONFIG_HEADER) && writeText(file.get(), "\r\n");
    for (int i = 0; written && i < CONFIG_ENTRY_COUNT; i++)
        written = writeEntry(file.get(), configTable[i]);
    written = std::fclose(file.release()) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path) != 0)
        std::remove(temporary.c_str());
}

void configLoad() {
    configLoadFile(userFilePath(filePlaces, CONFIG_FILE).c_str());
}

void configSave() {
    configSaveFile(userFilePath(filePlaces, CONFIG_FILE).c_str());
}

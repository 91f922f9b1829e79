#include "toolkit/config.h"

#include "platform/files.h"
#include "toolkit/places.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

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

const char* configFileName = "Cfg.txt";

namespace {

const char* const CONFIG_HEADER = "Oxel config file";
// The saved file is under 1 KB. Anything past this limit is not a settings
// file and is treated like one that cannot be read, rather than asking for
// the memory.
constexpr size_t CONFIG_MAX_LENGTH = 1 << 20;
// The saved file's columns: keys padded to 10 characters and values to 8,
// each followed by at least two spaces so that a long key or value never runs
// into the next field.
constexpr size_t KEY_COLUMNS = 10;
constexpr size_t VALUE_COLUMNS = 8;
constexpr size_t MIN_GAP = 2;
constexpr int64_t DECIMAL_BASE = 10;

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
    return static_cast<signed char>(c) < '!';
}
bool printable(char c) {
    return static_cast<signed char>(c) >= '!';
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

size_t padding(size_t length, size_t columns) {
    return length + MIN_GAP < columns ? columns - length : MIN_GAP;
}

void appendEntry(std::string& out, const ConfigEntry& entry) {
    out += entry.key;
    out.append(padding(std::strlen(entry.key), KEY_COLUMNS), ' ');
    out += entry.value;
    out.append(padding(std::strlen(entry.value), VALUE_COLUMNS), ' ');
    out += "// ";
    out += entry.description;
    out += "\r\n";
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

int32_t leadingInteger(const char* text) {
    if (text == nullptr)
        return 0;
    bool negative = false;
    if (*text == '-' || *text == '+') {
        negative = *text == '-';
        text++;
    }
    int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; text++)
        value = std::min<int64_t>(value * DECIMAL_BASE + (*text - '0'), INT32_MAX);
    return static_cast<int32_t>(negative ? -value : value);
}

void configReset() {
    for (ConfigEntry& entry : configTable)
        copyValue(entry, entry.defaultValue);
}

void configLoadFile(const char* path) {
    std::vector<uint8_t> bytes;
    const FileStatus status = readWholeFile(path, CONFIG_MAX_LENGTH, bytes);
    // A missing file, or something that is no file at all (a FIFO, a
    // folder), counts as absent: the defaults, written out afresh. So does an
    // empty one.
    if (status == FileStatus::CannotOpen || status == FileStatus::NotRegular ||
        (status == FileStatus::Ok && bytes.empty())) {
        configReset();
        configSaveFile(path);
        return;
    }
    // A file too large to be a settings file, or one that cannot be read,
    // gives the defaults but is not overwritten: it may be good next time.
    if (status != FileStatus::Ok) {
        configReset();
        return;
    }
    std::string text(1, ' ');
    text.append(bytes.begin(), bytes.end());
    for (ConfigEntry& entry : configTable)
        findValue(entry, text.c_str());
}

std::string configSaveFile(const char* path) {
    std::string text = CONFIG_HEADER;
    text += "\r\n";
    for (const ConfigEntry& entry : configTable)
        appendEntry(text, entry);
    return replaceFile(path, text.data(), text.size());
}

void configLoad() {
    configLoadFile(userFilePath(filePlaces, configFileName).c_str());
}

std::string configSave() {
    return configSaveFile(userFilePath(filePlaces, configFileName).c_str());
}

#pragma once
// The one way the programs open, read and write files: the game's GHold.dat,
// LevelInfo.dat and Cfg.txt, the text box's file, and everything ghtool and
// the asset generators read and write.
//
// These are the only calls into the system's file interface, so they live
// with the rest of what a port replaces. Unlike the platform header they have
// no scripted twin: tests work on real files in temporary folders.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

enum class FileStatus : uint8_t {
    Ok,
    CannotOpen, // missing, or no permission: reason says which
    NotRegular, // a FIFO, a device, a directory: refused without waiting on it
    TooLarge,   // beyond the limit its reader gave
    Failed,     // a read that went wrong half-way
};

struct FileCloser {
    void operator()(std::FILE* file) const;
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens an outside file for binary reading. Only a regular file is taken: the
// file is opened without blocking and looked at before anything is read, so
// a FIFO planted under a file's name cannot make the program wait for a
// writer that never comes. reason, when given, gets the system's reason or
// "not a regular file".
FileStatus openForReading(const std::string& path, FileHandle& file, std::string* reason = nullptr);

// Reads a whole regular file of at most limit bytes. The size is checked
// before anything is allocated, so a huge file costs nothing but the refusal.
FileStatus readWholeFile(const std::string& path, size_t limit, std::vector<uint8_t>& bytes,
                         std::string* reason = nullptr);

// Numbers in the programs' files are little-endian, whatever the machine's
// own byte order.
constexpr int BITS_PER_BYTE = 8;

inline uint32_t loadLittleEndian32(const uint8_t* at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; i--) {
        value = value << BITS_PER_BYTE | at[i];
    }
    return value;
}
inline uint16_t loadLittleEndian16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | at[1] << BITS_PER_BYTE);
}
inline void storeLittleEndian32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; i++, value >>= BITS_PER_BYTE) {
        at[i] = static_cast<uint8_t>(value);
    }
}
inline void appendLittleEndian32(std::vector<uint8_t>& out, uint32_t value) {
    uint8_t bytes[4];
    storeLittleEndian32(bytes, value);
    out.insert(out.end(), bytes, bytes + 4);
}
inline void appendLittleEndian16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> BITS_PER_BYTE));
}

// Writes a file so that it holds either all of its old contents or all of
// the new: a temporary file is created exclusively in the same folder (a link
// planted under its name is never followed), written, flushed to the disk and
// renamed over path. Returns an empty text on success; otherwise the
// temporary file is gone, path keeps what it held, and the text is the
// system's reason ("Permission denied", "No space left on device").
std::string replaceFile(const std::string& path, const void* data, size_t size);

// Renames path to path + suffix, replacing whatever had that name, so that a
// damaged file is kept for the player to look at before a new one takes its
// place. Returns an empty text, else the system's reason.
std::string keepFileAside(const std::string& path, const char* suffix);

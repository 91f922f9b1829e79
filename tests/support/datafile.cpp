#include "tests/support/datafile.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

struct Writer {
    SyntheticDataFile& file;
    uint32_t state;

    uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    size_t at() const { return file.bytes.size(); }
    void endField() {
        if (file.fieldEnds.empty() || file.fieldEnds.back() != at()) {
            file.fieldEnds.push_back(at());
        }
    }
    void i32(int32_t value) {
        putI32At(file.bytes, at(), value);
        endField();
    }
    void randomBlock(size_t size, uint32_t modulo) {
        for (size_t i = 0; i < size; ++i) {
            file.bytes.push_back(static_cast<uint8_t>(next() % modulo));
        }
        endField();
    }
};

} // namespace

void putI32At(std::vector<uint8_t>& bytes, size_t at, int32_t value) {
    bytes.resize(std::max(bytes.size(), at + 4));
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

int32_t i32At(const std::vector<uint8_t>& bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        v |= uint32_t{bytes.at(at + i)} << (8 * i);
    }
    return static_cast<int32_t>(v);
}

SyntheticDataFile makeSyntheticDataFile(uint32_t seed) {
    SyntheticDataFile file{};
    Writer w{file, seed * 2654435761u + 1};
    w.i32(63);
    for (int code = 0; code < ELEMENT_COUNT; ++code) {
        for (int frame = 0; frame < elementInfo[code].frames; ++frame) {
            int32_t width = static_cast<int32_t>(1 + w.next() % 6);
            int32_t height = static_cast<int32_t>(1 + w.next() % 6);
            // Flag words of every kind; 0 only at code 23 frame 0.
            static const int32_t flagWords[] = {-1, 1, 2, 3};
            const int32_t flags = code == 23 && frame == 0 ? 0 : flagWords[w.next() % 4];
            if (code == 7 && frame == 0) {
                width = 0;
                height = 5;
            } else if (code == 24 && frame == 1) {
                width = 6;
                height = 0;
            }
            file.frameAt[code][frame] = w.at();
            w.i32(width);
            w.i32(height);
            w.i32(flags);
            w.randomBlock(size_t(width) * size_t(height) * 4, 256);
        }
    }
    file.frameTotalAt = w.at();
    w.i32(FRAME_TOTAL);
    file.levelCountAt = w.at();
    w.i32(LEVEL_COUNT);
    for (int i = 0; i < LEVEL_COUNT; ++i) {
        int32_t width = static_cast<int32_t>(1 + w.next() % BOARD_COLUMNS);
        int32_t height = static_cast<int32_t>(1 + w.next() % BOARD_ROWS);
        if (i == 0) {
            width = height = 1;
        } else if (i == 1) {
            width = BOARD_COLUMNS;
            height = BOARD_ROWS;
        }
        file.levelAt[i] = w.at();
        w.i32(width);
        w.i32(height);
        for (int x = 0; x < width; ++x) {
            w.randomBlock(size_t(height) * 3, ELEMENT_COUNT);
        }
    }
    file.soundCountAt = w.at();
    w.i32(EFFECT_COUNT);
    for (int i = 1; i < EFFECT_COUNT; ++i) {
        const int32_t count = i == 3 || i == 15 ? 0 : static_cast<int32_t>(1 + w.next() % 40);
        file.effectAt[i] = w.at();
        w.i32(count);
        w.randomBlock(size_t(count) * 2, 256);
    }
    file.pictureCountAt = w.at();
    w.i32(PICTURE_COUNT);
    for (int i = 0; i < PICTURE_COUNT; ++i) {
        const auto width = static_cast<int32_t>(1 + w.next() % 9);
        const auto height = static_cast<int32_t>(1 + w.next() % 7);
        file.pictureAt[i] = w.at();
        w.i32(width);
        w.i32(height);
        w.randomBlock(size_t(width) * size_t(height) * 2, 256);
    }
    return file;
}

bool writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

TempDir::TempDir(const std::string& label) {
    static std::atomic<int> serial{0};
    path = std::filesystem::temp_directory_path() /
           ("ghold-" + label + "-" + std::to_string(getpid()) + "-" + std::to_string(serial++));
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

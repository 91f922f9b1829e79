#pragma once
// RIFF WAVE sound files in the one format the game plays: PCM, 16-bit,
// mono, 11025 samples per second.
#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t WAV_SAMPLE_RATE = 11025;

// Reads a wav file into samples. Returns an empty string on success, else
// what is wrong. A file with no samples at all is valid; one with more than
// an effect may hold (MAX_EFFECT_SAMPLES) is refused.
std::string readWav(const std::string& path, std::vector<int16_t>& samples);

// The same, from bytes already in memory.
std::string parseWav(const std::vector<uint8_t>& bytes, std::vector<int16_t>& samples);

// The bytes of a canonical 44-byte-header wav holding samples.
std::vector<uint8_t> formatWav(const std::vector<int16_t>& samples);

// Writes formatWav(samples) to path through replaceFile; empty string on
// success, else the system's reason.
std::string writeWav(const std::string& path, const std::vector<int16_t>& samples);

// Byte helpers shared by the tests: temporary paths, whole-file reads and writes, little-endian
// numbers and RIFF chunks.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

#include "audio/riff_file.h"

// A path in the temporary folder named after the running test and this process: test runs of
// other trees on the same machine share the folder.
inline std::string TempPath(const char* name) {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    return std::string(testing::TempDir()) + info->test_suite_name() + "_" + info->name() + "_" +
           std::to_string(getpid()) + "_" + name;
}

// A folder of this process in the temporary folder, for files whose names matter, with a
// trailing separator.
inline std::string TempFolder() {
    const std::string folder =
        std::string(testing::TempDir()) + "kestro-tests-" + std::to_string(getpid()) + "/";
    std::filesystem::create_directories(folder);
    return folder;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline bool Exists(const std::string& path) {
    return std::ifstream(path, std::ios::binary).good();
}

inline std::string U32(uint32_t value) {
    unsigned char bytes[4];
    WriteLittleEndian32(bytes, value);
    return std::string(reinterpret_cast<char*>(bytes), 4);
}

inline std::string U16(uint16_t value) {
    unsigned char bytes[2];
    WriteLittleEndian16(bytes, value);
    return std::string(reinterpret_cast<char*>(bytes), 2);
}

// A chunk with its size taken from the contents, padded to an even length.
inline std::string Chunk(const char* id, const std::string& contents) {
    std::string chunk = std::string(id, 4) + U32(static_cast<uint32_t>(contents.size())) + contents;
    if (contents.size() & 1) {
        chunk += '\0';
    }
    return chunk;
}

// A RIFF WAVE file around the chunks.
inline std::string RiffWave(const std::string& body) {
    return "RIFF" + U32(static_cast<uint32_t>(4 + body.size())) + "WAVE" + body;
}

// The 16 bytes of a PCM WAVEFORMATEX without cbSize.
inline std::string PcmFormat(uint32_t rate, uint32_t avg, uint16_t align, uint16_t bits) {
    return U16(1) + U16(1) + U32(rate) + U32(avg) + U16(align) + U16(bits);
}

// Bytes that do not repeat in any short period.
inline std::string Pattern(size_t length) {
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; ++i) {
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    }
    return bytes;
}

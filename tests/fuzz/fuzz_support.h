// What the fuzz targets share: a check that stops the run, the fuzzer's bytes taken apart into
// the inputs of a target, and files for the readers that open a path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// A property every input must keep. A broken one aborts, which libFuzzer reports as a crash and
// the replay test as a failure.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// The fuzzer's bytes as a sequence of inputs: numbers and texts are taken from the front.
// Taking from an empty input gives zeros and empty texts.
struct FuzzInput {
    const uint8_t* data;
    size_t size;

    uint8_t Byte() {
        if (size == 0) {
            return 0;
        }
        --size;
        return *data++;
    }
    uint32_t U32() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value = value << 8 | Byte();
        }
        return value;
    }
    // The bytes up to the next NUL (which is taken too), or the rest.
    std::string Text() {
        size_t length = 0;
        while (length < size && data[length] != 0) {
            ++length;
        }
        std::string text(reinterpret_cast<const char*>(data), length);
        const size_t taken = length < size ? length + 1 : length;
        data += taken;
        size -= taken;
        return text;
    }
    std::string Rest() {
        std::string rest(reinterpret_cast<const char*>(data), size);
        data += size;
        size = 0;
        return rest;
    }
};

// The NUL-separated texts of the whole input, at least count of them (missing ones empty).
inline std::vector<std::string> FuzzTexts(const uint8_t* data, size_t size, size_t count) {
    FuzzInput input = {data, size};
    std::vector<std::string> texts;
    while (input.size > 0 || texts.size() < count) {
        texts.push_back(input.Text());
    }
    return texts;
}

// A folder of the running process for the files a target writes, ending in a slash; it is
// removed when the process ends.
const std::string& FuzzFolder();

// Writes the bytes to FuzzFolder() + name and returns that path.
std::string WriteFuzzFile(const char* name, const std::string& bytes);

// The whole file, or "" when it cannot be read.
std::string ReadFuzzFile(const std::string& path);

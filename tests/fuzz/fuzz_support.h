// What the fuzz targets share: a check that stops the run, the fuzzer's bytes taken apart into
// the inputs of a target, and files for the readers that open a path.
#pragma once

#include <algorithm>
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

// The fuzzer's bytes as a sequence of inputs taken from the front; an empty input gives zeros.
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
    std::string Rest() {
        std::string rest(reinterpret_cast<const char*>(data), size);
        size = 0;
        return rest;
    }
};

// The NUL-separated texts of the input, at least count of them (missing ones empty).
inline std::vector<std::string> FuzzTexts(const uint8_t* data, size_t size, size_t count) {
    std::vector<std::string> texts(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            texts.emplace_back();
        } else {
            texts.back() += static_cast<char>(data[i]);
        }
    }
    texts.resize(std::max(texts.size(), count));
    return texts;
}

// Mail text: every CR is followed by LF and every LF follows a CR, and no line is longer than
// limit (without its CR LF).
inline void CheckCrLfLines(const std::string& text, size_t limit) {
    size_t line = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            FUZZ_CHECK(i + 1 < text.size() && text[++i] == '\n');
            line = 0;
        } else {
            FUZZ_CHECK(text[i] != '\n' && ++line <= limit);
        }
    }
}

// A folder of the running process for the files a target writes, ending in a slash; it is
// removed when the process ends.
const std::string& FuzzFolder();

// Writes the bytes to FuzzFolder() + name and returns that path.
std::string WriteFuzzFile(const char* name, const std::string& bytes);

// The whole file, or "" when it cannot be read.
std::string ReadFuzzFile(const std::string& path);

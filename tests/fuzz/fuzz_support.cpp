#include "fuzz_support.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

namespace {

void RemoveFuzzFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(FuzzFolder(), ignored);
}

} // namespace

const std::string& FuzzFolder() {
    // Never destroyed, so that it outlives the handler that removes the folder at exit.
    static const std::string* folder = [] {
        const std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("kestro-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        std::atexit(RemoveFuzzFolder);
        return new std::string(path.string() + "/");
    }();
    return *folder;
}

std::string WriteFuzzFile(const char* name, const std::string& bytes) {
    const std::string path = FuzzFolder() + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
}

std::string ReadFuzzFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

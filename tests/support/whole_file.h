#pragma once

// A file's contents read or written at once, byte for byte. Plain C++, for tests of any
// framework and for the fuzzers.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace rq508::testing {

// Empty when the file cannot be read.
inline std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Replaces the file's contents; true when every byte was written.
inline bool WriteWholeFile(const std::filesystem::path& path, std::string_view contents) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    return static_cast<bool>(file.flush());
}

}  // namespace rq508::testing

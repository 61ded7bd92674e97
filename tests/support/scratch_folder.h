#pragma once

// A fresh folder of a test's own, removed with everything in it when the object goes. Plain C++,
// for tests of any framework and for the fuzzers.

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace rq508::testing {

class ScratchFolder {
public:
    // The folder's name starts with the prefix, so that one left behind tells whose it was.
    // Path() is empty when the folder could not be made.
    explicit ScratchFolder(const std::string& prefix) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!m_path.empty()) {
            std::filesystem::remove_all(m_path, ignored);
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

}  // namespace rq508::testing

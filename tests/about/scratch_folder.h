#pragma once

// A fresh folder for one test, with the small shell scripts that stand in for desktop programs.
// Removed with everything in it when the test ends.

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>

namespace rq508::testing {

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "rq508-about-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

    std::filesystem::path WriteFile(const std::string& name, const std::string& text) const {
        const std::filesystem::path path = m_path / name;
        std::ofstream(path) << text;
        return path;
    }

    // An executable /bin/sh script; "$DIR" in it stands for this folder.
    std::filesystem::path WriteScript(const std::string& name, const std::string& body) const {
        const std::filesystem::path path =
            WriteFile(name, "#!/bin/sh\nDIR='" + m_path.string() + "'\n" + body + "\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path;
    }

    // A script that records each of its arguments on a line of its own in `record`, then ends
    // with the status.
    std::filesystem::path WriteRecordingScript(const std::string& name, const std::string& record,
                                               int status = 0) const {
        return WriteScript(name, "printf '%s\\n' \"$@\" > \"$DIR/" + record +
                                     ".part\"\nmv \"$DIR/" + record + ".part\" \"$DIR/" + record +
                                     "\"\nexit " + std::to_string(status));
    }

    // The whole file once it exists; nothing if it does not appear within the time (generous:
    // the machine may be busy).
    std::optional<std::string> WaitForFile(
        const std::string& name, std::chrono::seconds limit = std::chrono::seconds(30)) const {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        const std::filesystem::path path = m_path / name;
        while (!std::filesystem::exists(path)) {
            if (std::chrono::steady_clock::now() > deadline) {
                return std::nullopt;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::ifstream file(path);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

private:
    std::filesystem::path m_path;
};

}  // namespace rq508::testing

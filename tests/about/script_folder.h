#pragma once

// A scratch folder with the small shell scripts that stand in for desktop programs.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "support/scratch_folder.h"
#include "support/whole_file.h"

namespace rq508::testing {

class ScriptFolder : public ScratchFolder {
public:
    ScriptFolder() : ScratchFolder("rq508-about") {}

    std::filesystem::path WriteFile(const std::string& name, const std::string& text) const {
        const std::filesystem::path path = Path() / name;
        WriteWholeFile(path, text);
        return path;
    }

    // An executable /bin/sh script; "$DIR" in it stands for this folder.
    std::filesystem::path WriteScript(const std::string& name, const std::string& body) const {
        const std::filesystem::path path =
            WriteFile(name, "#!/bin/sh\nDIR='" + Path().string() + "'\n" + body + "\n");
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
        const std::filesystem::path path = Path() / name;
        while (!std::filesystem::exists(path)) {
            if (std::chrono::steady_clock::now() > deadline) {
                return std::nullopt;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return ReadWholeFile(path);
    }
};

}  // namespace rq508::testing

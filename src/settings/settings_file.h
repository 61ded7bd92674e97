#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace rq508 {

// What one settings file holds: the settings as the texts the user sees.
struct SettingsFileRecord {
    std::string baudRateText;
    std::string checkBitText;
    std::string canBaudRateText;
    uint8_t canProtocol = 0;  // 0 for "CAN2.0 A", 1 for "CAN2.0 B"
    std::string slaveAddressText;

    friend bool operator==(const SettingsFileRecord&, const SettingsFileRecord&) = default;
};

enum class WriteOutcome { Written, CannotOpen, WriteFailed };

struct WriteResult {
    WriteOutcome outcome;
    std::string osText;  // the system's own words for a failure, empty on success
};

// Writes the five labelled lines, each ending in CR LF. An existing regular file is replaced
// only once the new contents are safely written beside it.
WriteResult WriteSettingsFile(const std::filesystem::path& path, const SettingsFileRecord& record);

enum class ReadOutcome { Loaded, CannotOpen, Unrecognised };

struct ReadResult {
    ReadOutcome outcome;
    SettingsFileRecord record;  // meaningful only when Loaded
    std::string osText;         // the system's own words when the file cannot be opened
};

ReadResult ReadSettingsFile(const std::filesystem::path& path);

// The reader's logic on contents already in memory (for the file reader and the fuzzer).
std::optional<SettingsFileRecord> ParseSettingsText(std::string_view contents);

// The exact bytes that WriteSettingsFile puts on disk.
std::string FormatSettingsText(const SettingsFileRecord& record);

}  // namespace rq508

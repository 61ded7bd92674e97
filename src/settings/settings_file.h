#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

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

// CannotOpen: nothing was written and the file that was there is untouched. WriteFailed: the
// file could be opened but writing, closing or replacing it failed; a regular file that was there
// is still untouched, a device or other special file may have taken part of the bytes.
enum class WriteOutcome { Written, CannotOpen, WriteFailed };

struct WriteResult {
    WriteOutcome outcome;
    std::string osText;  // the system's own words for a failure, empty on success
};

// Writes the five labelled lines, each ending in CR LF. A regular file (new, or one that is
// there) is written to a temporary file beside it that then replaces it, keeping its permissions;
// a symbolic link is followed and the file it names is replaced, the link stays. A path naming a
// device or other special file is written in place.
WriteResult WriteSettingsFile(const std::filesystem::path& path, const SettingsFileRecord& record);

// The exact bytes that WriteSettingsFile puts on disk.
std::string FormatSettingsText(const SettingsFileRecord& record);

enum class ReadOutcome { Loaded, CannotOpen, Unrecognised };

struct ReadResult {
    ReadOutcome outcome;
    SettingsFileRecord record;  // meaningful only when Loaded
    // Empty when Loaded. CannotOpen: the system's own words ("No such file or directory").
    // Unrecognised: what did not match, for a person to read.
    std::string detail;
};

// Reads the eighteen white-space separated tokens of a settings file and checks the labels and
// the protocol prefix; anything after the slave address is not read. A token is cut to its first
// 127 bytes; one holding a zero byte makes the file Unrecognised (it is no text). Only a regular
// file (or a symbolic link to one) is read: a directory, device or pipe gives CannotOpen.
ReadResult ReadSettingsFile(const std::filesystem::path& path);

// The same reader over contents already in memory: Loaded or Unrecognised.
ReadResult ParseSettingsText(std::string_view contents);

// Every token is cut to this many bytes; a loaded text is never longer.
constexpr size_t kMaxSettingsTokenBytes = 127;

}  // namespace rq508

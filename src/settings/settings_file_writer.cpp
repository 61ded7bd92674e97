// The settings file writer never leaves a half-written file where a good one was: a regular file
// is written to a temporary file in the same folder, which is renamed over it only once every
// byte is written and the file is closed without error (a rename within one folder replaces the
// old file in one step). Devices and other special files cannot be replaced that way and are
// written in place.

#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

#include "settings/option_tables.h"
#include "settings/settings_file.h"
#include "settings/string_table.h"

namespace rq508 {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kLineEnd = "\r\n";
// The limit the system itself puts on a chain of symbolic links.
constexpr int kMaxLinkHops = 40;
constexpr int kMaxTemporaryNameTries = 100;

std::error_code LastError() {
    return {errno != 0 ? errno : EIO, std::generic_category()};
}

WriteResult Failure(WriteOutcome outcome, std::error_code error) {
    return {outcome, error.message()};
}

std::FILE* OpenFile(const fs::path& path, const char* mode) {
    errno = 0;
    return std::fopen(path.string().c_str(), mode);
}

// Writes all bytes and closes the file; the first error of the write, the flush or the close.
std::error_code WriteAndClose(std::FILE* file, std::string_view contents) {
    std::error_code error;
    errno = 0;
    if (std::fwrite(contents.data(), 1, contents.size(), file) != contents.size()) {
        error = LastError();
    }
    errno = 0;
    if (std::fflush(file) != 0 && !error) {
        error = LastError();
    }
    errno = 0;
    if (std::fclose(file) != 0 && !error) {
        error = LastError();
    }
    return error;
}

// The file a path names once every symbolic link on it has been followed; the target need not
// exist yet (saving through a dangling link creates the file it names).
fs::path FollowLinks(const fs::path& path, std::error_code& error) {
    fs::path target = path;
    for (int hops = 0; fs::symlink_status(target, error).type() == fs::file_type::symlink; ++hops) {
        if (hops == kMaxLinkHops) {
            error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
            return {};
        }
        const fs::path next = fs::read_symlink(target, error);
        if (error) {
            return {};
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    error.clear();
    return target;
}

WriteResult WriteInPlace(const fs::path& target, std::string_view contents) {
    std::FILE* file = OpenFile(target, "wb");
    if (file == nullptr) {
        return Failure(WriteOutcome::CannotOpen, LastError());
    }
    if (const std::error_code error = WriteAndClose(file, contents)) {
        return Failure(WriteOutcome::WriteFailed, error);
    }
    return {WriteOutcome::Written, {}};
}

// Creates a new file beside the target, hidden and named after it, that no one else has opened.
std::FILE* CreateTemporaryBeside(const fs::path& target, fs::path& temporary,
                                 std::error_code& error) {
    std::random_device random;
    for (int tries = 0; tries < kMaxTemporaryNameTries; ++tries) {
        const std::string suffix = std::to_string(random() % 1000000000u);
        temporary = target.parent_path() / ("." + target.filename().string() + "." + suffix);
        // "x": fail rather than open a file that is already there.
        if (std::FILE* file = OpenFile(temporary, "wbx")) {
            return file;
        }
        error = LastError();
        if (error != std::errc::file_exists) {
            return nullptr;
        }
    }
    return nullptr;
}

WriteResult ReplaceRegularFile(const fs::path& target, const fs::file_status& existing,
                               std::string_view contents) {
    if (target.filename().empty()) {
        return Failure(WriteOutcome::CannotOpen,
                       std::make_error_code(std::errc::no_such_file_or_directory));
    }
    const bool exists = existing.type() == fs::file_type::regular;
    // Renaming would replace a file that may not be written; opening it to append, without
    // writing, asks the system the same question a plain save would and changes nothing.
    if (exists) {
        std::FILE* probe = OpenFile(target, "ab");
        if (probe == nullptr) {
            return Failure(WriteOutcome::CannotOpen, LastError());
        }
        std::fclose(probe);
    }

    std::error_code error;
    fs::path temporary;
    std::FILE* file = CreateTemporaryBeside(target, temporary, error);
    if (file == nullptr) {
        return Failure(WriteOutcome::CannotOpen, error);
    }
    // The old permissions before the first byte, so a private file is never readable by others.
    if (exists) {
        fs::permissions(temporary, existing.permissions(), fs::perm_options::replace, error);
    }
    const std::error_code writeError = WriteAndClose(file, contents);
    if (!error) {
        error = writeError;
    }
    if (!error) {
        fs::rename(temporary, target, error);
    }
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return Failure(WriteOutcome::WriteFailed, error);
    }
    return {WriteOutcome::Written, {}};
}

}  // namespace

std::string FormatSettingsText(const SettingsFileRecord& record) {
    std::string text;
    const auto line = [&text](TextId label, std::string_view value) {
        text.append(LoadText(label)).append(value).append(kLineEnd);
    };
    line(kTextLabelBaudRateTabbed, record.baudRateText);
    line(kTextLabelCheckBitTabbed, record.checkBitText);
    line(kTextLabelCanBaudRateTabbed, record.canBaudRateText);
    line(kTextLabelCanProtocolTabbed, CanProtocolText(record.canProtocol));
    line(kTextLabelSlaveAddressTabbed, record.slaveAddressText);
    return text;
}

WriteResult WriteSettingsFile(const fs::path& path, const SettingsFileRecord& record) {
    const std::string contents = FormatSettingsText(record);
    std::error_code error;
    const fs::path target = FollowLinks(path, error);
    if (error) {
        return Failure(WriteOutcome::CannotOpen, error);
    }
    const fs::file_status existing = fs::status(target, error);
    switch (existing.type()) {
        case fs::file_type::not_found:
        case fs::file_type::regular:
            return ReplaceRegularFile(target, existing, contents);
        case fs::file_type::none:
            return Failure(WriteOutcome::CannotOpen, error);
        default:
            return WriteInPlace(target, contents);
    }
}

}  // namespace rq508

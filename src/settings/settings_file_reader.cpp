// The settings file reader sees the file as white-space separated tokens and reads exactly the
// eighteen it needs: each label as its fixed number of words joined by one space, compared
// byte for byte, and one token per value. Bytes come one at a time from memory or from the open
// file in blocks, so a file of any size is read in constant memory and never past the slave
// address.

#include <array>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>
#include <system_error>

#include "settings/settings_file.h"
#include "settings/string_table.h"

namespace rq508 {
namespace {

constexpr int kEnd = -1;
constexpr std::string_view kProtocolPrefix = "CAN2.0";
constexpr const char* kZeroByteProblem = "a zero byte stands where text belongs: no text file";

bool IsWhiteSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

class MemoryBytes {
public:
    explicit MemoryBytes(std::string_view contents) : m_contents(contents) {}

    int Next() {
        return m_next < m_contents.size() ? static_cast<unsigned char>(m_contents[m_next++]) : kEnd;
    }

private:
    std::string_view m_contents;
    size_t m_next = 0;
};

class FileBytes {
public:
    explicit FileBytes(std::FILE* file) : m_file(file) {}

    int Next() {
        if (m_next == m_filled) {
            Refill();
        }
        return m_next < m_filled ? m_block[m_next++] : kEnd;
    }

    // The error of a read that failed, or 0 when the reads reached the end or were not finished.
    int ReadError() const { return m_readError; }

private:
    void Refill() {
        m_next = 0;
        m_filled = std::fread(m_block.data(), 1, m_block.size(), m_file);
        if (m_filled == 0 && std::ferror(m_file)) {
            m_readError = errno != 0 ? errno : EIO;
        }
    }

    std::FILE* m_file;
    std::array<unsigned char, 16384> m_block{};
    size_t m_next = 0;
    size_t m_filled = 0;
    int m_readError = 0;
};

template <typename Bytes>
class TokenReader {
public:
    explicit TokenReader(Bytes& bytes) : m_bytes(bytes) {}

    // The next token, or none at the end of the input or when the token holds a zero byte (no
    // text holds one: the file is binary). A token keeps its first 127 bytes; the rest of it is
    // skipped.
    std::optional<std::string> Next() {
        int c = m_bytes.Next();
        while (IsWhiteSpace(c)) {
            c = m_bytes.Next();
        }
        if (c == kEnd) {
            return std::nullopt;
        }
        std::string token;
        for (; c != kEnd && !IsWhiteSpace(c); c = m_bytes.Next()) {
            m_zeroByte = m_zeroByte || c == 0;
            if (token.size() < kMaxSettingsTokenBytes) {
                token.push_back(static_cast<char>(c));
            }
        }
        if (m_zeroByte) {
            return std::nullopt;
        }
        return token;
    }

    bool FoundZeroByte() const { return m_zeroByte; }

    // The given number of tokens joined by one space each, or none when the input ends first.
    std::optional<std::string> Words(int count) {
        std::string words;
        for (int i = 0; i < count; ++i) {
            std::optional<std::string> token = Next();
            if (!token) {
                return std::nullopt;
            }
            words += (i == 0 ? "" : " ") + *token;
        }
        return words;
    }

private:
    Bytes& m_bytes;
    bool m_zeroByte = false;
};

ReadResult Unrecognised(std::string detail) {
    return {ReadOutcome::Unrecognised, {}, std::move(detail)};
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string{text} + "\"";
}

template <typename Bytes>
ReadResult ParseTokens(Bytes& bytes) {
    TokenReader<Bytes> tokens{bytes};
    std::string problem;

    // Each label is as many tokens as it has words.
    const auto label = [&](TextId text, int words) {
        const std::optional<std::string> found = tokens.Words(words);
        if (tokens.FoundZeroByte()) {
            problem = kZeroByteProblem;
        } else if (!found) {
            problem = "the file ends before the label " + Quoted(LoadText(text));
        } else if (*found != LoadText(text)) {
            problem = "expected the label " + Quoted(LoadText(text)) + ", found " + Quoted(*found);
        }
        return problem.empty();
    };
    const auto value = [&](std::string& text, std::string_view after) {
        std::optional<std::string> found = tokens.Next();
        if (tokens.FoundZeroByte()) {
            problem = kZeroByteProblem;
        } else if (!found) {
            problem = "the file ends after " + Quoted(after);
        } else {
            text = std::move(*found);
        }
        return problem.empty();
    };

    SettingsFileRecord record;
    std::string prefix;
    std::string letter;
    const bool passed =
        label(kTextLabelBaudRate, 2) && value(record.baudRateText, LoadText(kTextLabelBaudRate)) &&
        label(kTextLabelCheckBit, 2) && value(record.checkBitText, LoadText(kTextLabelCheckBit)) &&
        label(kTextLabelCanBaudRate, 3) &&
        value(record.canBaudRateText, LoadText(kTextLabelCanBaudRate)) &&
        label(kTextLabelCanProtocol, 2) && value(prefix, LoadText(kTextLabelCanProtocol));
    if (!passed) {
        return Unrecognised(problem);
    }
    if (prefix != kProtocolPrefix) {
        return Unrecognised("expected " + Quoted(kProtocolPrefix) + " after the label " +
                            Quoted(LoadText(kTextLabelCanProtocol)) + ", found " + Quoted(prefix));
    }
    if (!value(letter, kProtocolPrefix) || !label(kTextLabelSlaveAddress, 3)) {
        return Unrecognised(problem);
    }
    // Only "A" is protocol A; any other letter, "a" included, is B.
    record.canProtocol = letter == "A" ? 0 : 1;
    // Saving an empty Slave Address box ends the file right after its label: an empty address.
    std::optional<std::string> address = tokens.Next();
    if (tokens.FoundZeroByte()) {
        return Unrecognised(kZeroByteProblem);
    }
    record.slaveAddressText = address.value_or("");
    return {ReadOutcome::Loaded, std::move(record), {}};
}

ReadResult CannotOpen(std::error_code error) {
    return {ReadOutcome::CannotOpen, {}, error.message()};
}

}  // namespace

ReadResult ParseSettingsText(std::string_view contents) {
    MemoryBytes bytes{contents};
    return ParseTokens(bytes);
}

ReadResult ReadSettingsFile(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::directory) {
        return CannotOpen(std::make_error_code(std::errc::is_a_directory));
    }
    if (error) {
        return CannotOpen(error);
    }
    // A device or pipe might never end (/dev/zero) or never start (a FIFO without a writer).
    if (status.type() != std::filesystem::file_type::regular) {
        return {ReadOutcome::CannotOpen, {}, "not a regular file"};
    }

    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file{
        std::fopen(path.string().c_str(), "rb"), &std::fclose};
    if (!file) {
        return CannotOpen(std::error_code{errno, std::generic_category()});
    }
    FileBytes bytes{file.get()};
    ReadResult result = ParseTokens(bytes);
    // A read error looks like the end of the file to the parser; it is no verdict on the contents.
    if (bytes.ReadError() != 0) {
        return CannotOpen(std::error_code{bytes.ReadError(), std::generic_category()});
    }
    return result;
}

}  // namespace rq508

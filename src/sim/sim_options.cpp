#include "sim_options.h"

#include <charconv>
#include <functional>
#include <string_view>

namespace rq508 {
namespace {

constexpr uint64_t kMaxMilliseconds = 60000;
constexpr uint64_t kMaxLineBytes = 65536;
constexpr uint64_t kMaxStaleBytes = 4096;
constexpr uint64_t kFrameSizeLessOne = 13;

struct FlagOption {
    std::string_view name;
    std::function<void(SimOptions&)> set;
};

struct NumberOption {
    std::string_view name;
    uint64_t min;
    uint64_t max;
    std::function<void(SimOptions&, uint64_t)> set;
};

struct PathOption {
    std::string_view name;
    std::function<void(SimOptions&, const std::filesystem::path&)> set;
};

const FlagOption kFlags[] = {
    {"--no-announce", [](SimOptions& o) { o.announce = false; }},
    {"--watch-stdin", [](SimOptions& o) { o.watchStdin = true; }},
    {"--silent", [](SimOptions& o) { o.misbehaviour.silent = true; }},
    {"--hangup", [](SimOptions& o) { o.misbehaviour.hangup = true; }},
    {"--echo", [](SimOptions& o) { o.misbehaviour.echo = true; }},
    {"--read-only", [](SimOptions& o) { o.misbehaviour.readOnly = true; }},
    {"--garbage", [](SimOptions& o) { o.misbehaviour.garbage = true; }},
    {"--bad-checksum", [](SimOptions& o) { o.misbehaviour.badChecksum = true; }},
    {"--wrong-length", [](SimOptions& o) { o.misbehaviour.wrongLength = true; }},
};

const NumberOption kNumbers[] = {
    {"--delay", 0, kMaxMilliseconds,
     [](SimOptions& o, uint64_t v) { o.misbehaviour.delayMs = static_cast<uint32_t>(v); }},
    {"--partial", 0, kFrameSizeLessOne,
     [](SimOptions& o, uint64_t v) { o.misbehaviour.partialBytes = v; }},
    {"--split", 1, kMaxLineBytes, [](SimOptions& o, uint64_t v) { o.misbehaviour.splitBytes = v; }},
    {"--pause", 0, kMaxMilliseconds,
     [](SimOptions& o, uint64_t v) { o.misbehaviour.pauseMs = static_cast<uint32_t>(v); }},
    {"--flood", 1, kMaxLineBytes, [](SimOptions& o, uint64_t v) { o.misbehaviour.floodBytes = v; }},
    {"--stale", 1, kMaxStaleBytes,
     [](SimOptions& o, uint64_t v) { o.misbehaviour.staleBytes = v; }},
};

const PathOption kPaths[] = {
    {"--announce-dir", [](SimOptions& o, const std::filesystem::path& p) { o.announceDir = p; }},
    {"--initial", [](SimOptions& o, const std::filesystem::path& p) { o.initialFile = p; }},
    {"--state-file", [](SimOptions& o, const std::filesystem::path& p) { o.stateFile = p; }},
};

std::optional<uint64_t> ParseNumber(std::string_view text) {
    uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

// The reply can be built only one way; the spoilers and the delivery combine with any of them.
std::string ConflictError(const Misbehaviour& m) {
    const std::pair<bool, std::string_view> answers[] = {
        {m.silent, "--silent"},   {m.hangup, "--hangup"},        {m.echo, "--echo"},
        {m.garbage, "--garbage"}, {m.floodBytes > 0, "--flood"},
    };
    std::string chosen;
    int count = 0;
    for (const auto& [set, name] : answers) {
        if (set) {
            chosen += chosen.empty() ? "" : " and ";
            chosen += name;
            ++count;
        }
    }
    if (count > 1) {
        return chosen + " cannot be combined: choose one way to answer";
    }
    if (m.pauseMs > 0 && m.splitBytes == 0) {
        return "--pause needs --split N: it is the pause between the pieces of the reply";
    }
    return {};
}

}  // namespace

SimOptionsResult ParseSimOptions(const std::vector<std::string>& arguments) {
    SimOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const size_t equals = name.find('='); name.starts_with("--") && equals != name.npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name == "--help" || name == "-h") {
            return {std::nullopt, true, {}};
        }
        const auto takeValue = [&]() -> std::optional<std::string> {
            if (value) {
                return value;
            }
            if (i + 1 < arguments.size()) {
                return arguments[++i];
            }
            return std::nullopt;
        };
        bool known = false;
        for (const FlagOption& flag : kFlags) {
            if (name == flag.name) {
                if (value) {
                    return {std::nullopt, false, name + " takes no value"};
                }
                flag.set(options);
                known = true;
            }
        }
        for (const NumberOption& number : kNumbers) {
            if (name == number.name) {
                const std::optional<std::string> text = takeValue();
                if (!text) {
                    return {std::nullopt, false, name + " needs a number"};
                }
                const std::optional<uint64_t> parsed = ParseNumber(*text);
                if (!parsed || *parsed < number.min || *parsed > number.max) {
                    return {std::nullopt, false,
                            name + " \"" + *text + "\" is not a whole number from " +
                                std::to_string(number.min) + " to " + std::to_string(number.max)};
                }
                number.set(options, *parsed);
                known = true;
            }
        }
        for (const PathOption& path : kPaths) {
            if (name == path.name) {
                const std::optional<std::string> text = takeValue();
                if (!text || text->empty()) {
                    return {std::nullopt, false, name + " needs a path"};
                }
                path.set(options, *text);
                known = true;
            }
        }
        if (!known) {
            return {std::nullopt, false,
                    "unknown option \"" + arguments[i] + "\" (see rq508-sim --help)"};
        }
    }
    if (std::string error = ConflictError(options.misbehaviour); !error.empty()) {
        return {std::nullopt, false, error};
    }
    return {options, false, {}};
}

std::string SimHelpText() {
    return R"help(Usage: rq508-sim [options]

A virtual RQ-508 gateway on a pseudo-terminal. It prints the terminal's path as the first
line, then one line per exchange:
  download <settings> < <bytes received> > <bytes sent>
  upload <settings> < <bytes received> > <bytes sent>
where <settings> reads like "19200 None 1 125K CAN2.0 A" and <bytes sent> may also read
"nothing", "hangup" or "200 bytes". Bytes that start no frame are logged as "skipped <bytes>",
a frame with a wrong checksum or end marker as "ignored <bytes> (...)", and a frame left
unfinished for a second as "dropped <bytes> (...)". The gateway holds its five settings until it
ends (initially 19200, None, address 1, 125K, CAN2.0 A) and ends on SIGINT or SIGTERM.

Options:
  --initial FILE       start with the settings of a settings file
  --state-file FILE    keep FILE up to date with the settings held, as a settings file
  --no-announce        do not announce the gateway to port discovery
  --announce-dir DIR   announce in DIR instead of the usual per-user folder
  --watch-stdin        end when standard input closes
  --help               show this text

Misbehaviour (choose one of --silent, --hangup, --echo, --garbage, --flood; the others
combine with it):
  --delay MS           answer MS milliseconds late (0 to 60000)
  --silent             answer nothing and keep nothing, as if nothing were attached
  --hangup             close the line at the first request, then end
  --echo               answer with the request itself and keep nothing, as a
                       loopback plug would
  --garbage            answer bytes of the right length that are no frame
  --flood N            answer N bytes: the reply repeated (1 to 65536)
  --read-only          acknowledge downloads but keep nothing
  --bad-checksum       answer with a wrong checksum
  --wrong-length       answer one byte more than the frame
  --partial N          send only the first N bytes of the reply (0 to 13)
  --split N            send the reply in pieces of N bytes (1 to 65536)
  --pause MS           with --split: wait MS milliseconds between pieces (0 to 60000)
  --stale N            put N bytes into the line at start, before any request (1 to 4096)
)help";
}

}  // namespace rq508

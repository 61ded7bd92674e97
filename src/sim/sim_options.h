#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace rq508 {

// How the virtual gateway departs from a sound gateway when it answers. The reply is built
// first (sound, echo, garbage or flood), then spoilt (bad checksum, wrong length, partial), then
// delivered (delay, pieces with pauses).
struct Misbehaviour {
    uint32_t delayMs = 0;
    bool silent = false;    // ignores every request, as if nothing were attached
    bool hangup = false;    // closes its end of the line at the first request, then ends
    bool echo = false;      // answers with the request itself, as a loopback plug would
    bool readOnly = false;  // acknowledges downloads but keeps nothing
    bool garbage = false;   // answers bytes of the right length that are no frame
    size_t floodBytes = 0;  // answers this many bytes (the reply, repeated); 0 for off
    bool badChecksum = false;
    bool wrongLength = false;  // one byte more than the frame
    std::optional<size_t> partialBytes;
    size_t splitBytes = 0;  // 0: the reply in one write
    uint32_t pauseMs = 0;
    size_t staleBytes = 0;  // put into the line at start, before any request
};

struct SimOptions {
    bool announce = true;
    std::optional<std::filesystem::path> announceDir;
    std::optional<std::filesystem::path> initialFile;
    std::optional<std::filesystem::path> stateFile;
    bool watchStdin = false;
    Misbehaviour misbehaviour;
};

struct SimOptionsResult {
    std::optional<SimOptions> options;  // none when help was asked for or an option is wrong
    bool helpRequested = false;
    std::string error;
};

SimOptionsResult ParseSimOptions(const std::vector<std::string>& arguments);

std::string SimHelpText();

}  // namespace rq508

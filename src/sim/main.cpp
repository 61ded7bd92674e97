// rq508-sim: a virtual RQ-508 gateway on a pseudo-terminal, for trying and testing the tool
// without hardware. See SimHelpText for its options and its log.

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "gateway_loop.h"
#include "platform/posix/virtual_gateway_announcement.h"
#include "pseudo_terminal.h"
#include "settings/settings_conversion.h"
#include "settings/settings_file.h"
#include "shutdown_signals.h"
#include "sim_options.h"
#include "virtual_gateway.h"

namespace {

using namespace rq508;

constexpr int kExitUsage = 2;
constexpr int kExitFailure = 1;

void Log(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

void Complain(const std::string& message) {
    std::cerr << "rq508-sim: " << message << "\n";
}

std::optional<GatewaySettings> InitialSettings(const SimOptions& options) {
    if (!options.initialFile) {
        return GatewaySettings{};
    }
    const std::string path = options.initialFile->string();
    const ReadResult read = ReadSettingsFile(*options.initialFile);
    if (read.outcome == ReadOutcome::CannotOpen) {
        Complain("cannot read " + path + ": " + read.detail);
        return std::nullopt;
    }
    if (read.outcome == ReadOutcome::Unrecognised) {
        Complain(path + " is no settings file: " + read.detail);
        return std::nullopt;
    }
    const Parsed<GatewaySettings> settings = SettingsFromRecord(read.record);
    if (!settings.value) {
        Complain(path + ": " + settings.error);
    }
    return settings.value;
}

bool KeepState(const SimOptions& options, const GatewaySettings& settings) {
    if (!options.stateFile) {
        return true;
    }
    const WriteResult written = WriteSettingsFile(*options.stateFile, RecordFromSettings(settings));
    if (written.outcome != WriteOutcome::Written) {
        Complain("cannot write the state file " + options.stateFile->string() + ": " +
                 written.osText);
        return false;
    }
    return true;
}

// The announcement lives as long as this object: withdrawn on every way out of main.
class Announcement {
public:
    Announcement(const SimOptions& options, const std::string& ptyPath) {
        if (!options.announce) {
            return;
        }
        const std::filesystem::path folder =
            options.announceDir ? *options.announceDir : AnnouncementFolder();
        std::string error;
        m_link = AnnounceVirtualGateway(folder, ptyPath, error);
        if (m_link.empty()) {
            Complain("not announced to port discovery: " + error +
                     " (the gateway still answers on " + ptyPath + ")");
        }
    }
    ~Announcement() {
        if (!m_link.empty()) {
            WithdrawAnnouncement(m_link);
        }
    }
    Announcement(const Announcement&) = delete;
    Announcement& operator=(const Announcement&) = delete;

private:
    std::filesystem::path m_link;
};

}  // namespace

int main(int argc, char** argv) {
    const SimOptionsResult parsed =
        ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.helpRequested) {
        std::cout << SimHelpText();
        return 0;
    }
    if (!parsed.options) {
        Complain(parsed.error);
        return kExitUsage;
    }
    const SimOptions& options = *parsed.options;
    const std::optional<GatewaySettings> initial = InitialSettings(options);
    if (!initial) {
        return kExitUsage;
    }

    const ShutdownSignals signals;
    if (!signals.IsValid()) {
        Complain("cannot watch for signals");
        return kExitFailure;
    }
    std::string error;
    std::optional<PseudoTerminal> terminal = PseudoTerminal::Open(error);
    if (!terminal) {
        Complain(error);
        return kExitFailure;
    }
    if (!KeepState(options, *initial)) {
        return kExitFailure;
    }
    VirtualGateway gateway(*initial, options.misbehaviour);
    GatewayLoop loop(*terminal, gateway, options.misbehaviour,
                     {Log, [&](const GatewaySettings& kept) { KeepState(options, kept); }});
    loop.LeaveStaleBytes();
    const Announcement announcement(options, terminal->SlavePath());

    // The first line is the port's path, for the person or program that started the gateway.
    Log(terminal->SlavePath());
    return loop.Run(signals.ReadFd(), options.watchStdin ? STDIN_FILENO : -1);
}

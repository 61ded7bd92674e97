#include "commands.h"

#include "exit_status.h"
#include "link/port_discovery.h"
#include "link/serial_channel.h"
#include "link/transactions.h"
#include "output_format.h"
#include "settings/settings_conversion.h"
#include "settings/settings_file.h"
#include "settings/string_table.h"

namespace rq508 {
namespace {

constexpr const char* kPrefix = "rq508: ";

// The exit status of a transaction that did not succeed, after its messages are shown: the
// window's own text first, then what the command line can add.
int ReportFailure(const TransactionOutcome& outcome, const std::string& port, Tools& tools) {
    tools.err << outcome.message << "\n";
    switch (outcome.kind) {
        case TransactionKind::OpenFailed:
            tools.err << kPrefix << OpenFailureAdvice(port, outcome.openError) << "\n";
            return kExitPortOpenFailed;
        case TransactionKind::SettingsReadFailed:
        case TransactionKind::SettingsWriteFailed:
            tools.err << kPrefix << LineSettingsAdvice(port) << "\n";
            return kExitLineSettings;
        case TransactionKind::ReplyRejected:
            tools.err << kPrefix << "no valid reply from the gateway on " << port
                      << ": is it connected and powered?\n";
            return kExitNoValidReply;
        case TransactionKind::ReplyAccepted:
            break;
    }
    return kExitOk;
}

struct Uploaded {
    std::optional<GatewaySettings> settings;
    int status = kExitOk;
};

// Uploads; on failure the messages are shown and the status says why.
Uploaded Upload(const CommandLine& line, Tools& tools) {
    SerialChannel channel(tools.port, tools.clock);
    const TransactionOutcome outcome = UploadSettings(channel, line.port);
    if (outcome.kind != TransactionKind::ReplyAccepted) {
        return {std::nullopt, ReportFailure(outcome, line.port, tools)};
    }
    return {outcome.settings, kExitOk};
}

// Sends the settings; the success message goes to out unless the command says otherwise.
int Download(const CommandLine& line, const GatewaySettings& settings, Tools& tools,
             bool announceSuccess) {
    SerialChannel channel(tools.port, tools.clock);
    const TransactionOutcome outcome = DownloadSettings(channel, line.port, settings);
    if (outcome.kind != TransactionKind::ReplyAccepted) {
        return ReportFailure(outcome, line.port, tools);
    }
    if (announceSuccess) {
        tools.out << outcome.message << "\n";
    }
    return kExitOk;
}

std::optional<GatewaySettings> ReadSettingsFrom(const std::filesystem::path& path, Tools& tools) {
    const ReadResult read = ReadSettingsFile(path);
    if (read.outcome == ReadOutcome::CannotOpen) {
        tools.err << LoadText(kTextFileDoesNotExist) << "\n"
                  << kPrefix << "cannot read " << path.string() << ": " << read.detail << "\n";
        return std::nullopt;
    }
    if (read.outcome == ReadOutcome::Unrecognised) {
        tools.err << LoadText(kTextUnrecognizedFile) << "\n"
                  << kPrefix << path.string() << " is no settings file: " << read.detail << "\n";
        return std::nullopt;
    }
    const Parsed<GatewaySettings> settings = SettingsFromRecord(read.record);
    if (!settings.value) {
        tools.err << kPrefix << path.string() << ": " << settings.error << "\n";
    }
    return settings.value;
}

void Apply(const SettingChoices& choices, GatewaySettings& settings) {
    settings.baudRate = choices.baudRate.value_or(settings.baudRate);
    settings.checkBit = choices.checkBit.value_or(settings.checkBit);
    settings.slaveAddress = choices.slaveAddress.value_or(settings.slaveAddress);
    settings.canBaudRate = choices.canBaudRate.value_or(settings.canBaudRate);
    settings.canProtocol = choices.canProtocol.value_or(settings.canProtocol);
}

struct Resolved {
    std::optional<GatewaySettings> settings;
    int status = kExitOk;
};

// The settings to send: those of the file, if one is named, with the options over them; where
// neither gives a setting, the gateway's own value, uploaded first.
Resolved SettingsToSend(const CommandLine& line, Tools& tools) {
    GatewaySettings settings;
    if (line.file) {
        const std::optional<GatewaySettings> fromFile = ReadSettingsFrom(*line.file, tools);
        if (!fromFile) {
            return {std::nullopt, kExitFileError};
        }
        settings = *fromFile;
    } else if (!line.choices.IsComplete()) {
        const Uploaded current = Upload(line, tools);
        if (!current.settings) {
            tools.err << kPrefix
                      << "the settings not given could not be read from the gateway, so "
                         "nothing was sent\n";
            return {std::nullopt, current.status};
        }
        settings = *current.settings;
    }
    Apply(line.choices, settings);
    return {settings, kExitOk};
}

int RunPorts(Tools& tools) {
    g_portList.clear();
    EnumerateSerialPorts(tools.portNames);
    for (const std::string& name : g_portList) {
        tools.out << name << "\n";
    }
    if (g_portList.empty()) {
        tools.err << kPrefix << "no serial ports found\n";
    }
    return kExitOk;
}

int RunUpload(const CommandLine& line, Tools& tools) {
    const Uploaded uploaded = Upload(line, tools);
    if (!uploaded.settings) {
        return uploaded.status;
    }
    tools.out << (line.json ? SettingsJson(*uploaded.settings) : SettingsText(*uploaded.settings));
    return kExitOk;
}

int RunDownload(const CommandLine& line, Tools& tools) {
    const Resolved resolved = SettingsToSend(line, tools);
    if (!resolved.settings) {
        return resolved.status;
    }
    return Download(line, *resolved.settings, tools, true);
}

int RunVerify(const CommandLine& line, Tools& tools) {
    const Resolved resolved = SettingsToSend(line, tools);
    if (!resolved.settings) {
        return resolved.status;
    }
    if (const int status = Download(line, *resolved.settings, tools, false); status != kExitOk) {
        return status;
    }
    const Uploaded held = Upload(line, tools);
    if (!held.settings) {
        return held.status;
    }
    const std::vector<std::string> differences =
        SettingDifferences(*resolved.settings, *held.settings);
    for (const std::string& difference : differences) {
        tools.err << kPrefix << difference << "\n";
    }
    if (!differences.empty()) {
        return kExitVerifyMismatch;
    }
    tools.out << "Verified: the gateway holds " << SettingsSummary(*held.settings) << "\n";
    return kExitOk;
}

int RunSave(const CommandLine& line, Tools& tools) {
    const Uploaded uploaded = Upload(line, tools);
    if (!uploaded.settings) {
        return uploaded.status;
    }
    const WriteResult written =
        WriteSettingsFile(*line.file, RecordFromSettings(*uploaded.settings));
    if (written.outcome != WriteOutcome::Written) {
        tools.err << LoadText(kTextSaveFailed) << "\n"
                  << kPrefix << "cannot write " << line.file->string() << ": " << written.osText
                  << "\n";
        return kExitFileError;
    }
    return kExitOk;
}

}  // namespace

int RunCommand(const CommandLine& commandLine, Tools& tools) {
    switch (commandLine.command) {
        case Command::Ports:
            return RunPorts(tools);
        case Command::Upload:
            return RunUpload(commandLine, tools);
        case Command::Download:
        case Command::Load:
            return RunDownload(commandLine, tools);
        case Command::Verify:
            return RunVerify(commandLine, tools);
        case Command::Save:
            return RunSave(commandLine, tools);
    }
    return kExitUsage;
}

}  // namespace rq508

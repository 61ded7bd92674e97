#pragma once

#include <optional>
#include <string>

#include "serial_channel.h"
#include "settings/gateway_settings.h"

namespace rq508 {

enum class TransactionKind {
    OpenFailed,
    SettingsReadFailed,
    SettingsWriteFailed,
    ReplyAccepted,
    ReplyRejected,
};

struct TransactionOutcome {
    TransactionKind kind;
    std::string message;                      // the text the user is to see
    std::optional<GatewaySettings> settings;  // present after an accepted upload
    PortError openError;                      // why the port failed to open, if it did
};

// Each runs one whole exchange on a closed channel and leaves it closed.
TransactionOutcome DownloadSettings(SerialChannel& channel, const std::string& portName,
                                    const GatewaySettings& settings);
TransactionOutcome UploadSettings(SerialChannel& channel, const std::string& portName);

}  // namespace rq508

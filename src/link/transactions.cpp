// How it works: each transaction opens the port anew, sends one frame, takes whatever the
// window collected, judges it by the frame rules and closes the port before it returns. The
// outcome carries the text the user is to see; the reason an open failed rides along for
// callers that can say more than the window does.
#include "transactions.h"

#include <span>

#include "frames.h"
#include "settings/string_table.h"

namespace rq508 {
namespace {

TransactionOutcome OpenFailure(OpenResult result, const SerialChannel& channel,
                               const std::string& portName) {
    switch (result) {
        case OpenResult::SettingsReadFailed:
            return {TransactionKind::SettingsReadFailed,
                    std::string(LoadText(kTextSettingsReadFailed)),
                    std::nullopt,
                    {}};
        case OpenResult::SettingsWriteFailed:
            return {TransactionKind::SettingsWriteFailed,
                    std::string(LoadText(kTextSettingsWriteFailed)),
                    std::nullopt,
                    {}};
        case OpenResult::Opened:
        case OpenResult::OpenFailed:
            break;
    }
    return {TransactionKind::OpenFailed, FormatPortOpenFailed(portName), std::nullopt,
            channel.LastOpenError()};
}

// Sends the frame and collects the reply the window brings; the channel stays open.
ReceivedBlock Exchange(SerialChannel& channel, std::span<const uint8_t> frame) {
    channel.Send(frame.data(), frame.size());
    return channel.Receive(channel.WaitForInput());
}

std::span<const uint8_t> BytesOf(const ReceivedBlock& block) {
    return block.bytes;
}

}  // namespace

TransactionOutcome DownloadSettings(SerialChannel& channel, const std::string& portName,
                                    const GatewaySettings& settings) {
    const OpenResult opened = channel.Open(portName);
    if (opened != OpenResult::Opened) {
        return OpenFailure(opened, channel, portName);
    }
    const ReceivedBlock reply = Exchange(channel, EncodeDownloadFrame(settings));
    channel.Close();
    if (IsDownloadAck(BytesOf(reply), reply.count)) {
        return {TransactionKind::ReplyAccepted,
                std::string(LoadText(kTextDownloadSucceeded)),
                std::nullopt,
                {}};
    }
    return {TransactionKind::ReplyRejected,
            std::string(LoadText(kTextDownloadFailed)),
            std::nullopt,
            {}};
}

TransactionOutcome UploadSettings(SerialChannel& channel, const std::string& portName) {
    const OpenResult opened = channel.Open(portName);
    if (opened != OpenResult::Opened) {
        return OpenFailure(opened, channel, portName);
    }
    const ReceivedBlock reply = Exchange(channel, EncodeUploadRequest());
    channel.Close();
    if (auto received = DecodeUploadReply(BytesOf(reply), reply.count)) {
        return {TransactionKind::ReplyAccepted,
                std::string(LoadText(kTextUploadSucceeded)),
                received,
                {}};
    }
    return {
        TransactionKind::ReplyRejected, std::string(LoadText(kTextUploadFailed)), std::nullopt, {}};
}

}  // namespace rq508

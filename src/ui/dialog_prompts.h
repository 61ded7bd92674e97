#pragma once

#include <filesystem>
#include <string>

#include "link/port_name_source.h"

namespace rq508 {

// Everything the main dialog asks of a person: message boxes, the two file dialogs, the port
// dialog and the About box. The real implementation shows the real windows; a test answers.
class DialogPrompts {
public:
    virtual ~DialogPrompts() = default;

    // A box captioned "RQ-508" with the text, one OK button and no icon; returns once closed.
    virtual void ShowMessage(const std::string& text) = 0;
    // The file to save to, or an empty path when the user cancelled.
    virtual std::filesystem::path AskSavePath() = 0;
    // The file to load from (it need not exist), or an empty path when the user cancelled.
    virtual std::filesystem::path AskOpenPath() = 0;
    // Runs the port dialog over the ports the source names; true when it ended with Ok, which
    // has then set g_portName.
    virtual bool RunPortSelection(PortNameSource& portNames) = 0;
    virtual void RunAboutBox() = 0;
};

}  // namespace rq508

#include "virtual_gateway_process.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "settings/settings_conversion.h"
#include "settings/settings_file.h"

namespace rq508::testing {
namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<int64_t>(0, left.count()));
}

std::optional<std::string> TakeLine(std::string& buffer) {
    const size_t end = buffer.find('\n');
    if (end == std::string::npos) {
        return std::nullopt;
    }
    std::string line = buffer.substr(0, end);
    buffer.erase(0, end + 1);
    return line;
}

}  // namespace

VirtualGatewayProcess::~VirtualGatewayProcess() {
    Stop();
}

std::string VirtualGatewayProcess::ProgramPath() {
    return RQ508_SIM_PROGRAM;
}

std::optional<GatewaySettings> VirtualGatewayProcess::HeldSettings(
    const std::filesystem::path& stateFile) {
    const ReadResult read = ReadSettingsFile(stateFile);
    if (read.outcome != ReadOutcome::Loaded) {
        return std::nullopt;
    }
    return SettingsFromRecord(read.record).value;
}

bool VirtualGatewayProcess::Start(const std::vector<std::string>& arguments, std::string& error,
                                  int timeoutMs) {
    if (IsRunning()) {
        error = "the virtual gateway is already running";
        return false;
    }
    std::vector<std::string> argv = {ProgramPath(), "--watch-stdin"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    if (!m_child.Start(argv, PipedChild::Input::HeldOpen, error)) {
        return false;
    }

    std::optional<std::string> firstLine = NextLogLine(timeoutMs);
    if (!firstLine || !firstLine->starts_with("/")) {
        const int status = Stop();
        error = "the virtual gateway did not give its port (exit status " + std::to_string(status) +
                "): " + m_child.Err();
        return false;
    }
    m_portPath = *firstLine;
    return true;
}

std::optional<std::string> VirtualGatewayProcess::NextLogLine(int timeoutMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (std::optional<std::string> line = TakeLine(m_child.Out())) {
            return line;
        }
        if (!m_child.ReadAvailable(RemainingMs(deadline)) && RemainingMs(deadline) == 0) {
            return std::nullopt;
        }
        if (!m_child.IsOutputOpen()) {
            return TakeLine(m_child.Out());
        }
    }
}

std::optional<std::string> VirtualGatewayProcess::WaitForLogLine(const std::string& text,
                                                                 int timeoutMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::optional<std::string> line = NextLogLine(RemainingMs(deadline))) {
        if (line->find(text) != std::string::npos) {
            return line;
        }
    }
    return std::nullopt;
}

std::string VirtualGatewayProcess::ErrorOutput() {
    m_child.ReadAvailable(0);
    return m_child.Err();
}

std::optional<int> VirtualGatewayProcess::WaitForExit(int timeoutMs) {
    if (!IsRunning()) {
        return std::nullopt;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (const std::optional<int> status = m_child.TryWait()) {
            return status;
        }
        if (RemainingMs(deadline) == 0) {
            return std::nullopt;
        }
        // Keeps reading, so a gateway blocked on a full pipe can still end.
        if (!m_child.ReadAvailable(std::min(RemainingMs(deadline), 10))) {
            usleep(1000);
        }
    }
}

int VirtualGatewayProcess::Stop(int timeoutMs) {
    if (!IsRunning()) {
        return -1;
    }
    m_child.Signal(SIGTERM);
    if (const std::optional<int> status = WaitForExit(timeoutMs)) {
        return *status;
    }
    m_child.Signal(SIGKILL);
    return m_child.Wait();
}

}  // namespace rq508::testing

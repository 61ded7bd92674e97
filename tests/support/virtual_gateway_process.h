#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "settings/gateway_settings.h"
#include "support/piped_child.h"

namespace rq508::testing {

// A running rq508-sim, started by a test with the options it names and stopped (SIGTERM, then
// SIGKILL if it lingers) when the object goes. Plain C++ with result values, so that tests of
// any framework can use it:
//
//     VirtualGatewayProcess gateway;
//     std::string error;
//     if (!gateway.Start({"--no-announce", "--delay", "100"}, error)) { fail with error }
//     ... open gateway.PortPath() ...
//     std::optional<std::string> line = gateway.NextLogLine(5000);  // "download 19200 ..."
class VirtualGatewayProcess {
public:
    VirtualGatewayProcess() = default;
    ~VirtualGatewayProcess();
    VirtualGatewayProcess(const VirtualGatewayProcess&) = delete;
    VirtualGatewayProcess& operator=(const VirtualGatewayProcess&) = delete;

    // The rq508-sim this build made.
    static std::string ProgramPath();

    // The settings a gateway keeps in its --state-file; none when the file holds none.
    static std::optional<GatewaySettings> HeldSettings(const std::filesystem::path& stateFile);

    // Starts the gateway and waits until it has printed its port's path. The gateway also ends
    // by itself should this process die. On failure the error holds what went wrong, with the
    // gateway's own complaint.
    bool Start(const std::vector<std::string>& arguments, std::string& error,
               int timeoutMs = kDefaultTimeoutMs);

    // The slave side of the gateway's pseudo-terminal, such as "/dev/pts/3".
    const std::string& PortPath() const { return m_portPath; }
    pid_t Pid() const { return m_child.Pid(); }
    bool IsRunning() const { return m_child.IsRunning(); }

    // The next line the gateway logs (one per exchange), or none if none came in time or the
    // gateway has ended.
    std::optional<std::string> NextLogLine(int timeoutMs = kDefaultTimeoutMs);
    // Reads lines until one contains the text; the lines before it are passed over.
    std::optional<std::string> WaitForLogLine(const std::string& text,
                                              int timeoutMs = kDefaultTimeoutMs);
    // What the gateway has written to its standard error so far.
    std::string ErrorOutput();

    // Sends SIGTERM and waits for the end (SIGKILL after the timeout). Returns the exit status
    // (137 when it had to be killed), or -1 when it was not running. Also done by the destructor.
    int Stop(int timeoutMs = kDefaultTimeoutMs);
    // Waits for a gateway that ends by itself (--hangup); the exit status, or none in time.
    std::optional<int> WaitForExit(int timeoutMs = kDefaultTimeoutMs);

    static constexpr int kDefaultTimeoutMs = 10000;

private:
    PipedChild m_child;  // its input held open: the gateway ends when this process does
    std::string m_portPath;
};

}  // namespace rq508::testing

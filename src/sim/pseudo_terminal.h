#pragma once

#include <optional>
#include <string>

namespace rq508 {

// A pseudo-terminal whose slave side is the virtual gateway's serial port. The gateway keeps a
// descriptor of the slave open itself: when the last descriptor of a slave closes, the line
// hangs up and the master reads fail, so without it every close by the tool would end the line.
// It takes no lock on the slave (no flock, no TIOCEXCL), so the tool can open it exclusively.
class PseudoTerminal {
public:
    static std::optional<PseudoTerminal> Open(std::string& error);

    PseudoTerminal(PseudoTerminal&& other) noexcept;
    PseudoTerminal& operator=(PseudoTerminal&&) = delete;
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;
    ~PseudoTerminal();

    int MasterFd() const { return m_master; }
    const std::string& SlavePath() const { return m_slavePath; }

    // Clears the terminal's exclusive-use flag (TIOCEXCL). The flag belongs to the terminal, not
    // to a descriptor, and this gateway keeps the terminal open: a program killed while it held
    // the port would otherwise leave it busy for everyone but root until the gateway ends.
    void ClearExclusiveUse();

    // Hangs the line up: the tool's side sees its port vanish.
    void Close();

private:
    PseudoTerminal(int master, int slave, std::string slavePath);

    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

}  // namespace rq508

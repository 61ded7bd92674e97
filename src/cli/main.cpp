// rq508: the configuration tool's transactions and settings files on the command line, for
// scripts and for configuring many gateways. See HelpText for the commands.

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "exit_status.h"
#include "help_text.h"
#include "platform/system.h"
#include "trace_device.h"

int main(int argc, char** argv) {
    using namespace rq508;
    const ParsedCommandLine parsed =
        ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.helpRequested) {
        std::cout << HelpText(parsed.helpTopic);
        return kExitOk;
    }
    if (!parsed.commandLine) {
        std::cerr << "rq508: " << parsed.error << "\n"
                  << "Try rq508 --help.\n";
        return kExitUsage;
    }
    const CommandLine& commandLine = *parsed.commandLine;

    const std::unique_ptr<SerialPortDevice> systemPort = MakeSystemSerialPort();
    const std::unique_ptr<Clock> clock = MakeSystemClock();
    const std::unique_ptr<PortNameSource> portNames = MakeSystemPortNameSource();
    TracingSerialPort tracedPort(*systemPort, std::cerr);
    SerialPortDevice& port =
        commandLine.trace ? static_cast<SerialPortDevice&>(tracedPort) : *systemPort;
    Tools tools{port, *clock, *portNames, std::cout, std::cerr};
    return RunCommand(commandLine, tools);
}

#include "help_text.h"

#include "settings/settings_conversion.h"

namespace rq508 {
namespace {

const char* const kExitStatuses = R"(
Exit status:
  0  done
  2  the command line is wrong; nothing was sent
  3  the port failed to open (missing, busy, or not allowed)
  4  the port's line settings could not be read or set
  5  the gateway's reply was missing or wrong
  6  verify: the gateway holds other settings than were sent
  7  a settings file could not be read, was not recognised, or could not be written
)";

std::string SettingOptions() {
    return "  --baud RATE          RS-485 baud rate: " + ValidTexts(BaudRateOptions) +
           "\n"
           "  --check-bit BIT      RS-485 check bit: " +
           ValidTexts(CheckBitOptions) +
           "\n"
           "  --address N          Modbus slave address, 1 to 99\n"
           "  --can-baud RATE      CAN baud rate: " +
           ValidTexts(CanBaudRateOptions) +
           "\n"
           "  --can-protocol P     CAN protocol: A or B (CAN2.0 A, CAN2.0 B)\n"
           "  --file PATH          start from the settings in a settings file\n"
           "Settings given neither as options nor by --file keep the values the gateway holds:\n"
           "they are uploaded first, and if that fails nothing is sent.\n";
}

const char* const kPortOptions =
    "  --port NAME          the serial port that leads to the gateway (see rq508 ports)\n"
    "  --trace              show every frame sent and received, in hex, with times\n";

}  // namespace

std::string HelpText(std::optional<Command> command) {
    if (!command) {
        return std::string(R"(Usage: rq508 COMMAND --port NAME [options]

Reads and writes the five settings of an RQ-508 gateway over a serial port.

Commands:
  ports      list the serial ports (and running virtual gateways)
  upload     show the settings the gateway holds
  download   send settings to the gateway
  verify     send settings, read them back and compare
  save       keep the gateway's settings in a settings file
  load       send the settings of a settings file to the gateway

Options for every command but ports:
)") + kPortOptions +
               "  --help               show this text; rq508 COMMAND --help for one command\n" +
               kExitStatuses;
    }
    switch (*command) {
        case Command::Ports:
            return std::string(
                       "Usage: rq508 ports\n\n"
                       "Lists the serial ports, one a line, in the order the port "
                       "dialog shows them.\n") +
                   kExitStatuses;
        case Command::Upload:
            return std::string(
                       "Usage: rq508 upload --port NAME [--json] [--trace]\n\n"
                       "Shows the gateway's settings as the lines of a settings file, "
                       "or with --json\nas an object with the fields baudRate, checkBit, "
                       "slaveAddress, canBaudRate and\ncanProtocol holding the values "
                       "sent on the wire.\n\nOptions:\n") +
                   kPortOptions + "  --json               print JSON\n" + kExitStatuses;
        case Command::Download:
            return "Usage: rq508 download --port NAME [settings] [--trace]\n\n"
                   "Sends settings to the gateway.\n\nOptions:\n" +
                   std::string(kPortOptions) + SettingOptions() + kExitStatuses;
        case Command::Verify:
            return "Usage: rq508 verify --port NAME [settings] [--trace]\n\n"
                   "Sends settings to the gateway, reads them back and reports every setting "
                   "that\ndiffers.\n\nOptions:\n" +
                   std::string(kPortOptions) + SettingOptions() + kExitStatuses;
        case Command::Save:
            return std::string(
                       "Usage: rq508 save --port NAME --file PATH [--trace]\n\n"
                       "Reads the gateway's settings and writes them to a settings "
                       "file.\n\nOptions:\n") +
                   kPortOptions + kExitStatuses;
        case Command::Load:
            return std::string(
                       "Usage: rq508 load --port NAME --file PATH [--trace]\n\n"
                       "Sends the settings of a settings file to the gateway.\n\n"
                       "Options:\n") +
                   kPortOptions + kExitStatuses;
    }
    return {};
}

}  // namespace rq508

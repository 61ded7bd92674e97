#pragma once

namespace rq508 {

// What the rq508 command's exit status tells a script; the help text lists them.
enum ExitStatus : int {
    kExitOk = 0,
    kExitUsage = 2,           // the command line is wrong; nothing was sent
    kExitPortOpenFailed = 3,  // the port is missing, busy or not allowed
    kExitLineSettings = 4,    // the port's line settings cannot be read or set
    kExitNoValidReply = 5,    // the gateway's reply was missing or wrong
    kExitVerifyMismatch = 6,  // the gateway holds other settings than were sent
    kExitFileError = 7,  // a settings file cannot be read, is unrecognised or cannot be written
};

}  // namespace rq508

// Opening an address on a Linux desktop: xdg-open (xdg-utils) asks the desktop for the user's
// preferred application. Its failures, and those of starting a program, become the result
// codes of the Windows shell, so that the link shows the same warnings everywhere:
//
//   xdg-open exit status                         result
//   0  success                                   42 (any value above 32 means success)
//   1  error in its command line                 1, an unknown error ("Unknown Error (1)")
//   2  the file named does not exist             2  SE_ERR_FNF
//   3  a required tool was not found              31 SE_ERR_NOASSOC: nothing opens this address
//   4  the action failed                         31 SE_ERR_NOASSOC: the desktop's handler failed
//   5  no permission to read the file            5  SE_ERR_ACCESSDENIED
//   other status, or ended by a signal           1, an unknown error
//   still running after the wait                 42: it runs the handler in the foreground
//
// A program that cannot be started gives the code for its errno (see StartErrorCode).

#include <cerrno>
#include <cstdlib>
#include <fstream>

#include "platform/open_address.h"
#include "platform/posix/child_process_posix.h"
#include "platform/posix/desktop_entry_posix.h"

namespace rq508 {
namespace {

constexpr int kOpened = 42;
constexpr int kOutOfResources = 0;
constexpr int kUnknownFailure = 1;
constexpr int kFileNotFound = 2;    // SE_ERR_FNF
constexpr int kPathNotFound = 3;    // SE_ERR_PNF
constexpr int kAccessDenied = 5;    // SE_ERR_ACCESSDENIED
constexpr int kOutOfMemory = 8;     // SE_ERR_OOM
constexpr int kBadFormat = 11;      // ERROR_BAD_FORMAT
constexpr int kNoAssociation = 31;  // SE_ERR_NOASSOC

constexpr std::chrono::milliseconds kQueryWait{5000};
constexpr std::size_t kQueryOutputLimit = 4096;

int StartErrorCode(int error) {
    switch (error) {
        case ENOENT:
            return kFileNotFound;
        case ENOTDIR:
        case ELOOP:
        case ENAMETOOLONG:
            return kPathNotFound;
        case EACCES:
        case EPERM:
            return kAccessDenied;
        case ENOMEM:
            return kOutOfMemory;
        case ENOEXEC:
            return kBadFormat;
        default:  // EAGAIN, EMFILE and the like: the system ran out of something
            return kOutOfResources;
    }
}

int OpenerExitCode(int status) {
    switch (status) {
        case 0:
            return kOpened;
        case 2:
            return kFileNotFound;
        case 3:
        case 4:
            return kNoAssociation;
        case 5:
            return kAccessDenied;
        default:
            return kUnknownFailure;
    }
}

std::filesystem::path EnvironmentPath(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::filesystem::path(value) : std::filesystem::path();
}

}  // namespace

DesktopPrograms SystemDesktopPrograms() {
    DesktopPrograms programs;
    // The XDG base directories: the user's data folder first, then the system's, each with an
    // "applications" folder. Relative entries are invalid by that standard and skipped.
    std::filesystem::path dataHome = EnvironmentPath("XDG_DATA_HOME");
    if (dataHome.is_relative()) {
        const std::filesystem::path home = EnvironmentPath("HOME");
        dataHome = home.is_absolute() ? home / ".local/share" : std::filesystem::path();
    }
    if (!dataHome.empty()) {
        programs.applicationFolders.push_back(dataHome / "applications");
    }
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    const std::string folders =
        dataDirs && *dataDirs ? std::string(dataDirs) : "/usr/local/share:/usr/share";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) {
            end = folders.size();
        }
        const std::filesystem::path folder = folders.substr(start, end - start);
        if (folder.is_absolute()) {
            programs.applicationFolders.push_back(folder / "applications");
        }
        start = end + 1;
    }
    return programs;
}

int OpenAddressWithDesktop(const DesktopPrograms& programs, const std::string& address) {
    const ProgramOutcome outcome = RunDetached({programs.opener, address}, programs.openerWait);
    switch (outcome.kind) {
        case ProgramOutcome::Kind::StartFailed:
            return StartErrorCode(outcome.value);
        case ProgramOutcome::Kind::Exited:
            return OpenerExitCode(outcome.value);
        case ProgramOutcome::Kind::Signalled:
            return kUnknownFailure;
        case ProgramOutcome::Kind::StillRunning:
            return kOpened;
    }
    return kUnknownFailure;
}

std::optional<std::string> HtmlHandlerCommand(const DesktopPrograms& programs) {
    const std::optional<std::string> answer = ReadProgramOutput(
        {programs.mimeQuery, "query", "default", "text/html"}, kQueryWait, kQueryOutputLimit);
    if (!answer) {
        return std::nullopt;
    }
    // The answer may list several desktop files separated by ';': the first is the default.
    std::string id = answer->substr(0, answer->find_first_of(";\n"));
    id.erase(0, id.find_first_not_of(" \t\r"));
    id.erase(id.find_last_not_of(" \t\r") + 1);
    if (!IsPlainDesktopFileId(id)) {
        return std::nullopt;
    }
    for (const std::filesystem::path& folder : programs.applicationFolders) {
        std::ifstream entry(folder / id);
        if (!entry) {
            continue;
        }
        const std::optional<std::string> exec = ReadDesktopEntryExec(entry);
        if (!exec || exec->empty()) {
            return std::nullopt;
        }
        return ExecLineToCommand(*exec);
    }
    return std::nullopt;
}

int StartCommandLine(const std::string& commandLine) {
    const std::vector<std::string> arguments = SplitCommandLine(commandLine);
    if (arguments.empty()) {
        return kFileNotFound;
    }
    const ProgramOutcome outcome = RunDetached(arguments, std::chrono::milliseconds(0));
    if (outcome.kind == ProgramOutcome::Kind::StartFailed) {
        return StartErrorCode(outcome.value);
    }
    return kOpened;
}

}  // namespace rq508

// Opening an address on Windows: the shell's "open" verb, and the program registered for
// ".htm" documents when the shell fails. The codes are the shell's and WinExec's own.

// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <cstring>

#include "platform/open_address.h"

namespace rq508 {
namespace {

constexpr DWORD kRegistryTextSize = 260;

// The default value of a key under HKEY_CLASSES_ROOT. A value that cannot be read (none, not
// text, longer than the buffer) counts as a failed lookup.
std::optional<std::string> ReadClassesRootDefault(const std::string& subkey) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    char value[kRegistryTextSize] = {};
    LONG size = sizeof value;
    const LONG status = RegQueryValueA(key, nullptr, value, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::string(value, strnlen(value, sizeof value));
}

}  // namespace

DesktopPrograms SystemDesktopPrograms() {
    return {};  // the shell and the registry need no programs named
}

int OpenAddressWithDesktop(const DesktopPrograms&, const std::string& address) {
    const HINSTANCE result =
        ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOW);
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

std::optional<std::string> HtmlHandlerCommand(const DesktopPrograms&) {
    const std::optional<std::string> documentType = ReadClassesRootDefault(".htm");
    if (!documentType) {
        return std::nullopt;
    }
    return ReadClassesRootDefault(*documentType + "\\shell\\open\\command");
}

int StartCommandLine(const std::string& commandLine) {
    return static_cast<int>(WinExec(commandLine.c_str(), SW_SHOW));
}

}  // namespace rq508

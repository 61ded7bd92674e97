#pragma once

// Desktop entries (.desktop files) as the freedesktop.org desktop entry format defines them:
// just enough to run an application's Exec line without a shell.

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rq508 {

// The value of the Exec key of the [Desktop Entry] group, with the format's escapes (\s, \n,
// \t, \r, \\) resolved; nothing when the group or key is missing.
std::optional<std::string> ReadDesktopEntryExec(std::istream& entry);

// The Exec line as a command with "%1" where the document goes: the file and address field
// codes (%f, %F, %u, %U) become "%1", "%%" becomes "%", the other field codes are dropped.
std::string ExecLineToCommand(std::string_view exec);

// A command line split into arguments: blanks separate them, double quotes group one, and
// within quotes a backslash makes the next character literal. Quote characters are removed.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// True for a desktop file id that names a file in an applications folder itself: ends in
// ".desktop", no slash, no leading dot.
bool IsPlainDesktopFileId(std::string_view id);

}  // namespace rq508

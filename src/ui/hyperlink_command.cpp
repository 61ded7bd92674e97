#include "ui/hyperlink_command.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace rq508 {
namespace {

constexpr std::string_view kPlaceholder = "%1";
constexpr std::string_view kQuotedPlaceholder = "\"%1\"";
constexpr std::string_view kOpenErrorPrefix = "Unable to open hyperlink:\n\n";

// The shell's and program start's failure codes, with the texts the warning shows for them.
constexpr std::pair<int, std::string_view> kOpenErrorTexts[] = {
    {0, "The operating system is out\nof memory or resources."},
    {2, "The specified file was not found."},                           // SE_ERR_FNF
    {3, "The specified path was not found."},                           // SE_ERR_PNF
    {5, "The operating system denied\naccess to the specified file."},  // SE_ERR_ACCESSDENIED
    {8, "There was not enough memory to complete the operation."},      // SE_ERR_OOM
    {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},  // bad format
    {26, "A sharing violation occurred. "},                                      // SE_ERR_SHARE
    {27, "The filename association is\nincomplete or invalid."},  // SE_ERR_ASSOCINCOMPLETE
    {28, "The DDE transaction could not\nbe completed because the request timed out."},
    {29, "The DDE transaction failed."},  // SE_ERR_DDEFAIL
    {30,
     "The DDE transaction could not\nbe completed because other DDE transactions\nwere being "
     "processed."},  // SE_ERR_DDEBUSY
    {31, "There is no application associated\nwith the given filename extension."},  // NOASSOC
    {32, "The specified dynamic-link library was not found."},  // SE_ERR_DLLNOTFOUND
};

}  // namespace

std::string BuildAssociationCommand(std::string_view associationCommand, std::string_view address) {
    std::string_view kept = associationCommand;
    if (const auto quoted = kept.find(kQuotedPlaceholder); quoted != std::string_view::npos) {
        kept = kept.substr(0, quoted);
    } else if (const auto plain = kept.find(kPlaceholder); plain != std::string_view::npos) {
        kept = kept.substr(0, plain);
    }
    std::string command;
    command.reserve(kept.size() + 1 + address.size());
    command.append(kept).append(" ").append(address);
    return command;
}

std::string OpenErrorMessage(int code) {
    std::string message(kOpenErrorPrefix);
    const auto found = std::find_if(std::begin(kOpenErrorTexts), std::end(kOpenErrorTexts),
                                    [code](const auto& entry) { return entry.first == code; });
    if (found != std::end(kOpenErrorTexts)) {
        message.append(found->second);
    } else {
        message.append("Unknown Error (").append(std::to_string(code)).append(") occurred.");
    }
    return message;
}

}  // namespace rq508

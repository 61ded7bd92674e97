#include "port_names_linux.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <utility>

#include "platform/posix/virtual_gateway_announcement.h"
#include "platform/system.h"

namespace rq508 {
namespace {

namespace fs = std::filesystem;

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// A digit run compared as a number of any length: fewer significant digits is smaller.
int CompareNumbers(std::string_view left, std::string_view right) {
    const auto significant = [](std::string_view digits) {
        const size_t first = digits.find_first_not_of('0');
        return first == std::string_view::npos ? std::string_view{} : digits.substr(first);
    };
    left = significant(left);
    right = significant(right);
    if (left.size() != right.size()) {
        return left.size() < right.size() ? -1 : 1;
    }
    return left.compare(right);
}

std::string_view TakeRun(std::string_view& text) {
    const bool digits = IsDigit(text.front());
    size_t length = 1;
    while (length < text.size() && IsDigit(text[length]) == digits) {
        ++length;
    }
    const std::string_view run = text.substr(0, length);
    text.remove_prefix(length);
    return run;
}

// serial_core ports report the UART they found; 0 (PORT_UNKNOWN) means none, as for the
// serial8250 placeholders ttyS0..ttyS31 that the kernel registers on every PC.
bool IsPlaceholder(const fs::path& entry) {
    std::ifstream typeFile(entry / "type");
    std::string type;
    return typeFile >> type && type == "0";
}

class LinuxPortNames final : public PortNameSource {
public:
    LinuxPortNames(fs::path ttyClassFolder, fs::path announcementFolder)
        : m_ttyClassFolder(std::move(ttyClassFolder)),
          m_announcementFolder(std::move(announcementFolder)) {}

    std::vector<std::string> PortNames() override {
        std::vector<std::string> names = KernelSerialPorts(m_ttyClassFolder);
        for (std::string& gateway : AnnouncedVirtualGateways(m_announcementFolder)) {
            names.push_back(std::move(gateway));
        }
        return names;
    }

private:
    fs::path m_ttyClassFolder;
    fs::path m_announcementFolder;
};

}  // namespace

bool NaturalLess(std::string_view left, std::string_view right) {
    std::string_view restLeft = left;
    std::string_view restRight = right;
    while (!restLeft.empty() && !restRight.empty()) {
        const bool numbers = IsDigit(restLeft.front()) && IsDigit(restRight.front());
        const std::string_view runLeft = TakeRun(restLeft);
        const std::string_view runRight = TakeRun(restRight);
        const int order = numbers ? CompareNumbers(runLeft, runRight) : runLeft.compare(runRight);
        if (order != 0) {
            return order < 0;
        }
    }
    if (restLeft.empty() != restRight.empty()) {
        return restLeft.empty();
    }
    return left < right;  // "ttyS01" and "ttyS1": any fixed order
}

std::vector<std::string> KernelSerialPorts(const fs::path& ttyClassFolder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(ttyClassFolder, error), end; !error && it != end;
         it.increment(error)) {
        const fs::path& entry = it->path();
        std::error_code ignored;
        if (!fs::exists(entry / "device", ignored) || IsPlaceholder(entry)) {
            continue;
        }
        // sysfs writes a '/' of a device's name as '!'.
        std::string name = entry.filename().string();
        std::replace(name.begin(), name.end(), '!', '/');
        names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return NaturalLess(a, b); });
    for (std::string& name : names) {
        name = "/dev/" + name;
    }
    return names;
}

std::unique_ptr<PortNameSource> MakeLinuxPortNameSource(fs::path ttyClassFolder,
                                                        fs::path announcementFolder) {
    return std::make_unique<LinuxPortNames>(std::move(ttyClassFolder),
                                            std::move(announcementFolder));
}

std::unique_ptr<PortNameSource> MakeSystemPortNameSource() {
    return MakeLinuxPortNameSource("/sys/class/tty", AnnouncementFolder());
}

}  // namespace rq508

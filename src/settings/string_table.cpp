#include "string_table.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace rq508 {
namespace {

constexpr std::pair<int, std::string_view> kTexts[] = {
    {101, "About RQ-508(&A)..."},
    {102, "Port% s failed to open!"},
    {103, "Reads the serial port parameters wrong!"},
    {104, "Serial setting error!"},
    {106, "None"},
    {107, "Odd"},
    {108, "Even"},
    {109, "Mark"},
    {110, "Space"},
    {111, "Download failed!"},
    {112, "Download is successful!"},
    {113, "Upload is successful!"},
    {114, "Save configuration failed!"},
    {115, "File does not exist!"},
    {116, "Unrecognized file!"},
    {117, "Upload failed!"},
    {118, "Baud Rate\t\t"},
    {119, "CAN Baud Rate\t\t"},
    {120, "Check Bit\t\t"},
    {121, "CAN Protocol\t\t"},
    {122, "Modbus Slave Address\t"},
    {123, "Baud Rate"},
    {124, "Check Bit"},
    {125, "CAN Baud Rate"},
    {126, "CAN Protocol"},
    {127, "Modbus Slave Address"},
};

}  // namespace

std::string_view LoadText(int number) {
    const auto* found = std::find_if(std::begin(kTexts), std::end(kTexts),
                                     [number](const auto& entry) { return entry.first == number; });
    return found == std::end(kTexts) ? std::string_view{} : found->second;
}

std::string FormatPortOpenFailed(std::string_view portName) {
    constexpr std::string_view kConversion = "% s";
    std::string text{LoadText(kTextPortOpenFailed)};
    const size_t conversion = text.find(kConversion);
    if (conversion != std::string::npos) {
        text.replace(conversion, kConversion.size(), portName);
    }
    return text;
}

}  // namespace rq508

#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "link/registry_port_enumeration.h"
#include "platform/system.h"

namespace rq508 {
namespace {

// One value's name needs fewer than this many characters, its data at most this many bytes.
constexpr DWORD kNameChars = 128;
constexpr DWORD kDataBytes = 128;

RegistryValueRead ReadValue(HKEY key, uint32_t index) {
    char name[kNameChars];
    BYTE data[kDataBytes];
    // Each call overwrites both sizes with what it found: give the buffers' sizes every time.
    DWORD nameChars = kNameChars;
    DWORD dataBytes = kDataBytes;
    const LONG result =
        RegEnumValueA(key, index, name, &nameChars, nullptr, nullptr, data, &dataBytes);
    switch (result) {
        case ERROR_SUCCESS:
            return {RegistryValueStatus::Stored,
                    std::string(reinterpret_cast<const char*>(data),
                                dataBytes < kDataBytes ? dataBytes : kDataBytes)};
        case ERROR_MORE_DATA:
            return {RegistryValueStatus::TooLong, {}};
        case ERROR_NO_MORE_ITEMS:
            return {RegistryValueStatus::NoMoreItems, {}};
        default:
            return {RegistryValueStatus::Failed, {}};
    }
}

// The serial ports the system has, as the registry lists them: one value per port under
// HKLM\Hardware\DeviceMap\SerialComm, whose data is the name to open ("COM3").
class RegistryPortNames final : public PortNameSource {
public:
    std::vector<std::string> PortNames() override {
        HKEY key = nullptr;
        if (RegOpenKeyA(HKEY_LOCAL_MACHINE, "Hardware\\DeviceMap\\SerialComm", &key) !=
            ERROR_SUCCESS) {
            return {};
        }
        std::vector<std::string> names =
            CollectRegistryPortNames([key](uint32_t index) { return ReadValue(key, index); });
        RegCloseKey(key);
        return names;
    }
};

}  // namespace

std::unique_ptr<PortNameSource> MakeSystemPortNameSource() {
    return std::make_unique<RegistryPortNames>();
}

}  // namespace rq508

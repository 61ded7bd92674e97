#pragma once

#include <string>
#include <string_view>

namespace rq508 {

// Numbers of the texts the tool shows, as the string table numbers them.
enum TextId : int {
    kTextAboutItem = 101,
    kTextPortOpenFailed = 102,  // a format: "% s" stands for the port name
    kTextSettingsReadFailed = 103,
    kTextSettingsWriteFailed = 104,
    kTextCheckBitNone = 106,
    kTextCheckBitOdd = 107,
    kTextCheckBitEven = 108,
    kTextCheckBitMark = 109,
    kTextCheckBitSpace = 110,
    kTextDownloadFailed = 111,
    kTextDownloadSucceeded = 112,
    kTextUploadSucceeded = 113,
    kTextSaveFailed = 114,
    kTextFileDoesNotExist = 115,
    kTextUnrecognizedFile = 116,
    kTextUploadFailed = 117,
    kTextLabelBaudRateTabbed = 118,
    kTextLabelCanBaudRateTabbed = 119,
    kTextLabelCheckBitTabbed = 120,
    kTextLabelCanProtocolTabbed = 121,
    kTextLabelSlaveAddressTabbed = 122,
    kTextLabelBaudRate = 123,
    kTextLabelCheckBit = 124,
    kTextLabelCanBaudRate = 125,
    kTextLabelCanProtocol = 126,
    kTextLabelSlaveAddress = 127,
};

// The numbered text, or an empty text for a number the table does not hold.
std::string_view LoadText(int number);

// Text 102 with the port name in place of its "% s" conversion. The blank is a printf sign
// flag and adds nothing to a string, so the name follows "Port" directly: "PortCOM1 failed...".
std::string FormatPortOpenFailed(std::string_view portName);

}  // namespace rq508

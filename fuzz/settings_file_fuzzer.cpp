// Fuzz target for the settings file reader: any bytes as the contents of a file.
//
// Invariants: the file reader and the reader over memory agree; a rejection carries no record;
// a loaded record holds single tokens (at most 127 bytes, no white space, no zero byte) and a
// protocol of 0 or 1; and writing a loaded record and reading it back gives the same record.

#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "settings/settings_file.h"
#include "support/scratch_folder.h"
#include "support/whole_file.h"

namespace rq508 {
namespace {

bool IsSingleToken(std::string_view text) {
    return text.size() <= kMaxSettingsTokenBytes &&
           text.find_first_of(std::string_view{" \t\n\v\f\r\0", 7}) == std::string_view::npos;
}

}  // namespace
}  // namespace rq508

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace rq508;
    // One folder per process with one file, reused for every input and removed at exit.
    static const testing::ScratchFolder scratch("rq508-fuzz");
    static const std::filesystem::path file = scratch / "input";
    Require(!scratch.Path().empty(), "a scratch folder can be created");
    const std::string_view contents{reinterpret_cast<const char*>(data), size};

    const ReadResult fromMemory = ParseSettingsText(contents);
    Require(testing::WriteWholeFile(file, contents), "the scratch file can be written");
    const ReadResult fromFile = ReadSettingsFile(file);
    Require(fromFile.outcome == fromMemory.outcome, "file and memory give the same outcome");
    Require(fromFile.record == fromMemory.record, "file and memory give the same record");
    Require(fromFile.detail == fromMemory.detail, "file and memory give the same detail");

    if (fromMemory.outcome != ReadOutcome::Loaded) {
        Require(fromMemory.outcome == ReadOutcome::Unrecognised, "memory is never cannot-open");
        Require(fromMemory.record == SettingsFileRecord{}, "a rejection carries no record");
        Require(!fromMemory.detail.empty(), "a rejection says why");
        return 0;
    }
    const SettingsFileRecord& record = fromMemory.record;
    Require(IsSingleToken(record.baudRateText) && !record.baudRateText.empty(),
            "the baud rate is one token");
    Require(IsSingleToken(record.checkBitText) && !record.checkBitText.empty(),
            "the check bit is one token");
    Require(IsSingleToken(record.canBaudRateText) && !record.canBaudRateText.empty(),
            "the CAN baud rate is one token");
    Require(IsSingleToken(record.slaveAddressText), "the slave address is one token or empty");
    Require(record.canProtocol <= 1, "the protocol is 0 or 1");

    const ReadResult again = ParseSettingsText(FormatSettingsText(record));
    Require(again.outcome == ReadOutcome::Loaded && again.record == record,
            "a loaded record survives formatting and reading");
    Require(WriteSettingsFile(file, record).outcome == WriteOutcome::Written,
            "a loaded record can be saved");
    const ReadResult reloaded = ReadSettingsFile(file);
    Require(reloaded.outcome == ReadOutcome::Loaded && reloaded.record == record,
            "a saved record loads the same");
    return 0;
}

#include "link/port_discovery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/registry_port_enumeration.h"

namespace rq508 {
namespace {

class ListedPorts : public PortNameSource {
public:
    explicit ListedPorts(std::vector<std::string> names) : m_names(std::move(names)) {}
    std::vector<std::string> PortNames() override { return m_names; }

private:
    std::vector<std::string> m_names;
};

class PortDiscovery : public ::testing::Test {
protected:
    void SetUp() override { g_portList.clear(); }
    void TearDown() override { g_portList.clear(); }
};

TEST_F(PortDiscovery, AppendsInTheSourcesOrderWithoutEmptyingOrSorting) {
    ListedPorts source({"COM3", "COM1", "COM3"});
    g_portList = {"kept"};
    EnumerateSerialPorts(source);
    EnumerateSerialPorts(source);
    EXPECT_EQ(g_portList,
              (std::vector<std::string>{"kept", "COM3", "COM1", "COM3", "COM3", "COM1", "COM3"}));
}

using Status = RegistryValueStatus;

struct RegistryCase {
    std::string name;
    std::vector<RegistryValueRead> values;  // by index; past the end the key has no more
    std::vector<std::string> expected;
};

class RegistryEnumeration : public ::testing::TestWithParam<RegistryCase> {};

TEST_P(RegistryEnumeration, ListsTheDataOfEachValueThatFits) {
    const RegistryCase& c = GetParam();
    std::vector<uint32_t> asked;
    const auto names = CollectRegistryPortNames([&](uint32_t index) {
        asked.push_back(index);
        return index < c.values.size() ? c.values[index]
                                       : RegistryValueRead{Status::NoMoreItems, ""};
    });
    EXPECT_EQ(names, c.expected);
    for (size_t i = 0; i < asked.size(); ++i) {
        ASSERT_EQ(asked[i], i) << "indexes are asked in order";
    }
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    PortDiscovery, RegistryEnumeration,
    ::testing::Values(
        RegistryCase{"EmptyKey", {}, {}},
        RegistryCase{"EnumerationOrderUnsorted",
                     {{Status::Stored, "COM3\0"s}, {Status::Stored, "COM1\0"s}},
                     {"COM3", "COM1"}},
        RegistryCase{"DuplicatesStay",
                     {{Status::Stored, "COM1\0"s}, {Status::Stored, "COM1\0"s}},
                     {"COM1", "COM1"}},
        RegistryCase{"DataCutAtTheFirstNul", {{Status::Stored, "COM4\0junk\0"s}}, {"COM4"}},
        RegistryCase{"DataWithoutNulTakenAsReturned", {{Status::Stored, "COM5"}}, {"COM5"}},
        RegistryCase{
            "TooLongValueSkipped",
            {{Status::Stored, "COM1\0"s}, {Status::TooLong, ""}, {Status::Stored, "COM2\0"s}},
            {"COM1", "COM2"}},
        RegistryCase{
            "OtherErrorEndsTheList",
            {{Status::Stored, "COM1\0"s}, {Status::Failed, ""}, {Status::Stored, "COM2\0"s}},
            {"COM1"}}),
    [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace rq508

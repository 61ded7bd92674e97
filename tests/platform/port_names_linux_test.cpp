#include "platform/posix/port_names_linux.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/posix/virtual_gateway_announcement.h"
#include "support/scratch_folder.h"

namespace rq508 {
namespace {

namespace fs = std::filesystem;

struct OrderCase {
    std::string name;
    std::string left;
    std::string right;
    bool less;
};

class NaturalOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(NaturalOrder, ComparesDigitRunsAsNumbers) {
    const OrderCase& c = GetParam();
    EXPECT_EQ(NaturalLess(c.left, c.right), c.less);
}

INSTANTIATE_TEST_SUITE_P(
    PortNames, NaturalOrder,
    ::testing::Values(OrderCase{"TwoBeforeTen", "ttyS2", "ttyS10", true},
                      OrderCase{"TenAfterTwo", "ttyS10", "ttyS2", false},
                      OrderCase{"PrefixDecidesFirst", "ttyACM5", "ttyS0", true},
                      OrderCase{"ShorterNameFirst", "ttyS", "ttyS0", true},
                      OrderCase{"EqualIsNotLess", "ttyUSB0", "ttyUSB0", false},
                      OrderCase{"LeadingZerosStillOrdered", "ttyS01", "ttyS1", true},
                      OrderCase{"LongNumbers", "ttyS99999999999999999999",
                                "ttyS100000000000000000000", true},
                      OrderCase{"EmptyFirst", "", "ttyS0", true}),
    [](const auto& row) { return row.param.name; });

class SysfsTree : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_root.empty());
        fs::create_directories(m_root / "devices");
        fs::create_directories(m_root / "class" / "tty");
    }

    // A tty class entry; with a device, it links to one as sysfs does, and a UART type is
    // written when given.
    void AddTty(const std::string& name, bool device, const std::string& type = "") {
        const fs::path entry = m_root / "class" / "tty" / name;
        fs::create_directories(entry);
        if (device) {
            const fs::path target = m_root / "devices" / ("dev-" + name);
            fs::create_directories(target);
            fs::create_directory_symlink(target, entry / "device");
        }
        if (!type.empty()) {
            std::ofstream(entry / "type") << type << "\n";
        }
    }

    fs::path TtyClass() const { return m_root / "class" / "tty"; }

    rq508::testing::ScratchFolder m_scratch{"rq508-sysfs"};
    const fs::path& m_root = m_scratch.Path();
};

TEST_F(SysfsTree, ListsDevicesWithHardwareInNaturalOrder) {
    AddTty("ttyS10", true, "4");
    AddTty("ttyS2", true, "4");
    AddTty("ttyS0", true, "4");
    AddTty("ttyS1", true, "0");  // 8250 placeholder: no UART behind it
    AddTty("ttyS3", true, "0");
    AddTty("ttyUSB0", true);  // USB adapters have no type
    AddTty("ttyACM0", true);
    AddTty("ttyAMA0", true, "91");
    AddTty("tty0", false);  // virtual console
    AddTty("console", false);
    AddTty("ptmx", false);
    AddTty("rfcomm!0", true);

    EXPECT_EQ(
        KernelSerialPorts(TtyClass()),
        (std::vector<std::string>{"/dev/rfcomm/0", "/dev/ttyACM0", "/dev/ttyAMA0", "/dev/ttyS0",
                                  "/dev/ttyS2", "/dev/ttyS10", "/dev/ttyUSB0"}));
}

TEST_F(SysfsTree, AMissingClassFolderListsNothing) {
    EXPECT_TRUE(KernelSerialPorts(m_root / "no-such-folder").empty());
}

TEST_F(SysfsTree, AnnouncedVirtualGatewaysFollowTheKernelsPorts) {
    AddTty("ttyUSB0", true);
    const fs::path announcements = m_root / "announce";
    std::string error;
    const fs::path link = AnnounceVirtualGateway(announcements, "/dev/null", error);
    ASSERT_FALSE(link.empty()) << error;

    auto source = MakeLinuxPortNameSource(TtyClass(), announcements);
    EXPECT_EQ(source->PortNames(), (std::vector<std::string>{"/dev/ttyUSB0", link.string()}));

    ::chmod(announcements.c_str(), 0777);  // others could plant links: not trusted
    EXPECT_EQ(source->PortNames(), (std::vector<std::string>{"/dev/ttyUSB0"}));
}

}  // namespace
}  // namespace rq508

#include "plugin/host_version.h"

#include <gtest/gtest.h>

TEST(HostVersion, AcceptsOnly207WithMinorTwelveOrMore) {
    struct Case {
        uint32_t version;
        bool accepted;
    } cases[] = {
        {0x02070C00, true},  {0x0207FFFF, true},  {0x02070CFF, true},  {0x02070B00, false},
        {0x02070BFF, false}, {0x02080000, false}, {0x03070C00, false}, {0x00000000, false},
        {0x12070C00, false}, {0x02170C00, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsCompatibleHostVersion(c.version), c.accepted) << std::hex << c.version;
}

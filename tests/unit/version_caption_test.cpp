#include "setup_dialog/version_caption.h"

#include <gtest/gtest.h>

#include <string>

TEST(VersionCaption, PrefixesTheFileVersionText) {
    struct Case {
        const char* name;
        std::u16string value;
        size_t length; // as the version resource reports it
        std::optional<std::u16string> caption;
    } cases[] = {
        {"length without NUL", u"1.2.3.4", 7, u"Версия 1.2.3.4"},
        {"length with NUL", std::u16string(u"1.0.0.0\0", 8), 8, u"Версия 1.0.0.0"},
        {"length past the NUL", std::u16string(u"2.1\0junk", 8), 8, u"Версия 2.1"},
        {"length shorter than the text", u"1.2.3.4", 3, u"Версия 1.2"},
        {"empty text", std::u16string(u"\0", 1), 1, std::nullopt},
        {"no length", u"1.0", 0, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(VersionCaption(c.value.data(), c.length), c.caption);
    }
    EXPECT_EQ(VersionCaption(nullptr, 4), std::nullopt);
}

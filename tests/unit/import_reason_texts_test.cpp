// Every reason a button is left out for has a Russian text that names the same values as the
// English one, so that the summary never shows an empty or half-filled reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "capture_import/skip_reason.h"
#include "setup_dialog/import_reason_texts.h"

namespace {

TEST(ImportReasonTexts, EveryIdentifierHasARussianTextWithTheEnglishValues) {
    for (int k = 1; k < static_cast<int>(SkipReasonId::Count); ++k) {
        const auto id = static_cast<SkipReasonId>(k);
        const std::wstring russian = ImportReasonTemplate(id);
        const std::string english = EnglishTemplate(id);
        ASSERT_FALSE(russian.empty()) << k;
        ASSERT_FALSE(english.empty()) << k;
        const bool cyrillic =
            std::any_of(russian.begin(), russian.end(), [](wchar_t c) { return c >= 0x400 && c < 0x500; });
        EXPECT_TRUE(cyrillic) << k;
        for (int value = 1; value <= 3; ++value) {
            const bool inEnglish = english.find("%" + std::to_string(value)) != std::string::npos;
            const bool inRussian = russian.find(L"%" + std::to_wstring(value)) != std::wstring::npos;
            EXPECT_EQ(inRussian, inEnglish) << k << " %" << value;
        }
    }
    EXPECT_STREQ(ImportReasonTemplate(SkipReasonId::Count), L"");
}

} // namespace

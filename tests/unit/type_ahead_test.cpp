#include "setup_dialog/type_ahead.h"

#include <gtest/gtest.h>

#include "tests/support/code_page_texts.h"

namespace {

TEST(TypeAhead, FindsTheNextRowWhoseNameStartsWithWhatIsTyped) {
    // Code page 1251: "Питание", "пауза", "Громкость+", then "play", "Power", "ёлка", "Аж", "Ёж".
    const std::vector<KeyListRow> rows = {{"\xCF\xE8\xF2\xE0\xED\xE8\xE5", "TV", "", ""},
                                          {"\xEF\xE0\xF3\xE7\xE0", "TV", "", ""},
                                          {"\xC3\xF0\xEE\xEC\xEA\xEE\xF1\xF2\xFC+", "TV", "", ""},
                                          {"play", "TV", "", ""},
                                          {"Power", "TV", "", ""},
                                          {"\xB8\xEB\xEA\xE0", "TV", "", ""},
                                          {"\xC0\xE6", "TV", "", ""},
                                          {"\xA8\xE6", "TV", "", ""}};
    const struct {
        const wchar_t* typed;
        int32_t start, focused, found;
    } cases[] = {
        {L"п", 0, -1, 0},          {L"П", 1, 0, 1},
        {L"па", 0, 0, 1},                             // Cyrillic, either case, from start on
        {L"громкость+", 0, -1, 2}, {L"PO", 4, 3, 4},  //
        {L"p", 5, 4, 3},                              // round to the start
        {L"Ё", 0, -1, 5},          {L"ёж", 0, -1, 7}, // ё and Ё
        {L"q", 0, -1, -1},         {L"", 0, -1, -1},  //
        {L"пп", 0, 0, 1},          {L"ppp", 3, 3, 4},
        {L"ppp", 4, 4, 3}, // one letter again: the next such row
        {L"пx", 0, 0, -1},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(FindTypedRow(rows, cases[i].typed, cases[i].start, cases[i].focused, &WideOf1251),
                  cases[i].found)
            << "case " << i;
    EXPECT_EQ(FindTypedRow({}, L"п", 0, -1, &WideOf1251), -1);
}

} // namespace

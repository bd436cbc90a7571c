#include "setup_dialog/dialog_keys.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(DialogKeys, AcceleratorsOfCaptions) {
    const struct {
        const wchar_t* caption;
        wchar_t letter;
    } cases[] = {
        {L"&Масштаб :", L'М'},
        {L"Задержка &повтора", L'п'},
        {L"Режим сырых данных (&RAW)", L'R'},
        {L"A && B", 0},
        {L"A && &B", L'B'},
        {L"Размер", 0},
        {L"end&", 0},
        {L"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AcceleratorOf(c.caption), c.letter) << c.caption;
}

TEST(DialogKeys, LettersMatchInEitherCase) {
    EXPECT_TRUE(SameLetter(L'м', L'М'));
    EXPECT_TRUE(SameLetter(L'П', L'п'));
    EXPECT_TRUE(SameLetter(L'ё', L'Ё'));
    EXPECT_TRUE(SameLetter(L'r', L'R'));
    EXPECT_FALSE(SameLetter(L'м', L'М' + 1));
    EXPECT_FALSE(SameLetter(L'p', L'р')); // Latin p, Cyrillic er
}

// The receiver page's waits: two labels share П, and the one after them has Т.
TEST(DialogKeys, SharedAcceleratorsTakeTurnsFromTheFocus) {
    const std::vector<AcceleratorControl> controls = {
        {L"&Масштаб :", true},           {L"", false},
        {L"Задержка &повтора", true},    {L"", false},
        {L"&Период повтора", true},      {L"", false},
        {L"Задержка о&тпускания", true}, {L"&Пропущенная", false}, // hidden or disabled
    };
    const struct {
        int focus;
        wchar_t letter;
        int found;
    } cases[] = {
        {-1, L'п', 2}, {3, L'п', 4}, {5, L'п', 2},  {1, L'П', 2},
        {4, L'м', 0},  {6, L'т', 6}, {0, L'х', -1}, {0, 0, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindAccelerator(controls, c.focus, c.letter), c.found)
            << c.focus << " " << static_cast<int>(c.letter);
    EXPECT_EQ(FindAccelerator({}, -1, L'п'), -1);
}

TEST(DialogKeys, PageKeysWrapAround) {
    EXPECT_EQ(NextPage(0, 3, true), 1);
    EXPECT_EQ(NextPage(2, 3, true), 0);
    EXPECT_EQ(NextPage(0, 3, false), 2);
    EXPECT_EQ(NextPage(-1, 3, true), 0); // no page selected yet
    EXPECT_EQ(NextPage(0, 0, true), 0);
}

} // namespace

#include "setup_dialog/dialog_keys.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The receiver page's waits: two labels share "п"; a hidden label has one too. Letters come in
// either case, as typed with or without Shift.
TEST(DialogKeys, AcceleratorsIgnoreCaseAndSharedOnesTakeTurnsFromTheFocus) {
    const std::vector<AcceleratorControl> controls = {
        {L"&Масштаб :", true},        {L"", false},
        {L"Задержка &повтора", true}, {L"A && B", true},
        {L"&Период повтора", true},   {L"Задержка о&тпускания", true},
        {L"&Пропущенная", false},
    };
    const struct {
        int focus;
        wchar_t letter;
        int found;
    } cases[] = {
        {-1, L'п', 2}, {2, L'п', 4},  {4, L'П', 2},  {1, L'м', 0},
        {5, L'Т', 5},  {0, L'b', -1}, {0, L'х', -1}, {0, 0, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindAccelerator(controls, c.focus, c.letter), c.found) << c.focus << " " << int{c.letter};
    EXPECT_EQ(AcceleratorOf(L"A && &B"), L'B');
    EXPECT_TRUE(SameLetter(L'ё', L'Ё'));
    EXPECT_FALSE(SameLetter(L'p', L'р')); // Latin p, Cyrillic er
}

TEST(DialogKeys, PageKeysWrapAround) {
    const struct {
        int current, count;
        bool forward;
        int next;
    } cases[] = {{0, 3, true, 1}, {2, 3, true, 0}, {0, 3, false, 2}, {-1, 3, true, 0}, {0, 0, true, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(NextPage(c.current, c.count, c.forward), c.next) << c.current << (c.forward ? "+" : "-");
}

} // namespace

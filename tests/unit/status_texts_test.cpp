#include "setup_dialog/status_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(StatusTexts, DeviceStates) {
    EXPECT_STREQ(DeviceStatusText(0), L"Состояние: OK");
    EXPECT_STREQ(DeviceStatusText(1), L"Состояние: нет устройства");
    EXPECT_STREQ(DeviceStatusText(2), L"Состояние: нет данных");
    EXPECT_STREQ(DeviceStatusText(5), L"Состояние: неизвестно");
    EXPECT_STREQ(DeviceStatusText(-1), L"Состояние: неизвестно");
}

TEST(StatusTexts, CodeMessages) {
    const struct {
        KeyCode code;
        const wchar_t* coding; // null: panel 2 keeps its text
        const wchar_t* bits;
        const char* digits;
    } cases[] = {
        {0x010C00000000047BULL, L"Bi-phase coding (RC-5)", L"12 бит", "010C00000000047B"},
        {0x02200000FB04F708ULL, L"Pulse-distance code", L"32 бит", "02200000FB04F708"},
        {0x0310000000001234ULL, L"Pulse-length code", L"16 бит", "0310000000001234"},
        {0x0425001C800F040CULL, L"Bi-phase coding (RC-6)", L"37 бит", "0425001C800F040C"},
        {0x0008000000000055ULL, nullptr, L"8 бит", "0008000000000055"},
        // Of every kind but 4 only the low two bits count.
        {0x0710000000000001ULL, L"Pulse-length code", L"16 бит", "0710000000000001"},
        {0x0810000000000001ULL, nullptr, L"16 бит", "0810000000000001"},
    };
    for (const auto& c : cases) {
        const KeyDisplay d = CodeKeyDisplay(c.code, 0);
        EXPECT_TRUE(d.show);
        EXPECT_TRUE(d.setLastCode);
        if (c.coding)
            EXPECT_STREQ(d.coding, c.coding);
        else
            EXPECT_EQ(d.coding, nullptr);
        EXPECT_EQ(d.bits, c.bits);
        EXPECT_EQ(d.codeText, c.digits);
    }
}

// The whole bar tells of a cut burst while the bursts fill what BufferSize lets in.
TEST(StatusTexts, CutBurstNotice) {
    EXPECT_EQ(BufferFillText(BufferFill::Room), nullptr);
    EXPECT_STREQ(BufferFillText(BufferFill::SettingFull),
                 L"Сигнал обрезан: он не поместился в буфер. Увеличьте "
                 L"«Размер буфера» на странице «Настройка приёмника».");
    EXPECT_EQ(BufferFillText(BufferFill::DriverFull), nullptr);
}

TEST(StatusTexts, TheSameCodeAgainShowsNothingNew) {
    const KeyDisplay d = CodeKeyDisplay(0x02200000FB04F708ULL, 0x02200000FB04F708ULL);
    EXPECT_FALSE(d.show);
    EXPECT_FALSE(d.setLastCode);
}

TEST(StatusTexts, RawMessagesShowTheSignature) {
    const KeyDisplay d = RawKeyDisplay("0412AB");
    EXPECT_TRUE(d.show);
    EXPECT_FALSE(d.setLastCode);
    EXPECT_STREQ(d.coding, L"RAW");
    EXPECT_EQ(d.bits, L"Н/Д");
    EXPECT_EQ(d.codeText, "0412AB");
    EXPECT_EQ(RawKeyDisplay(nullptr).codeText, "");
}

} // namespace

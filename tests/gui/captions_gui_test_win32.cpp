// Captions come from UTF-16 and read right under any ANSI code page; names from files are bytes of
// that code page and are converted only for display. CTest runs this under code pages 1252 and
// 1251 (ORVIK_EXPECT_ACP says which the run was meant for).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "setup_dialog/setup_form_ids.h"
#include "tests/gui/dialog_driver_win32.h"
#include "tests/gui/gui_files.h"
#include "tests/gui/gui_session_win32.h"
#include "tests/wine/remote_scripts.h"

namespace {

struct CaptionCase {
    int id;
    const wchar_t* text;
};

const CaptionCase kCaptions[] = {
    {IDC_MANUALGROUP, L"Редактор кнопок"},
    {IDC_CODELABEL1, L"&Код кнопки:"},
    {IDC_ADDBUTTON, L"&Добавить"},
    {IDC_REPLACEBUTTON, L"&Заменить"},
    {IDC_LABEL3, L"&Назв. пульта:"},
    {IDC_FILEGROUP, L"Файловые операции "},
    {IDC_IMPORTBTN, L"&Импорт..."},
    {IDC_EXPORTBTN, L"&Экспорт..."},
    {IDC_MODEGROUP, L"Модель приёмника"},
    {IDC_MODE_0, L"&OrvikPlug-USB (оригинал)"},
    {IDC_MODE_1, L"Orvik&Plug2"},
    {IDC_MODE_2, L"&USBtiny (эксперимент!)"},
    {IDC_TUNEGROUP, L"Настройки приёмника"},
    {IDC_LABEL7, L"Размер &буфера:"},
    {IDC_LABEL2, L"байт"},
    {IDC_LABEL9, L"&Частота опроса:"},
    {IDC_LABEL12, L"герц"},
    {IDC_LABEL1, L"&Масштаб :"},
    {IDC_RADIO_SCALER_1, L"85.33 мкс"},
    {IDC_RADIO_SCALER_2, L"21.33 мкс"},
    {IDC_TIMEGROUP, L"Задержки, мс"},
    {IDC_LABEL4, L"Задержка &повтора"},
    {IDC_LABEL5, L"&Период повтора"},
    {IDC_LABEL6, L"Задержка о&тпускания"},
    {IDC_DECODEGROUP, L"Декодирование"},
    {IDC_RAWBOX, L"Режим сырых данных (&RAW)"},
    {IDC_CHB_COMPAT, L"&Compatible buffer handling"},
    {IDC_LEDGROUP, L"Мигание светодиодами (биты 0, 1 и 2)"},
    {IDC_LED_0, L"Не использовать мигание"},
    {IDC_LED_1, L"D0 - готов, D1 - приём"},
    {IDC_LED_2, L"D0:  вкл - готов, выкл - приём"},
    {IDC_LED_3, L"D0 - готов, D1 - кнопка распознана, D2 - не распознана"},
};

TEST(CaptionsGui, ReadRightUnderThisCodePage) {
    if (const char* expected = std::getenv("ORVIK_EXPECT_ACP")) {
        ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected))) << "the run's locale did not take effect";
    }
    GuiSession session(RemoteFiles(ReplaySettings{}), "");
    std::vector<std::wstring> captions;
    std::wstring louder, columns[4];
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        for (const CaptionCase& c : kCaptions)
            captions.push_back(d.Text(c.id));
        HWND list = d.Control(IDC_LISTVIEW);
        // TV's "Громче" is stored in code page 1251.
        for (int row = 0; row < d.ListCount(); ++row)
            if (d.Cell(row, 2) == L"0220000020DF40BF")
                louder = d.Cell(row, 0);
        HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
        for (int i = 0; i < 4; ++i) {
            wchar_t text[64] = L"";
            HDITEMW item{};
            item.mask = HDI_TEXT;
            item.pszText = text;
            item.cchTextMax = static_cast<int>(std::size(text));
            SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            columns[i] = text;
        }
    }));
    ASSERT_EQ(captions.size(), std::size(kCaptions));
    for (size_t i = 0; i < captions.size(); ++i)
        EXPECT_EQ(captions[i], kCaptions[i].text) << "control " << kCaptions[i].id;
    EXPECT_EQ(columns[0], L"Название кнопки");
    EXPECT_EQ(columns[1], L"Название пульта");
    EXPECT_EQ(columns[2], L"Код кнопки");
    EXPECT_EQ(columns[3], L"RAW");
    // The bytes are shown in the system's code page, whatever it is.
    EXPECT_EQ(louder, GetACP() == 1251 ? L"Громче" : L"\u00C3\u00F0\u00EE\u00EC\u00F7\u00E5");
}

TEST(CaptionsGui, LabelAcceleratorsAndTabReachTheirControls) {
    ReplaySettings stored;
    stored.scaler = 1000; // no time-unit button checked
    GuiSession session({{"OrvikPlug.ini", SettingsText(stored)}}, "");
    HWND afterTab = nullptr, codeEdit = nullptr, pages = nullptr, firstStop = nullptr;
    // Alt with a letter on page 1, in turn, lower case as typed: the control that then has the
    // focus. Two labels share "п" and take turns; "м" leads to the checked time unit, or the first
    // when none is checked.
    const struct {
        wchar_t letter;
        int clickFirst; // 0: none
        int focused;
    } presses[] = {
        {L'б', 0, IDC_EDIT_BUFSIZE},   {L'ч', 0, IDC_EDIT_POLLFREQ},
        {L'м', 0, IDC_RADIO_SCALER_1}, {L'п', 0, IDC_EDIT2},
        {L'п', 0, IDC_EDIT3},          {L'п', 0, IDC_EDIT2},
        {L'т', 0, IDC_EDIT4},          {L'м', IDC_RADIO_SCALER_2, IDC_RADIO_SCALER_2},
    };
    std::vector<int> focused;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        codeEdit = d.Control(IDC_CODEEDIT);
        pages = d.Control(IDC_SETUPPAGES);
        firstStop = d.Focus();
        d.Key(d.Focus(), VK_TAB);
        afterTab = d.Focus();
        d.SelectPage(1);
        for (const auto& press : presses) {
            if (press.clickFirst)
                d.Click(press.clickFirst);
            d.AltKey(press.letter);
            focused.push_back(GetDlgCtrlID(d.Focus()));
        }
    }));
    EXPECT_EQ(firstStop, pages);
    EXPECT_EQ(afterTab, codeEdit);
    ASSERT_EQ(focused.size(), std::size(presses));
    for (size_t i = 0; i < focused.size(); ++i)
        EXPECT_EQ(focused[i], presses[i].focused) << "press " << i;
}

TEST(CaptionsGui, AResizedFormWidensTheViewAndKeepsTheDelaysAtTheRight) {
    GuiSession session({}, "");
    RECT client{}, view{}, delays{}, minimum{};
    int smallMargin = 0;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        d.SelectPage(1);
        GetClientRect(d.Container(), &client);
        GetWindowRect(d.Control(IDC_TIMEGROUP), &delays);
        MapWindowPoints(nullptr, d.Container(), reinterpret_cast<POINT*>(&delays), 2);
        smallMargin = client.right - delays.right;
        SetWindowPos(d.Form(), nullptr, 0, 0, 900, 600, SWP_NOMOVE | SWP_NOZORDER);
        d.Sync();
        GetClientRect(d.Container(), &client);
        GetWindowRect(d.Control(IDC_PAINTBOX), &view);
        GetWindowRect(d.Control(IDC_TIMEGROUP), &delays);
        MapWindowPoints(nullptr, d.Container(), reinterpret_cast<POINT*>(&view), 2);
        MapWindowPoints(nullptr, d.Container(), reinterpret_cast<POINT*>(&delays), 2);
        SetWindowPos(d.Form(), nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
        d.Sync();
        GetWindowRect(d.Form(), &minimum);
    }));
    EXPECT_EQ(view.left, 0);
    EXPECT_EQ(view.right, client.right);
    EXPECT_EQ(view.bottom - view.top, 72);
    EXPECT_GT(client.right - delays.right, 0);
    EXPECT_LT(client.right - delays.right, 20);
    EXPECT_EQ(client.right - delays.right, smallMargin) << "the same margin at 640 and at 900 pixels";
    EXPECT_EQ(minimum.right - minimum.left, 640);
    EXPECT_EQ(minimum.bottom - minimum.top, 400);
}

} // namespace

// Importing a remote from a file and exporting one, end to end: the file dialogs, the prompt that
// asks where the buttons go, the summary, taking an import back, and what the host then receives.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "setup_dialog/setup_form_ids.h"
#include "tests/gui/dialog_driver_win32.h"
#include "tests/gui/gui_files.h"
#include "tests/gui/gui_session_win32.h"
#include "tests/gui/key_list_checks_win32.h"
#include "tests/gui/screen_capture_win32.h"
#include "tests/wine/remote_scripts.h"

namespace {

// A Flipper file of parsed NEC signals, as the public collections hold them.
std::string FlipperFile(const std::vector<std::pair<std::string, std::string>>& buttons) {
    std::string text = "Filetype: IR signals file\nVersion: 1\n";
    for (const auto& [name, protocolAndCommand] : buttons)
        text += "#\nname: " + name + "\ntype: parsed\n" + protocolAndCommand;
    return text;
}

std::string Nec(uint8_t address, uint8_t command) {
    char text[80];
    std::snprintf(text, sizeof(text), "protocol: NEC\naddress: %02X 00 00 00\ncommand: %02X 00 00 00\n",
                  address, command);
    return text;
}

// A window over the form, as the screen shows them, for the docs.
void SaveOverForm(DialogDriver& d, HWND above, const char* saveDir, const char* name) {
    d.Sync(true);
    RedrawWindow(above, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ScreenImage shot = CaptureWindow(d.Form());
    PutOver(shot, d.Form(), CaptureWindow(above), above);
    EXPECT_TRUE(SaveBitmap(shot, std::string(saveDir) + "\\" + name + ".bmp"));
}

// Waits for the next message box the dialog shows; its text, or "" when none came.
std::string NextBox(GuiSession& session, DialogDriver& d, size_t seen) {
    d.WaitFor([&] { return session.Boxes().size() > seen; });
    d.Sync();
    const std::vector<std::string> boxes = session.Boxes();
    return boxes.size() > seen ? boxes[seen] : "";
}

std::wstring WideOf(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

TEST(ImportGui, ImportsAFileWhoseButtonsTheHostReceivesAndExportsTheRemote) {
    std::string kitchen;
    {
        GuiSession session(RemoteFiles(ReplaySettings{}), "");
        // Teletext is a code no remote has; Power is TV's Power; the second Teletext and the unknown
        // protocol are left out.
        session.WriteFile(
            "Kitchen.ir",
            FlipperFile({{"Teletext", Nec(0x04, 0x55)},
                         {"Power", Nec(0x04, 0x08)},
                         {"Teletext 2", Nec(0x04, 0x55)},
                         {"Odd", "protocol: Foo\naddress: 01 00 00 00\ncommand: 01 00 00 00\n"}}));
        session.WriteFile("Empty.txt", "# no buttons\n");
        CreateDirectoryA((session.Folder() + "\\export").c_str(), nullptr);
        ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
            const int countBefore = d.ListCount();
            EXPECT_FALSE(d.Enabled(IDC_EXPORTBTN));
            // For the docs (tools/screenshots.sh): the prompt, the summary and the list's menu over
            // the page, each before it is answered.
            const char* saveDir = std::getenv("ORVIK_SCREENSHOT_DIR");
            session.HoldBoxes(saveDir != nullptr);
            // The remote last selected is not where the import goes: the file's own name is.
            d.SelectRow(RowNamed(d, L"Power"));
            d.ChooseFile(IDC_IMPORTBTN, WideOf(session.Folder() + "\\Kitchen.ir"));
            HWND prompt = d.ImportPrompt();
            EXPECT_EQ(d.Caption(GetDlgItem(prompt, IDC_PROMPT_TARGET)), L"Kitchen");
            EXPECT_EQ(d.PromptRemotes(prompt), (std::vector<std::wstring>{L"Amplifier", L"TV"}));
            EXPECT_EQ(d.Caption(GetDlgItem(prompt, IDC_PROMPT_NOTE)),
                      L"Новый пульт: в списке такого ещё нет.");
            if (saveDir)
                SaveOverForm(d, prompt, saveDir, "import-prompt");
            d.AnswerPrompt(prompt, true);
            if (saveDir) {
                HWND box = nullptr;
                d.WaitFor([&] { return (box = FindProcessWindow(L"#32770", d.Form())) != nullptr; });
                SaveOverForm(d, box, saveDir, "import-summary");
                session.HoldBoxes(false);
            }
            EXPECT_EQ(NextBox(session, d, 0),
                      "В пульт «Kitchen» добавлено кнопок: 2.\n\nНе добавлено: 2.\n"
                      "«Teletext 2»: тот же код, что у кнопки «Teletext» из файла\n"
                      "«Odd»: пропущена (unknown protocol \"Foo\")\n\n"
                      "Добавлено кнопок, чьи коды уже есть у других пультов: 1 (например, «Power» у "
                      "пульта «TV»). Такая кнопка будет приходить под названием только одного из пультов."
                      "\n\nОтменить весь импорт: Ctrl+Z в списке кнопок.");
            if (saveDir) {
                HWND menu = d.OpenMenu(-1); // at the selected row, the first imported one
                SaveOverForm(d, menu, saveDir, "import-undo");
                d.CloseMenu(menu);
            }
            const int countAfter = d.ListCount();
            std::vector<std::wstring> added;
            for (int row = countBefore; row < countAfter; ++row)
                added.push_back(d.Cell(row, 0) + L"|" + d.Cell(row, 1) + L"|" + d.Cell(row, 2));
            EXPECT_EQ(added, (std::vector<std::wstring>{L"Teletext|Kitchen|" + Digits(kTvTeletext),
                                                        L"Power|Kitchen|" + Digits(kTvPower)}));
            EXPECT_TRUE(d.Enabled(IDC_EXPORTBTN) && d.SelectedRow() == countBefore);
            // Imported rows are rows like any other.
            d.PickMenuItem(2, countBefore + 1);
            d.EditCaption(L"On");

            d.ChooseFile(IDC_IMPORTBTN, WideOf(session.Folder() + "\\Empty.txt"));
            const std::string emptyBox = NextBox(session, d, 1);
            EXPECT_NE(emptyBox.find("В файле нет ни одной кнопки"), std::string::npos) << emptyBox;
            EXPECT_EQ(d.ListCount(), countAfter);

            d.SelectRow(RowNamed(d, L"Teletext"));
            d.ChooseFile(IDC_EXPORTBTN, WideOf(session.Folder()) + L"\\export\\Ωμέγα.cfg");
            const std::string notAnsiBox = NextBox(session, d, 2);
            EXPECT_NE(notAnsiBox.find("кодовой странице"), std::string::npos) << notAnsiBox;
            d.ChooseFile(IDC_EXPORTBTN, WideOf(session.Folder() + "\\export\\Kitchen copy.cfg"));
        }));

        // Saved as learned keys are (sorted once a name was accepted), and exported as the
        // plug-in saves them.
        kitchen = session.ReadFile("Kitchen.cfg");
        EXPECT_EQ(kitchen, "[Main]\r\nName=Kitchen\r\n[Code]\r\n" + CodeTextOf(CodeOf(kTvPower)) + "=On\r\n" +
                               CodeTextOf(CodeOf(kTvTeletext)) + "=Teletext\r\n");
        EXPECT_EQ(session.ReadFile("export\\Kitchen copy.cfg"), kitchen);

        EXPECT_EQ(FirstHostKey(session, kTvTeletext), "Kitchen / Teletext");
    }

    // The exported file, beside another plug-in, is that remote.
    GuiSession other({{"OrvikPlug.ini", SettingsText(ReplaySettings{})}, {"Shared.cfg", kitchen}}, "");
    EXPECT_EQ(FirstHostKey(other, kTvTeletext), "Kitchen / Teletext");
}

// A file of that name, written through its wide name (the ANSI file functions cannot name it).
bool WriteWideNamed(const std::wstring& path, const std::string& content) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    const bool ok =
        file != INVALID_HANDLE_VALUE &&
        ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
        written == content.size();
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return ok;
}

// True when the ANSI code page holds text as it stands.
bool CodePageHolds(const std::wstring& text) {
    BOOL lost = FALSE;
    char bytes[64] = "";
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, bytes, sizeof(bytes), nullptr, &lost);
    return !lost;
}

// Where an import goes is asked each time: a name the code page cannot hold is neither proposed nor
// taken, a remote of the list is joined as the list spells it, Cancel adds nothing. Ctrl+Z takes
// the import back as a whole, after the removal made since, last first.
TEST(ImportGui, TheUserChoosesWhereAnImportGoesAndCtrlZTakesItBack) {
    GuiSession session(RemoteFiles(ReplaySettings{}), "");
    const std::wstring greek = WideOf(session.Folder()) + L"\\Ωμέγα.ir";
    ASSERT_TRUE(
        WriteWideNamed(greek, FlipperFile({{"Teletext", Nec(0x04, 0x55)}, {"Eleven", Nec(0x04, 0x11)}})));
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        HWND list = d.Control(IDC_LISTVIEW);
        const int countBefore = d.ListCount();
        for (bool import : {false, true}) {
            d.ChooseFile(IDC_IMPORTBTN, greek);
            HWND prompt = d.ImportPrompt();
            EXPECT_EQ(d.Caption(GetDlgItem(prompt, IDC_PROMPT_TARGET)),
                      CodePageHolds(L"Пульт") ? L"Пульт" : L"Remote");
            d.TypeTarget(prompt, L"Ωμέγα");
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(prompt, IDOK)));
            d.TypeTarget(prompt, L"amplifier");
            EXPECT_EQ(d.Caption(GetDlgItem(prompt, IDC_PROMPT_NOTE)),
                      L"Кнопки добавятся к пульту «Amplifier» (в нём кнопок: 3).");
            d.AnswerPrompt(prompt, import);
            EXPECT_EQ(d.ListCount(), countBefore + (import ? 2 : 0));
        }
        EXPECT_EQ(
            NextBox(session, d, 0),
            "В пульт «Amplifier» добавлено кнопок: 2.\n\nОтменить весь импорт: Ctrl+Z в списке кнопок.");
        EXPECT_EQ(session.Boxes().size(), 1u) << "a cancelled import says nothing";
        EXPECT_EQ(d.Cell(countBefore, 0) + L"|" + d.Cell(countBefore, 1), L"Teletext|Amplifier");
        EXPECT_EQ(d.Focus(), list);
        HWND menu = d.OpenMenu(-1);
        EXPECT_EQ(d.MenuItems(menu).back(), L"Отменить импорт в пульт «Amplifier»");
        d.CloseMenu(menu);
        d.SelectRow(RowNamed(d, L"Power"));
        d.Key(list, VK_DELETE);
        // Ctrl+Z: the removal first, then the import, all of it.
        for (int count : {countBefore + 2, countBefore}) {
            PostMessageW(list, WM_CHAR, 0x1A, 1);
            d.Sync();
            EXPECT_TRUE(HasRow(d, L"Power"));
            EXPECT_EQ(d.ListCount(), count);
        }
        menu = d.OpenMenu(-1);
        EXPECT_EQ(d.MenuItems(menu).back(), L"Отменить (off)");
        d.CloseMenu(menu);
    }));
    EXPECT_EQ(session.ReadFile("Amplifier.cfg").find("Teletext"), std::string::npos);
}

} // namespace

// Learning buttons and editing the list, end to end: the simulator plays a remote, the dialog's
// real controls learn and name the buttons, the files hold them, and the host receives them.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include <gtest/gtest.h>

#include "setup_dialog/setup_form_ids.h"
#include "tests/gui/dialog_driver_win32.h"
#include "tests/gui/gui_files.h"
#include "tests/gui/gui_session_win32.h"
#include "tests/gui/key_list_checks_win32.h"
#include "tests/gui/panel_texts_win32.h"
#include "tests/gui/screen_capture_win32.h"
#include "tests/wine/remote_scripts.h"

namespace {

// Waits for a press of button to be shown and released again; a press that never shows fails
// the test. The texts are recorded as the dialog sets them: on a busy machine the release can
// follow the press before this thread looks at the bar.
void PressAndRelease(GuiSession& session, DialogDriver& d, const Button& button) {
    RecordPanelTexts(d.Control(IDC_STATBAR));
    const size_t before = PanelTexts(1).size();
    const bool shown = session.SetSimScript(Press(button)) &&
                       d.WaitFor([&] { return ShownInTurn(1, before, L"Нажата", L"Не нажата"); });
    EXPECT_TRUE(shown) << "the press of " << button.remote << " " << button.key << " was not shown";
}

// "Телетекст" in the current ANSI code page: itself under 1251, question marks elsewhere.
std::string AnsiOf(const std::wstring& text) {
    char bytes[64] = "";
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, bytes, sizeof(bytes), nullptr, nullptr);
    return bytes;
}

TEST(LearningGui, LearnsAndNamesButtonsThatTheHostThenReceives) {
    GuiSession session({{"OrvikPlug.ini", SettingsText(ReplaySettings{})}}, "");
    const std::wstring teletext = L"Телетекст";
    std::wstring shownCode, coding, bits, ejectCoding, shownName;
    bool replaceAfterUnknown = true;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        PressAndRelease(session, d, kTvTeletext);
        shownCode = d.Text(IDC_CODEEDIT);
        coding = d.Panel(2);
        bits = d.Panel(3);
        d.TypeRemote(L"TV");
        d.Click(IDC_ADDBUTTON);
        d.EditCaption(teletext);
        shownName = d.Cell(0, 0);

        PressAndRelease(session, d, kAmpEject);
        ejectCoding = d.Panel(2);
        replaceAfterUnknown = d.Enabled(IDC_REPLACEBUTTON);
        d.TypeRemote(L"Amplifier");
        d.Click(IDC_ADDBUTTON);
        d.EditCaption(L"Eject");
    }));
    EXPECT_EQ(shownCode, Digits(kTvTeletext));
    EXPECT_EQ(coding, L"Pulse-distance code");
    EXPECT_EQ(bits, L"32 бит");
    EXPECT_EQ(ejectCoding, L"Bi-phase coding (RC-5)");
    EXPECT_FALSE(replaceAfterUnknown) << "a code no row has leaves no row selected";
    const std::string name = AnsiOf(teletext);
    // What the row shows is what is saved.
    EXPECT_EQ(AnsiOf(shownName), name);

    const std::string tv = session.ReadFile("TV.cfg");
    const std::string amp = session.ReadFile("Amplifier.cfg");
    char tvCode[CodeDigits + 1], ampCode[CodeDigits + 1];
    CodeText(CodeOf(kTvTeletext), tvCode);
    CodeText(CodeOf(kAmpEject), ampCode);
    EXPECT_EQ(tv, "[Main]\r\nName=TV\r\n[Code]\r\n" + std::string(tvCode) + "=" + name + "\r\n");
    EXPECT_EQ(amp, "[Main]\r\nName=Amplifier\r\n[Code]\r\n" + std::string(ampCode) + "=Eject\r\n");

    session.Start();
    session.SetSimScript(Press(kTvTeletext));
    for (int i = 0; i < 100 && session.KeyEvents().size() < 2; ++i)
        session.Pump(50);
    session.Stop();
    ASSERT_FALSE(session.KeyEvents().empty());
    EXPECT_EQ(session.KeyEvents()[0].keyName, name);
    EXPECT_EQ(session.KeyEvents()[0].remoteName, "TV");
    EXPECT_EQ(session.KeyEvents()[0].lParam, 0);
}

} // namespace

namespace {

TEST(LearningGui, FindsReceivedKeysOnlyOnItsPageAndOnlyWhenTheCodeIsNew) {
    GuiSession session(RemoteFiles(ReplaySettings{}), "");
    std::wstring found, remote, typed;
    bool focused = false, replaceEnabled = false;
    int chosen = -1, afterSameCode = -2, afterOtherPage = -2;
    std::wstring codeAfterOtherPage;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        PressAndRelease(session, d, kTvPower);
        const int row = d.SelectedRow();
        found = row >= 0 ? d.Cell(row, 0) : L"";
        remote = d.Text(IDC_REMOTEEDIT);
        focused = d.Focus() == d.Control(IDC_LISTVIEW);
        replaceEnabled = d.Enabled(IDC_REPLACEBUTTON);

        chosen = RowNamed(d, L"Mute");
        d.SelectRow(chosen);
        d.Type(IDC_CODEEDIT, L"typed");
        PressAndRelease(session, d, kTvPower); // the same code again: only panel 1
        typed = d.Text(IDC_CODEEDIT);
        afterSameCode = d.SelectedRow();

        d.SelectPage(1);
        PressAndRelease(session, d, kAmpPlay);
        codeAfterOtherPage = d.Text(IDC_CODEEDIT);
        d.SelectPage(0);
        afterOtherPage = d.SelectedRow();
    }));
    EXPECT_EQ(found, L"Power");
    EXPECT_EQ(remote, L"TV");
    EXPECT_TRUE(focused);
    EXPECT_TRUE(replaceEnabled);
    EXPECT_EQ(typed, L"typed");
    EXPECT_EQ(afterSameCode, chosen);
    EXPECT_EQ(codeAfterOtherPage, Digits(kAmpPlay));
    EXPECT_EQ(afterOtherPage, chosen);
}

TEST(LearningGui, RenamesReplacesRemovesAndCancels) {
    FileList files = RemoteFiles(ReplaySettings{});
    // A raw pattern far longer than a list cell shows.
    const std::string longPattern(600, 'A');
    files.push_back(
        {"Long.cfg", "[Main]\r\nName=Long\r\n[Code]\r\n0000000000000001=Wide\r\n[Raw]\r\nKey1=Wide\r\nRaw1=" +
                         longPattern + "\r\n"});
    GuiSession session(files, "");
    int countBefore = 0, countAfterNoSelection = 0, countAfterRemove = 0, cancelledAt = -1, lastRow = -1;
    bool editorWithoutSelection = true, editorSurvivedPress = false;
    std::wstring cancelledName, playRaw, playCode, muteCode;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        countBefore = d.ListCount();
        d.PickMenuItem(2, -1); // Rename with nothing selected
        editorWithoutSelection = d.CaptionEditor() != nullptr;
        d.PickMenuItem(1, -1); // Remove with nothing selected
        countAfterNoSelection = d.ListCount();

        d.PickMenuItem(2, RowNamed(d, L"Power"));
        d.EditCaption(L"On");

        // Replace in code mode: the row takes the shown code.
        PressAndRelease(session, d, kTvTeletext);
        d.SelectRow(RowNamed(d, L"Mute"));
        d.Click(IDC_REPLACEBUTTON);
        muteCode = d.Cell(RowNamed(d, L"Mute"), 2);

        // Replace in raw mode on a row with only a code: it gets the pattern and keeps its code.
        d.SelectPage(1);
        d.Click(IDC_RAWBOX);
        d.SelectPage(0);
        PressAndRelease(session, d, kTvPower);
        const int play = RowNamed(d, L"Play");
        d.SelectRow(play);
        d.Click(IDC_REPLACEBUTTON);
        playCode = d.Cell(play, 2);
        playRaw = d.Cell(play, 3);

        d.SelectRow(RowNamed(d, L"On"));
        d.PickMenuItem(1, RowNamed(d, L"On"));
        countAfterRemove = d.ListCount();

        d.Click(IDC_ADDBUTTON);
        // A remote press while a name is half typed neither takes the focus nor ends the edit.
        d.WaitFor([&] { return d.CaptionEditor() != nullptr; });
        for (wchar_t c : std::wstring(L"half"))
            PostMessageW(d.CaptionEditor(), WM_CHAR, c, 1);
        PressAndRelease(session, d, kAmpMute);
        editorSurvivedPress = d.CaptionEditor() != nullptr && RowNamed(d, L"half") < 0;
        d.EditCaption(L"never", false);
        lastRow = d.ListCount() - 1;
        cancelledAt = RowNamed(d, L"<new key>");
        cancelledName = d.Cell(lastRow, 0);
    }));
    EXPECT_EQ(countAfterNoSelection, countBefore);
    EXPECT_FALSE(editorWithoutSelection);
    EXPECT_EQ(muteCode, Digits(kTvTeletext));
    EXPECT_EQ(playCode, Digits(kAmpPlay));
    EXPECT_FALSE(playRaw.empty());
    EXPECT_EQ(countAfterRemove, countBefore - 1);
    EXPECT_TRUE(editorSurvivedPress);
    EXPECT_EQ(cancelledAt, lastRow);
    EXPECT_EQ(cancelledName, L"<new key>");

    const std::string tv = session.ReadFile("TV.cfg");
    EXPECT_EQ(tv.find("=On\r\n"), std::string::npos) << "removed";
    EXPECT_NE(tv.find("=<new key>\r\n"), std::string::npos) << tv;
    char teletext[CodeDigits + 1];
    CodeText(CodeOf(kTvTeletext), teletext);
    const std::string amp = session.ReadFile("Amplifier.cfg");
    EXPECT_NE(amp.find(std::string(teletext) + "=Mute\r\n"), std::string::npos) << amp;
    EXPECT_NE(amp.find("[Raw]\r\nKey1=Play\r\nRaw1="), std::string::npos) << amp;
    EXPECT_NE(session.ReadFile("Long.cfg").find("Raw1=" + longPattern + "\r\n"), std::string::npos);
}

// The key name of the selected row; "" when none is selected.
std::wstring SelectedName(DialogDriver& d) {
    const int row = d.SelectedRow();
    return row >= 0 ? d.Cell(row, 0) : L"";
}

TEST(LearningGui, CommandsActOnTheRowTheyWereChosenFor) {
    GuiSession session(RemoteFiles(ReplaySettings{}), "");
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        const int countBefore = d.ListCount();
        // A key message while the menu is open shows its code but keeps the row of the menu.
        HWND menu = d.OpenMenu(RowNamed(d, L"Power"));
        PressAndRelease(session, d, kAmpMute);
        EXPECT_EQ(SelectedName(d), L"Power");
        EXPECT_EQ(d.Text(IDC_CODEEDIT), Digits(kAmpMute));
        d.ChooseMenuItem(menu, 1); // "Удалить из списка"
        EXPECT_FALSE(HasRow(d, L"Power"));
        EXPECT_TRUE(HasRow(d, L"Mute")) << "kept by the first removal";

        // A name left without Enter, then Remove on another row: the re-sort the name causes
        // runs while the menu is open and keeps the row the menu is for.
        d.PickMenuItem(2, RowNamed(d, L"Play"));
        d.TypeCaption(L"Zap");
        menu = d.OpenMenu(RowNamed(d, L"Mute"));
        d.Sync();
        EXPECT_EQ(SelectedName(d), L"Mute");
        d.ChooseMenuItem(menu, 1);
        EXPECT_TRUE(HasRow(d, L"Zap"));
        EXPECT_TRUE(HasRow(d, L"Play")); // its second code
        EXPECT_FALSE(HasRow(d, L"Mute")) << "removed by the second removal";

        // "Добавить" while a new name is still in the editor: the second editor opens on the
        // second new row, not on a row the re-sort of the first name has moved there.
        d.Type(IDC_CODEEDIT, L"0000000000000042");
        d.Click(IDC_ADDBUTTON);
        d.TypeCaption(L"First");
        d.Click(IDC_ADDBUTTON);
        d.EditCaption(L"Second");
        EXPECT_TRUE(HasRow(d, L"First"));
        EXPECT_TRUE(HasRow(d, L"Second"));
        EXPECT_FALSE(HasRow(d, L"<new key>"));
        EXPECT_EQ(d.ListCount(), countBefore);
    }));
    EXPECT_EQ(session.ReadFile("TV.cfg").find("=Power\r\n"), std::string::npos);
}

TEST(LearningGui, AddAndReplaceRefuseACodeTheFilesCannotHold) {
    GuiSession session(RemoteFiles(ReplaySettings{}), "");
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        const int countBefore = d.ListCount();
        d.Click(IDC_ADDBUTTON); // nothing received or typed yet
        EXPECT_EQ(d.Balloon(), L"Нет кода кнопки: нажмите кнопку пульта или введите код.");
        d.Type(IDC_CODEEDIT, L"A=B");
        d.Click(IDC_ADDBUTTON);
        const std::wstring equalsBalloon = d.Balloon();
        EXPECT_NE(equalsBalloon.find(L"«=»"), std::wstring::npos) << "[" << equalsBalloon.size() << "]";
        EXPECT_EQ(d.CaptionEditor(), nullptr);
        d.SelectRow(RowNamed(d, L"Mute"));
        d.Type(IDC_CODEEDIT, L"[Main]");
        d.Click(IDC_REPLACEBUTTON);
        EXPECT_NE(d.Balloon().find(L"«[»"), std::wstring::npos);
        EXPECT_EQ(d.Cell(RowNamed(d, L"Mute"), 2), Digits(kAmpMute));
        EXPECT_EQ(d.ListCount(), countBefore);
    }));
    EXPECT_EQ(session.ReadFile("_undefined_.cfg"), "");
    EXPECT_EQ(GetFileAttributesA((session.Folder() + "\\_undefined_.cfg").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(LearningGui, AReceivedCodeTakesNeitherTheFocusNorATypedRemoteName) {
    GuiSession session(RemoteFiles(ReplaySettings{}), "");
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        HWND list = d.Control(IDC_LISTVIEW);
        HWND remoteField = FindWindowExW(d.Control(IDC_REMOTEEDIT), nullptr, L"Edit", nullptr);
        d.TypeRemote(L"Kit");
        PressAndRelease(session, d, kTvPower);
        EXPECT_EQ(d.Focus(), remoteField);
        EXPECT_EQ(d.Text(IDC_REMOTEEDIT), L"Kit");
        EXPECT_EQ(SelectedName(d), L"Power");

        // Once left, the box shows the name as the code page will store it.
        d.TypeRemote(L"Кухня");
        d.FocusControl(IDC_CODEEDIT);
        wchar_t stored[16] = L"";
        MultiByteToWideChar(CP_ACP, 0, AnsiOf(L"Кухня").c_str(), -1, stored, 16);
        EXPECT_EQ(d.Text(IDC_REMOTEEDIT), stored);

        // A code that no row has disables "Заменить" under the focus: the list takes it first.
        d.SelectRow(RowNamed(d, L"Mute"));
        d.FocusControl(IDC_REPLACEBUTTON);
        PressAndRelease(session, d, kTvTeletext);
        EXPECT_FALSE(d.Enabled(IDC_REPLACEBUTTON));
        EXPECT_EQ(d.Focus(), list);
        d.Key(d.Focus(), VK_TAB);
        const HWND focusAfterTab = d.Focus();
        EXPECT_NE(focusAfterTab, nullptr);
        EXPECT_NE(focusAfterTab, list);
    }));
}

TEST(LearningGui, TheListTakesItsKeysAndGivesRemovedRowsBack) {
    GuiSession session(RemoteFiles(ReplaySettings{}), "");
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        HWND list = d.Control(IDC_LISTVIEW);
        const int countBefore = d.ListCount();
        d.SelectRow(RowNamed(d, L"Power"));
        d.Key(list, VK_DELETE);
        EXPECT_EQ(d.ListCount(), countBefore - 1);
        PostMessageW(list, WM_CHAR, 0x1A, 1); // Ctrl+Z
        d.Sync();
        EXPECT_TRUE(HasRow(d, L"Power"));
        EXPECT_EQ(d.ListCount(), countBefore);

        // F2, and a name the remote already has: it is taken, with a warning.
        d.SelectRow(RowNamed(d, L"Mute"));
        d.Key(list, VK_F2);
        d.EditCaption(L"Play");
        EXPECT_FALSE(HasRow(d, L"Mute")) << "renamed to Play";
        const std::wstring warning = d.Balloon();
        EXPECT_NE(warning.find(L"таким названием"), std::wstring::npos) << warning.size();

        // Enter: "Редактировать".
        d.SelectRow(RowNamed(d, L"Power"));
        d.Type(IDC_CODEEDIT, L"");
        d.FocusControl(IDC_LISTVIEW);
        d.Key(list, VK_RETURN);
        EXPECT_EQ(d.Text(IDC_CODEEDIT), Digits(kTvPower));
        EXPECT_TRUE(IsWindowVisible(d.Form()));

        d.PickMenuItem(1, RowNamed(d, L"Power"));
        d.PickMenuItem(1, 0);
        EXPECT_EQ(d.ListCount(), countBefore - 2);
        d.PickMenuItem(4, 0); // "Вернуть удалённую кнопку"
        d.PickMenuItem(4, 0);
        EXPECT_TRUE(HasRow(d, L"Power"));
        EXPECT_EQ(d.ListCount(), countBefore);

        // The columns keep their minimum widths; "RAW" has none.
        HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
        for (int i = 0; i < 4; ++i) {
            HDITEMW item{};
            item.mask = HDI_WIDTH;
            item.cxy = 30;
            SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        }
        d.Sync();
        d.Sync();
        const int minimumWidths[] = {80, 80, 80, 30};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0), minimumWidths[i])
                << i;
        EXPECT_EQ(d.Caption(list), L"Список кнопок") << "the list's name for screen readers";
    }));
}

TEST(LearningGui, ThePopupMenuOpensFromTheKeyboardAtTheSelectedRow) {
    GuiSession session(RemoteFiles(ReplaySettings{}), "");
    std::wstring remote, code;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        d.SelectRow(RowNamed(d, L"Mute"));
        d.Type(IDC_CODEEDIT, L"");
        d.PickMenuItem(3, -1); // "Редактировать" from the context-menu key
        remote = d.Text(IDC_REMOTEEDIT);
        code = d.Text(IDC_CODEEDIT);
    }));
    EXPECT_EQ(remote, L"Amplifier");
    EXPECT_EQ(code, Digits(kAmpMute));
}

} // namespace

namespace {

TEST(LearningGui, LearnsAButtonInRawModeThatTheHostThenReceives) {
    ReplaySettings settings;
    settings.rawMode = 1;
    GuiSession session({{"OrvikPlug.ini", SettingsText(settings)}}, "");
    std::wstring pattern, coding, bits;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        PressAndRelease(session, d, kAmpEject);
        pattern = d.Text(IDC_CODEEDIT);
        coding = d.Panel(2);
        bits = d.Panel(3);
        d.TypeRemote(L"Amplifier");
        d.Click(IDC_ADDBUTTON);
        d.EditCaption(L"Eject");
        // Switching raw mode off (and on again) forgets the pattern: added in the other mode, it
        // would be stored as a code.
        PressAndRelease(session, d, kAmpEject);
        d.SelectPage(1);
        d.Click(IDC_RAWBOX);
        d.Click(IDC_RAWBOX);
        EXPECT_EQ((std::vector<std::wstring>{d.Text(IDC_CODEEDIT), d.Panel(2), d.Panel(3), d.Panel(4)}),
                  (std::vector<std::wstring>{L"", L"Кодировка", L"", L"Код:"}));
    }));
    EXPECT_EQ(coding, L"RAW");
    EXPECT_EQ(bits, L"Н/Д");
    ASSERT_FALSE(pattern.empty());
    const std::string amp = session.ReadFile("Amplifier.cfg");
    EXPECT_EQ(amp, "[Main]\r\nName=Amplifier\r\n[Raw]\r\nKey1=Eject\r\nRaw1=" +
                       std::string(pattern.begin(), pattern.end()) + "\r\n");

    EXPECT_EQ(FirstHostKey(session, kAmpEject), "Amplifier / Eject");
}

TEST(LearningGui, ASignatureTakenBeforeTheDialogIsNotShownInIt) {
    ReplaySettings settings;
    settings.rawMode = 1;
    GuiSession session({{"OrvikPlug.ini", SettingsText(settings)}}, "");
    session.Start();
    // Setup while receiving, with a button held: the dialog hears of it first at a lone repeat
    // frame after the release, which brings no signature of its own.
    Jitter jitter;
    session.SetSimScript(
        ScriptText().Step("idle 2").Hold(kTvPower, 40).Wait(350).Send(NecRepeat(jitter)).Text());
    session.Pump(600);
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        RecordPanelTexts(d.Control(IDC_STATBAR));
        EXPECT_TRUE(d.WaitFor(
            [&] {
                const std::vector<std::wstring> texts = PanelTexts(1);
                return std::find(texts.begin(), texts.end(), L"Нажата") != texts.end();
            },
            10000));
        EXPECT_EQ(d.Text(IDC_CODEEDIT), L"");
    }));
    session.Stop();
}

} // namespace

// Learning buttons and editing the list, end to end: the simulator plays a remote, the dialog's
// real controls learn and name the buttons, the files hold them, and the host receives them.
#include <windows.h>

#include <gtest/gtest.h>

#include "setup_dialog/setup_form_ids.h"
#include "tests/gui/dialog_driver_win32.h"
#include "tests/gui/gui_files.h"
#include "tests/gui/gui_session_win32.h"
#include "tests/wine/remote_scripts.h"

namespace {

std::wstring Digits(const Button& button) {
    char text[CodeDigits + 1];
    CodeText(CodeOf(button), text);
    return std::wstring(text, text + CodeDigits);
}

std::string Press(const Button& button) {
    return ScriptText().Step("idle 2").Hold(button, 1).Text();
}

// Waits for a press of button to be shown and released again.
bool PressAndRelease(GuiSession& session, DialogDriver& d, const Button& button) {
    session.SetSimScript(Press(button));
    return d.WaitFor([&] { return d.Panel(1) == L"Нажата"; }) &&
           d.WaitFor([&] { return d.Panel(1) == L"Не нажата"; });
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

int RowNamed(DialogDriver& d, const std::wstring& name) {
    for (int i = 0; i < d.ListCount(); ++i)
        if (d.Cell(i, 0) == name)
            return i;
    return -1;
}

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
    std::vector<std::wstring> afterSwitch;
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
        afterSwitch = {d.Text(IDC_CODEEDIT), d.Panel(2), d.Panel(3), d.Panel(4)};
    }));
    EXPECT_EQ(coding, L"RAW");
    EXPECT_EQ(bits, L"Н/Д");
    EXPECT_EQ(afterSwitch, (std::vector<std::wstring>{L"", L"Кодировка", L"", L"Код:"}));
    ASSERT_FALSE(pattern.empty());
    const std::string amp = session.ReadFile("Amplifier.cfg");
    EXPECT_EQ(amp, "[Main]\r\nName=Amplifier\r\n[Raw]\r\nKey1=Eject\r\nRaw1=" +
                       std::string(pattern.begin(), pattern.end()) + "\r\n");

    session.Start();
    session.SetSimScript(Press(kAmpEject));
    for (int i = 0; i < 100 && session.KeyEvents().empty(); ++i)
        session.Pump(50);
    session.Stop();
    ASSERT_FALSE(session.KeyEvents().empty());
    EXPECT_EQ(session.KeyEvents()[0].keyName, "Eject");
    EXPECT_EQ(session.KeyEvents()[0].remoteName, "Amplifier");
}

} // namespace

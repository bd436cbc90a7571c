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
    return d.WaitFor([&] { return d.Panel(1) == L"Нажата"; }) && d.WaitFor([&] { return d.Panel(1) == L"Не нажата"; });
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

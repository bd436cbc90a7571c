// The receiver page and the frame, worked through their real controls.
#include <gtest/gtest.h>

#include "setup_dialog/setup_form_ids.h"
#include "support/ir_trains.h"
#include "tests/gui/dialog_driver_win32.h"
#include "tests/gui/gui_files.h"
#include "tests/gui/gui_session_win32.h"
#include "tests/wine/remote_scripts.h"

namespace {

TEST(ReceiverPageGui, FirstOpeningWithoutSettingsShowsTheDefaults) {
    GuiSession session({}, "");
    ASSERT_TRUE(session.Loaded());
    struct Seen {
        bool mode0, scaler1, scaler2, raw, led1, compat, compatEnabled, replaceEnabled, importEnabled;
        std::wstring buffer, freq, wait1, waitN, waitR, remote, title;
        int page;
        std::wstring pages[3];
    } seen{};
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        seen.mode0 = d.Checked(IDC_MODE_0);
        seen.scaler1 = d.Checked(IDC_RADIO_SCALER_1);
        seen.scaler2 = d.Checked(IDC_RADIO_SCALER_2);
        seen.raw = d.Checked(IDC_RAWBOX);
        seen.led1 = d.Checked(IDC_LED_1);
        seen.compat = d.Checked(IDC_CHB_COMPAT);
        seen.compatEnabled = d.Enabled(IDC_CHB_COMPAT);
        seen.replaceEnabled = d.Enabled(IDC_REPLACEBUTTON);
        seen.importEnabled = d.Enabled(IDC_IMPORTBTN);
        seen.buffer = d.Text(IDC_EDIT_BUFSIZE);
        seen.freq = d.Text(IDC_EDIT_POLLFREQ);
        seen.wait1 = d.Text(IDC_EDIT2);
        seen.waitN = d.Text(IDC_EDIT3);
        seen.waitR = d.Text(IDC_EDIT4);
        seen.remote = d.Text(IDC_REMOTEEDIT);
        seen.title = d.Caption(d.Form());
        seen.page = d.CurrentPage();
        for (int i = 0; i < 3; ++i)
            seen.pages[i] = d.PageCaption(i);
    }));
    EXPECT_TRUE(seen.mode0);
    EXPECT_TRUE(seen.scaler1);
    EXPECT_FALSE(seen.scaler2);
    EXPECT_FALSE(seen.raw);
    EXPECT_TRUE(seen.led1);
    EXPECT_TRUE(seen.compat);
    EXPECT_FALSE(seen.compatEnabled);
    EXPECT_FALSE(seen.replaceEnabled);
    EXPECT_TRUE(seen.importEnabled);
    EXPECT_EQ(seen.buffer, L"36");
    EXPECT_EQ(seen.freq, L"20");
    EXPECT_EQ(seen.wait1, L"300");
    EXPECT_EQ(seen.waitN, L"100");
    EXPECT_EQ(seen.waitR, L"200");
    EXPECT_EQ(seen.remote, L"<undefined>");
    EXPECT_EQ(seen.title, L"OrvikPlug-USB");
    EXPECT_EQ(seen.page, 0);
    EXPECT_EQ(seen.pages[0], L"Настройка пульта");
    EXPECT_EQ(seen.pages[1], L"Настройка приёмника");
    EXPECT_EQ(seen.pages[2], L"О программе");
    // Closing saved the defaults.
    const std::string ini = session.ReadFile("OrvikPlug.ini");
    EXPECT_EQ(IniValue(ini, "BufferSize"), "36");
    EXPECT_EQ(IniValue(ini, "PollFreq"), "20");
    EXPECT_EQ(IniValue(ini, "LastRemoteControl"), "<undefined>");
}

TEST(ReceiverPageGui, PickingAModelSetsItsUnitAndBufferAtOnceAndTheNextBurstUsesThem) {
    // Raw mode shows every burst's signature, so the conversion of the next burst can be seen.
    ReplaySettings stored;
    stored.rawMode = 1;
    GuiSession session({{"OrvikPlug.ini", SettingsText(stored)}}, "");
    bool scaler2 = false;
    std::wstring buffer, before, after;
    const std::string press = ScriptText().Step("idle 2").Hold(kTvPower, 1).Text();
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        session.SetSimScript(press);
        d.WaitFor([&] { return !d.Text(IDC_CODEEDIT).empty(); });
        before = d.Text(IDC_CODEEDIT);
        d.SelectPage(1);
        d.Click(IDC_MODE_1);
        scaler2 = d.Checked(IDC_RADIO_SCALER_2) && !d.Checked(IDC_RADIO_SCALER_1);
        buffer = d.Text(IDC_EDIT_BUFSIZE);
        d.WaitFor([&] { return d.Panel(1) == L"Не нажата"; });
        session.SetSimScript(press);
        d.WaitFor([&] { return d.Text(IDC_CODEEDIT) != before; });
        after = d.Text(IDC_CODEEDIT);
    }));
    EXPECT_TRUE(scaler2);
    EXPECT_EQ(buffer, L"108");
    ASSERT_FALSE(before.empty());
    EXPECT_NE(after, before) << "the same burst, converted as the new model's";
    const std::string ini = session.ReadFile("OrvikPlug.ini");
    EXPECT_EQ(IniValue(ini, "Mode"), "1");
    EXPECT_EQ(IniValue(ini, "Scaler"), "2133");
    EXPECT_EQ(IniValue(ini, "BufferSize"), "108");
}

// A media-center button (RC-6 mode 6, 67 durations) with the default buffer of 36 bytes: the whole
// status bar says that the burst was cut and which setting to raise. With a larger buffer the next
// press decodes, the notice goes and the panels name the RC-6 code.
TEST(ReceiverPageGui, ACutBurstIsReportedUntilTheBufferHoldsIt) {
    ReplaySettings stored;
    stored.bufferSize = 36;
    GuiSession session({{"OrvikPlug.ini", SettingsText(stored)}}, "");
    Durations frame = Rc6Train(6, true, BitsOf(0x800F840C, 32));
    for (size_t i = 0; i < frame.size(); ++i)
        frame[i] += i % 2 == 0 ? 60 : -60; // marks longer, as receivers make them
    const std::string press = ScriptText().Step("idle 2").Send(frame).Text();
    std::wstring cut, fitted, coding, bits, code;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        session.SetSimScript(press);
        d.WaitFor([&] { return !d.Notice().empty(); });
        cut = d.Notice();
        d.SelectPage(1);
        d.Type(IDC_EDIT_BUFSIZE, L"128");
        d.FocusControl(IDC_EDIT_POLLFREQ);
        d.SelectPage(0);
        session.SetSimScript(press);
        d.WaitFor([&] { return d.Notice().empty() && d.Panel(3) == L"37 бит"; });
        fitted = d.Notice();
        coding = d.Panel(2);
        bits = d.Panel(3);
        code = d.Text(IDC_CODEEDIT);
    }));
    EXPECT_EQ(cut, L"Сигнал обрезан: он не поместился в буфер. Увеличьте «Размер буфера» на странице "
                   L"«Настройка приёмника».");
    EXPECT_EQ(fitted, L"");
    EXPECT_EQ(coding, L"Bi-phase coding (RC-6)");
    EXPECT_EQ(bits, L"37 бит");
    EXPECT_EQ(code, L"0425001C800F040C");
}

TEST(ReceiverPageGui, FillingAppliesNoModelDefaults) {
    ReplaySettings stored;
    stored.bufferSize = 200;
    stored.scaler = 1000;
    GuiSession session({{"OrvikPlug.ini", SettingsText(stored, 1)}}, "");
    std::wstring buffer;
    bool mode1 = false, anyScaler = true;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        d.SelectPage(1);
        // A click and Space on the model in use change nothing either.
        d.Click(IDC_MODE_1);
        d.FocusControl(IDC_MODE_1);
        d.Key(d.Focus(), VK_SPACE);
        buffer = d.Text(IDC_EDIT_BUFSIZE);
        mode1 = d.Checked(IDC_MODE_1);
        anyScaler = d.Checked(IDC_RADIO_SCALER_1) || d.Checked(IDC_RADIO_SCALER_2);
    }));
    EXPECT_EQ(buffer, L"200");
    EXPECT_TRUE(mode1);
    EXPECT_FALSE(anyScaler);
    const std::string ini = session.ReadFile("OrvikPlug.ini");
    EXPECT_EQ(IniValue(ini, "BufferSize"), "200");
    EXPECT_EQ(IniValue(ini, "Scaler"), "1000");
}

TEST(ReceiverPageGui, TypedBufferSizes) {
    GuiSession session({{"OrvikPlug.ini", SettingsText(ReplaySettings{})}}, "");
    std::wstring afterNumber, afterText, afterZero, stepped;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        d.SelectPage(1);
        d.Type(IDC_EDIT_BUFSIZE, L"299");
        d.Step(IDC_EDIT_BUFSIZE, true); // from the number typed
        stepped = d.Text(IDC_EDIT_BUFSIZE);
        d.FocusControl(IDC_RAWBOX); // leaving the box
        afterNumber = d.Text(IDC_EDIT_BUFSIZE);
        d.Type(IDC_EDIT_BUFSIZE, L"abc");
        d.FocusControl(IDC_RAWBOX);
        afterText = d.Text(IDC_EDIT_BUFSIZE);
        d.Type(IDC_EDIT_BUFSIZE, L"0");
        d.FocusControl(IDC_RAWBOX);
        afterZero = d.Text(IDC_EDIT_BUFSIZE);
        // Typed and closed while the box still has the focus: the number counts.
        d.Type(IDC_EDIT_BUFSIZE, L"250");
    }));
    EXPECT_EQ(stepped, L"300");
    EXPECT_EQ(afterNumber, L"300");
    EXPECT_EQ(afterText, L"300");
    EXPECT_EQ(afterZero, L"11");
    EXPECT_EQ(IniValue(session.ReadFile("OrvikPlug.ini"), "BufferSize"), "250");
}

TEST(ReceiverPageGui, FrequencyStepsRoundTripAndLimitsChangeNothing) {
    ReplaySettings stored;
    stored.pollFreq = 20;
    stored.wait1 = 1000;
    stored.waitR = 50;
    GuiSession session({{"OrvikPlug.ini", SettingsText(stored)}}, "");
    std::wstring freq, typedFreq, wait1, waitR, waitN;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        d.SelectPage(1);
        d.Step(IDC_EDIT_POLLFREQ, false); // 20 -> 15 Hz
        freq = d.Text(IDC_EDIT_POLLFREQ);
        d.Type(IDC_EDIT_POLLFREQ, L"77"); // typing changes no interval and is undone on leaving
        d.FocusControl(IDC_RAWBOX);
        typedFreq = d.Text(IDC_EDIT_POLLFREQ);
        d.Step(IDC_EDIT2, true);  // Wait1 at 1000: no step
        d.Step(IDC_EDIT4, false); // WaitR at 50: no step
        d.Step(IDC_EDIT3, true);  // WaitN 100 -> 150
        wait1 = d.Text(IDC_EDIT2);
        waitR = d.Text(IDC_EDIT4);
        waitN = d.Text(IDC_EDIT3);
    }));
    EXPECT_EQ(freq, L"15");
    EXPECT_EQ(typedFreq, L"15");
    EXPECT_EQ(wait1, L"1000");
    EXPECT_EQ(waitR, L"50");
    EXPECT_EQ(waitN, L"150");
    const std::string ini = session.ReadFile("OrvikPlug.ini");
    EXPECT_EQ(IniValue(ini, "PollFreq"), "15"); // an interval of 66 ms
    EXPECT_EQ(IniValue(ini, "Wait1"), "1000");
    EXPECT_EQ(IniValue(ini, "WaitR"), "50");
    EXPECT_EQ(IniValue(ini, "WaitN"), "150");

    std::wstring shownAgain;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) { shownAgain = d.Text(IDC_EDIT_POLLFREQ); }));
    EXPECT_EQ(shownAgain, L"15");
}

} // namespace

// The frame of the dialog: device states, keys that must not close it, saving, and Setup's
// lifecycle around it.
#include <gtest/gtest.h>

#include <set>

#include "setup_dialog/setup_form_ids.h"
#include "tests/gui/dialog_driver_win32.h"
#include "tests/gui/gui_files.h"
#include "tests/gui/gui_session_win32.h"
#include "tests/wine/remote_scripts.h"

namespace {

TEST(FormGui, ShowsEveryDeviceState) {
    GuiSession session({}, "idle 0; wait 700; idle 1; wait 700; idle 5; wait 700; idle 2");
    std::set<std::wstring> seen;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        d.WaitFor(
            [&] {
                seen.insert(d.Panel(0));
                return seen.size() >= 5 && seen.count(L"Состояние: нет данных");
            },
            6000);
    }));
    EXPECT_TRUE(seen.count(L"Состояние: OK"));
    EXPECT_TRUE(seen.count(L"Состояние: нет устройства"));
    EXPECT_TRUE(seen.count(L"Состояние: неизвестно"));
    EXPECT_TRUE(seen.count(L"Состояние: нет данных"));
}

TEST(FormGui, WithoutADriverTheReceiverIsMissingFromTheFirstTick) {
    GuiSession session({}, "", false);
    std::wstring status;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        d.WaitFor([&] { return d.Panel(0) != L"Статус:"; });
        status = d.Panel(0);
    }));
    EXPECT_EQ(status, L"Состояние: нет устройства");
}

TEST(FormGui, EnterTabAndEscNeitherCloseTheDialogNorShowAKey) {
    GuiSession session({}, "");
    bool open = false;
    std::wstring pressed, code, panel4;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        d.FocusControl(IDC_CODEEDIT);
        d.Key(d.Focus(), VK_RETURN);
        d.Key(d.Focus(), VK_TAB); // onto the push button "Добавить"
        d.Key(d.Focus(), VK_RETURN);
        d.Key(d.Focus(), VK_ESCAPE);
        d.SelectPage(1);
        d.FocusControl(IDC_EDIT_BUFSIZE);
        d.Key(d.Focus(), VK_RETURN);
        d.Key(d.Focus(), VK_ESCAPE);
        Sleep(150);
        d.Sync();
        open = IsWindowVisible(d.Form()) != FALSE;
        pressed = d.Panel(1);
        code = d.Text(IDC_CODEEDIT);
        panel4 = d.Panel(4);
    }));
    EXPECT_TRUE(open);
    EXPECT_EQ(pressed, L"Не нажата");
    EXPECT_EQ(code, L"");
    EXPECT_EQ(panel4, L"Код:");
}

TEST(FormGui, AnUntouchedOpenAndCloseChangesNoDefinitionFileAndKeepsUnknownKeys) {
    FileList files = RemoteFiles(ReplaySettings{});
    files[0].second += "[Extra]\r\nKeepMe=1\r\n";
    files[1].second = "; written by hand\r\n" + files[1].second + "[Notes]\r\nColour=black\r\n";
    GuiSession session(files, "");
    ASSERT_TRUE(session.RunSetup([](DialogDriver&) {}));
    for (size_t i = 1; i < files.size(); ++i)
        EXPECT_EQ(session.ReadFile(files[i].first), files[i].second) << files[i].first;
    EXPECT_EQ(IniValue(session.ReadFile("OrvikPlug.ini"), "KeepMe"), "1");
    EXPECT_TRUE(session.Boxes().empty());
}

// Setup after Close shows no key (the key table is gone); a key added there is not saved, and
// no remote file loses its keys.
TEST(FormGui, SetupAfterCloseChangesNoDefinitionFile) {
    const FileList files = RemoteFiles(ReplaySettings{});
    GuiSession session(files, "");
    session.Close();
    int rows = -1;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        rows = d.ListCount();
        d.Type(IDC_CODEEDIT, L"0000000000000042");
        d.TypeRemote(L"TV");
        d.Click(IDC_ADDBUTTON);
        d.EditCaption(L"Added");
    }));
    EXPECT_EQ(rows, 0);
    for (size_t i = 1; i < files.size(); ++i)
        EXPECT_EQ(session.ReadFile(files[i].first), files[i].second) << files[i].first;
}

TEST(FormGui, ASettingsFileThatCannotBeWrittenGivesOneBoxAfterTheDialog) {
    GuiSession session(RemoteFiles(ReplaySettings{}), "");
    const std::string before = session.ReadFile("OrvikPlug.ini");
    SetFileAttributesA((session.Folder() + "\\OrvikPlug.ini").c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        d.SelectPage(1);
        d.Click(IDC_LED_3);
    }));
    const std::vector<std::string> boxes = session.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("OrvikPlug.ini"), std::string::npos) << boxes[0];
    EXPECT_EQ(session.BoxOwners()[0], session.HostWindow());
    EXPECT_EQ(session.ReadFile("OrvikPlug.ini"), before);
}

TEST(FormGui, SetupWhileRunningRestartsAndASecondSetupDoesNothing) {
    GuiSession session(RemoteFiles(ReplaySettings{}), "");
    session.Start();
    int forms = 0;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        session.PostNestedSetup();
        d.Sync();
        forms = 0;
        for (HWND w = FindWindowExW(nullptr, nullptr, L"TSetupForm", nullptr); w;
             w = FindWindowExW(nullptr, w, L"TSetupForm", nullptr)) {
            DWORD process = 0;
            GetWindowThreadProcessId(w, &process);
            // Other test programs may show their own dialogs meanwhile.
            forms += IsWindowVisible(w) && process == GetCurrentProcessId() ? 1 : 0;
        }
        d.SelectPage(1);
        d.Click(IDC_LED_0);
    }));
    EXPECT_EQ(forms, 1);
    EXPECT_EQ(IniValue(session.ReadFile("OrvikPlug.ini"), "BlinkMode"), "0");
    const int32_t before = session.SimulatorPolls();
    session.Pump(400);
    EXPECT_GT(session.SimulatorPolls(), before) << "receiving again after Setup";
    session.Stop();
}

TEST(FormGui, SetupWhileStoppedStaysStopped) {
    GuiSession session(RemoteFiles(ReplaySettings{}), "");
    int32_t during = 0;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        // The dialog receives while it is open.
        d.WaitFor([&] { return session.SimulatorPolls() > 3; });
        during = session.SimulatorPolls();
    }));
    EXPECT_GT(during, 3);
    const int32_t before = session.SimulatorPolls();
    session.Pump(400);
    EXPECT_EQ(session.SimulatorPolls(), before);
}

} // namespace

// The frame of the dialog: device states, keys that must not close it, saving, and Setup's
// lifecycle around it.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>

#include "setup_dialog/about_texts.h"
#include "setup_dialog/setup_form_ids.h"
#include "tests/gui/dialog_driver_win32.h"
#include "tests/gui/gui_files.h"
#include "tests/gui/gui_session_win32.h"
#include "tests/gui/panel_texts_win32.h"
#include "tests/gui/screen_capture_win32.h"
#include "tests/wine/remote_scripts.h"

namespace {

// For every visible group box of the dialog as the screen shows it: the pixels of its inside,
// below its caption and less the controls on it, that are not the button face (left black, or
// showing what another page drew there).
std::map<int, int> StainedGroupBoxPixels(DialogDriver& d) {
    d.Sync(true);
    const ScreenImage image = CaptureWindow(d.Form());
    RECT form{};
    GetWindowRect(d.Form(), &form);
    auto placed = [&](HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        OffsetRect(&r, -form.left, -form.top);
        return r;
    };
    std::vector<HWND> groups;
    std::vector<RECT> controls;
    for (HWND w = GetWindow(d.Container(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (!IsWindowVisible(w) || GetDlgCtrlID(w) == IDC_SETUPPAGES)
            continue;
        wchar_t name[32] = L"";
        GetClassNameW(w, name, 32);
        if (lstrcmpiW(name, L"Button") == 0 && (GetWindowLongW(w, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) {
            groups.push_back(w);
        } else {
            RECT r = placed(w);
            InflateRect(&r, 1, 1);
            controls.push_back(r);
        }
    }
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const uint32_t faceRgb = GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face);
    std::map<int, int> stained;
    for (HWND group : groups) {
        RECT inside = placed(group);
        inside.left += 3;
        inside.right -= 3;
        inside.bottom -= 3;
        inside.top += 16;
        stained[GetDlgCtrlID(group)] = image.CountOtherThan(inside, controls, faceRgb);
    }
    return stained;
}

// The states come one after the other once the texts are recorded, each for a second: the
// dialog's thread shows each at its next tick, however late this thread gets to look.
TEST(FormGui, ShowsEveryDeviceState) {
    GuiSession session({}, "idle 2");
    std::set<std::wstring> seen;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        RecordPanelTexts(d.Control(IDC_STATBAR));
        session.SetSimScript("idle 0; wait 1000; idle 1; wait 1000; idle 5; wait 1000; idle 2");
        d.WaitFor(
            [&] {
                const std::vector<std::wstring> texts = PanelTexts(0);
                seen.insert(texts.begin(), texts.end());
                return seen.count(L"Состояние: OK") && seen.count(L"Состояние: нет устройства") &&
                       seen.count(L"Состояние: неизвестно") && seen.count(L"Состояние: нет данных");
            },
            10000);
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

// Setup after Close shows no key (the key table is gone) and says before any work that the list
// is not saved: the list's commands are off. Nothing added there is saved, and no remote file
// loses its keys.
TEST(FormGui, SetupAfterCloseChangesNoDefinitionFile) {
    const FileList files = RemoteFiles(ReplaySettings{});
    GuiSession session(files, "");
    session.Close();
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        EXPECT_EQ(d.ListCount(), 0);
        EXPECT_EQ(d.Panel(1), L"Плагин закрыт: список кнопок не сохраняется");
        for (int id : {IDC_ADDBUTTON, IDC_REPLACEBUTTON, IDC_IMPORTBTN, IDC_EXPORTBTN})
            EXPECT_FALSE(d.Enabled(id)) << id;
        HWND menu = d.OpenMenu(-1);
        EXPECT_EQ(d.MenuItems(menu),
                  (std::vector<std::wstring>{L"Добавить текущую кнопку (off)", L"Удалить из списка (off)",
                                             L"Переименовать (off)", L"Редактировать", L"Отменить (off)"}));
        d.CloseMenu(menu);
        d.Type(IDC_CODEEDIT, L"0000000000000042");
        d.TypeRemote(L"TV");
        d.Click(IDC_ADDBUTTON);
        EXPECT_EQ(d.ListCount(), 0);
        // The bar keeps saying it while the dialog is open.
        d.Sync();
        EXPECT_EQ(d.Panel(1), L"Плагин закрыт: список кнопок не сохраняется");
    }));
    for (size_t i = 1; i < files.size(); ++i)
        EXPECT_EQ(session.ReadFile(files[i].first), files[i].second) << files[i].first;
}

// Also when the host window went away under the dialog: a box owned by a dead window would not
// show at all.
TEST(FormGui, ASettingsFileThatCannotBeWrittenGivesOneBoxAfterTheDialog) {
    for (bool hostDestroyed : {false, true}) {
        GuiSession session(RemoteFiles(ReplaySettings{}), "");
        const HWND host = session.HostWindow();
        const std::string before = session.ReadFile("OrvikPlug.ini");
        SetFileAttributesA((session.Folder() + "\\OrvikPlug.ini").c_str(), FILE_ATTRIBUTE_READONLY);
        ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
            d.SelectPage(1);
            d.Click(IDC_LED_3);
            if (hostDestroyed)
                session.PostDestroyHost();
        }));
        const std::vector<std::string> boxes = session.Boxes();
        ASSERT_EQ(boxes.size(), 1u) << hostDestroyed;
        EXPECT_NE(boxes[0].find("OrvikPlug.ini"), std::string::npos) << boxes[0];
        EXPECT_EQ(session.BoxOwners()[0], hostDestroyed ? nullptr : host);
        EXPECT_EQ(session.ReadFile("OrvikPlug.ini"), before);
    }
}

// However the dialog ends, a key name still in its editor is taken as Enter would take it, the
// remote name as the box shows it, and the host's windows, disabled while the dialog runs, are
// enabled again.
TEST(FormGui, WhatIsTypedIsSavedHoweverTheDialogEnds) {
    // The message that ends the dialog, to the form or to the caption editor; none: the host
    // window is destroyed.
    const struct {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool toEditor;
    } cases[] = {
        {"system menu", WM_SYSCOMMAND, SC_CLOSE, 0, false},
        {"WM_CLOSE, as the close box sends it", WM_CLOSE, 0, 0, false},
        {"Alt+F4", WM_SYSKEYDOWN, VK_F4, 1 | (1 << 29), true},
        {"host window destroyed", 0, 0, 0, false},
    };
    for (const auto& c : cases) {
        GuiSession session(RemoteFiles(ReplaySettings{}), "");
        // Another window of the host, on the thread that calls Setup.
        HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                                     nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
            d.Type(IDC_CODEEDIT, L"0000000000000042");
            d.TypeRemote(L"Kitchen");
            d.Click(IDC_ADDBUTTON);
            HWND editor = d.TypeCaption(L"Typed");
            EXPECT_TRUE(!IsWindowEnabled(other) && !IsWindowEnabled(session.HostWindow())) << c.name;
            if (c.message == 0)
                session.PostDestroyHost();
            else
                PostMessageW(c.toEditor ? editor : d.Form(), c.message, c.wParam, c.lParam);
            EXPECT_TRUE(d.WaitFor([&] { return !IsWindowVisible(d.Form()); })) << c.name;
        })) << c.name;
        EXPECT_TRUE(IsWindowEnabled(other)) << c.name;
        if (session.HostWindow()) {
            EXPECT_TRUE(IsWindowEnabled(session.HostWindow())) << c.name;
        }
        EXPECT_NE(session.ReadFile("Kitchen.cfg").find("0000000000000042=Typed\r\n"), std::string::npos)
            << c.name << ": " << session.ReadFile("Kitchen.cfg");
        EXPECT_EQ(IniValue(session.ReadFile("OrvikPlug.ini"), "LastRemoteControl"), "Kitchen") << c.name;
        DestroyWindow(other);
    }
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

// Every page's group boxes show the button face inside, on the first showing and after a page
// switch, when the previous page's controls were drawn where they are now.
TEST(FormGui, GroupBoxesAreCleanOnEveryPageAfterPageSwitches) {
    GuiSession session(RemoteFiles(ReplaySettings{}), "");
    const std::map<int, int> clean[] = {
        {{IDC_MANUALGROUP, 0}, {IDC_FILEGROUP, 0}},
        {{IDC_MODEGROUP, 0}, {IDC_TUNEGROUP, 0}, {IDC_TIMEGROUP, 0}, {IDC_DECODEGROUP, 0}, {IDC_LEDGROUP, 0}},
        {{IdAboutGroup, 0}},
    };
    const int pages[] = {0, 1, 0, 2, 1};
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        for (size_t i = 0; i < std::size(pages); ++i) {
            d.SelectPage(pages[i]);
            EXPECT_EQ(StainedGroupBoxPixels(d), clean[pages[i]]) << "visit " << i << ", page " << pages[i];
        }
    }));
}

// The pages switch from the keyboard, as tabs do, and the about page works inside the real dialog:
// it shows the module's version and the read-me, which Tab reaches.
TEST(FormGui, KeysSwitchPagesAndTheAboutPageShowsTheReadme) {
    FileList files = RemoteFiles(ReplaySettings{});
    files.push_back({"readme.txt", "\xCF\xF3\xEB\xFC\xF2\r\n"}); // "Пульт" in code page 1251
    GuiSession session(files, "");
    std::vector<int> pages;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        const std::initializer_list<WORD> chords[] = {{VK_CONTROL, VK_TAB},   {VK_CONTROL, VK_TAB},
                                                      {VK_CONTROL, VK_TAB},   {VK_CONTROL, VK_SHIFT, VK_TAB},
                                                      {VK_CONTROL, VK_PRIOR}, {VK_CONTROL, VK_NEXT}};
        for (const auto& chord : chords) {
            const int before = d.CurrentPage();
            d.Chord(chord);
            d.WaitFor([&] { return d.CurrentPage() != before; }, 3000);
            pages.push_back(d.CurrentPage());
        }
        const std::wstring version = d.Text(IdLblVersion);
        EXPECT_EQ(version.rfind(L"Версия ", 0), 0u) << version;
        EXPECT_EQ(d.Text(IdMemoHelp), L"\u041f\u0443\u043b\u044c\u0442\r\n");
        d.FocusControl(IdStaticText3); // the last link
        d.Key(d.Focus(), VK_TAB);
        EXPECT_EQ(d.Focus(), d.Control(IdMemoHelp));
    }));
    EXPECT_EQ(pages, (std::vector<int>{1, 2, 0, 2, 1, 2}));
}

// The dialog on this screen at this dpi: inside the work area, with a minimum size the work area
// gives, and where its laid-out size fits, every control of every page inside it. CTest runs it
// again at 144 dpi on an 800 x 600 and a 1366 x 768 screen of their own (run_at_dpi.sh).
TEST(FormGui, PlacedInsideTheWorkAreaWithEveryControlOnIt) {
    GuiSession session(RemoteFiles(ReplaySettings{}), "");
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        RECT work{}, form{}, client{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        GetWindowRect(d.Form(), &form);
        const auto inside = [](const RECT& r, const RECT& area) {
            return r.left >= area.left && r.top >= area.top && r.right <= area.right &&
                   r.bottom <= area.bottom;
        };
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        MINMAXINFO limits{};
        SendMessageW(d.Form(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        std::printf("dpi %d, work area %ldx%ld: form at (%ld, %ld), %ldx%ld, minimum %ldx%ld\n", dpi,
                    work.right, work.bottom, form.left, form.top, form.right - form.left,
                    form.bottom - form.top, limits.ptMinTrackSize.x, limits.ptMinTrackSize.y);
        EXPECT_TRUE(inside(form, work));
        EXPECT_TRUE(limits.ptMinTrackSize.x <= work.right - work.left &&
                    limits.ptMinTrackSize.y <= work.bottom - work.top);
        if (MulDiv(640, dpi, 96) > work.right - work.left || MulDiv(400, dpi, 96) > work.bottom - work.top)
            return;
        EXPECT_EQ(form.right - form.left, MulDiv(640, dpi, 96));
        GetClientRect(d.Container(), &client);
        MapWindowPoints(d.Container(), nullptr, reinterpret_cast<POINT*>(&client), 2);
        for (int page = 0; page < 3; ++page) {
            d.SelectPage(page);
            for (HWND w = GetWindow(d.Container(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
                RECT r{};
                EXPECT_TRUE(!IsWindowVisible(w) || (GetWindowRect(w, &r) && inside(r, client)))
                    << "page " << page << ", control " << GetDlgCtrlID(w);
            }
        }
    }));
}

} // namespace

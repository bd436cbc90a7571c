// The distribution as a user unpacks it: the zip's files in a fresh folder with the test host and
// the receiver simulator. Every button of the example remote, sent as that remote sends it, reaches
// the host under the name the example file gives it.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "tests/wine/key_events_win32.h"
#include "tests/wine/remote_scripts.h"
#include "tests/wine/scenario_checks_win32.h"
#include "tests/wine/test_paths_win32.h"

namespace {

// The example remote as it really sends: device 04 of the pulse-distance protocol, with the
// command of each button.
constexpr Button kExampleRemote[] = {
    {"TV", "Power", Coding::PulseDistance, 0x04, 0x08},
    {"TV", "Mute", Coding::PulseDistance, 0x04, 0x09},
    {"TV", "Volume+", Coding::PulseDistance, 0x04, 0x02},
    {"TV", "Volume-", Coding::PulseDistance, 0x04, 0x03},
    {"TV", "Channel+", Coding::PulseDistance, 0x04, 0x00},
    {"TV", "Channel-", Coding::PulseDistance, 0x04, 0x01},
    {"TV", "0", Coding::PulseDistance, 0x04, 0x10},
    {"TV", "1", Coding::PulseDistance, 0x04, 0x11},
    {"TV", "2", Coding::PulseDistance, 0x04, 0x12},
    {"TV", "3", Coding::PulseDistance, 0x04, 0x13},
    {"TV", "4", Coding::PulseDistance, 0x04, 0x14},
    {"TV", "5", Coding::PulseDistance, 0x04, 0x15},
    {"TV", "6", Coding::PulseDistance, 0x04, 0x16},
    {"TV", "7", Coding::PulseDistance, 0x04, 0x17},
    {"TV", "8", Coding::PulseDistance, 0x04, 0x18},
    {"TV", "9", Coding::PulseDistance, 0x04, 0x19},
};

std::string Unpacked() {
    return WindowsPath(ORVIK_DIST_UNPACKED);
}

std::set<std::string> FilesIn(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.insert(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// Key names of the [Code] section of a remote definition file.
std::set<std::string> CodeKeyNames(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::set<std::string> names;
    std::string line;
    bool inCode = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == '[')
            inCode = line == "[Code]";
        else if (inCode && line.find('=') != std::string::npos)
            names.insert(line.substr(line.find('=') + 1));
    }
    return names;
}

} // namespace

TEST(Distribution, HoldsThePluginTheReadmesAndTheExampleRemote) {
    EXPECT_EQ(FilesIn(Unpacked()), (std::set<std::string>{"OrvikPlug.dll", "README-en.txt", "TV.cfg",
                                                          "orvik-decode.exe", "readme.txt"}));
    std::set<std::string> table;
    for (const Button& button : kExampleRemote)
        table.insert(button.key);
    EXPECT_EQ(CodeKeyNames(Unpacked() + "\\TV.cfg"), table) << "every key of the example file is sent below";
}

TEST(Distribution, ExampleRemoteArrivesUnderItsNames) {
    // The user raises the buffer size in the dialog, as the read-me says, for the 67-byte frames.
    const TestSettings settings;
    ScriptText script;
    script.Wait(300);
    for (const Button& button : kExampleRemote)
        script.Hold(button, 1).Wait(400);
    Scenario scenario{Driver::Simulator, {}, {"open:Living room", "start", "wait:8000", "stop", "close"}};
    scenario.installFrom = Unpacked();
    scenario.files = {{"OrvikPlug.ini", SettingsFile(settings)}};
    UseSimScript(scenario, script.Text());
    HostRun run = RunHost(scenario);
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    ExpectBoxes(run, {});
    EXPECT_EQ(KeySequenceFaults(run), std::vector<std::string>{});
    // The host records the about page's ShellExecuteA calls instead of letting a browser start.
    ASSERT_EQ(run.Of("load").size(), 1u);
    EXPECT_EQ(run.Of("load")[0]->Number("shellhook"), 1);

    std::vector<std::string> expected;
    for (const Button& button : kExampleRemote)
        expected.insert(expected.end(),
                        {"press " + std::string(button.key), "release " + std::string(button.key)});
    const std::vector<KeyEvent> events = KeyEvents(run);
    EXPECT_EQ(PressesAndReleases(events), expected);
    for (const KeyEvent& e : events) {
        EXPECT_EQ(e.remote, "TV") << e.key;
        for (const Button& button : kExampleRemote) {
            if (e.key == button.key) {
                EXPECT_EQ(e.code, CodeTextOf(CodeOf(button))) << e.key;
            }
        }
    }
}

// The plug-in as Windows XP loads it. XP neither sets up static thread-local data nor runs the TLS
// callbacks of a DLL that LoadLibrary loads; Wine does both, whatever Windows version it reports.
// So the test takes them away: a copy of the plug-in whose TLS directory the loader cannot see
// goes through a whole session (receiving, Setup, Stop, Close) and must behave as the real one.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/wine/key_events_win32.h"
#include "tests/wine/remote_scripts.h"
#include "tests/wine/scenario_checks_win32.h"
#include "tests/wine/test_folder_win32.h"
#include "tests/wine/test_paths_win32.h"

namespace {

uint32_t Read32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

// The image with its TLS data directory (entry 9 of a PE32 optional header) emptied, or "" when
// the bytes are not such an image.
std::string WithoutTlsDirectory(std::string image) {
    constexpr size_t kMagicAt = 24, kDirectoryCountAt = 24 + 92, kTlsEntryAt = 24 + 96 + 9 * 8;
    if (image.size() < 0x40 || image.compare(0, 2, "MZ") != 0)
        return "";
    const size_t pe = Read32(image, 0x3C);
    if (pe > image.size() || image.size() - pe < kTlsEntryAt + 8 ||
        image.compare(pe, 4, std::string("PE\0\0", 4)) != 0 ||
        static_cast<uint8_t>(image[pe + kMagicAt]) != 0x0B || Read32(image, pe + kDirectoryCountAt) <= 9)
        return "";
    if (Read32(image, pe + kTlsEntryAt) == 0)
        return ""; // nothing to take away: the test would prove nothing
    std::fill_n(image.begin() + static_cast<std::ptrdiff_t>(pe + kTlsEntryAt), 8, '\0');
    return image;
}

} // namespace

TEST(AsWindowsXpLoadsIt, ThePluginWorksWithoutItsTlsCallbacks) {
    std::ifstream in(Paths().plugin, std::ios::binary);
    const std::string patched = WithoutTlsDirectory(std::string(std::istreambuf_iterator<char>(in), {}));
    ASSERT_FALSE(patched.empty()) << Paths().plugin << " is no PE32 image with a TLS directory";
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    const std::string folder = std::string(temp) + "orvik-xp-loader-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(folder + "\\OrvikPlug.dll", patched));

    const TestSettings settings;
    ScriptText script;
    script.Wait(300).Hold(kTvPower, 3).Wait(400).Hold(kAmpPlay, 3).Wait(400);
    Scenario scenario{
        Driver::Simulator,
        {},
        {"open:Living room", "start", "wait:2500", "setup:300", "stop", "start", "stop", "close"},
        RemoteFiles(settings)};
    scenario.installFrom = folder;
    UseSimScript(scenario, script.Text());
    HostRun run = RunHost(scenario);
    RemoveFolder(folder);
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    ExpectBoxes(run, {});
    EXPECT_EQ(KeySequenceFaults(run), std::vector<std::string>{});
    EXPECT_EQ(PressesAndReleases(KeyEvents(run)),
              (std::vector<std::string>{"press Power", "release Power", "press Play", "release Play"}));
}

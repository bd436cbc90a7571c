#include "config/file_system_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "config/configuration.h"
#include "config/remote_files.h"
#include "config/settings_file.h"
#include "support/file_system_contract.h"
#include "support/key_table_fixture.h"
#include "support/temp_folder.h"

namespace {

struct Win32Traits {
    static FileSystem& Get() { return Win32FileSystem(); }
    static constexpr bool kIgnoresCase = true;
    static constexpr bool kAnsiNames = true;
};

// A module folder as Windows writes it: backslashes only.
std::string WindowsFolder(const TempFolder& temp) {
    std::string folder = temp.Path();
    std::replace(folder.begin(), folder.end(), '/', '\\');
    return folder;
}

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FileSystemContract, Win32Traits);

TEST(Win32Configuration, SavedKeysAndSettingsLoadAgain) {
    TempFolder temp;
    const std::string folder = WindowsFolder(temp);
    const std::string module = folder + "OrvikPlug.dll";
    WriteWholeFile(temp.Path() + "living_room.cfg", "[Main]\r\nName=living room\r\n[Notes]\r\nKept=1\r\n");
    const std::vector<KeyListRow> rows = {
        {"Power", "Living room", "0220000020DF10EF", ""},
        {"\xC3\xF0\xEE\xEC\xF7\xE5", "\xCF\xF3\xEB\xFC\xF2 1", "0000000000000001", "110001000201"},
        {"Mute", "a/b:c", "0000000000000002", ""},
    };
    SettingsValues values;
    values.Wait1 = 650;
    std::vector<SaveProblem> failed;
    RemoteFilesRead shown;
    ASSERT_TRUE(SaveConfiguration(Win32FileSystem(), module, values, "Living room", &rows, shown, &failed))
        << (failed.empty() ? "" : failed.front().path);

    // "Living room" and "living room" name one file here; its other sections stay.
    std::vector<std::string> files = ListRemoteFiles(Win32FileSystem(), folder);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files,
              (std::vector<std::string>{"a_b_c.cfg", "living_room.cfg", "\xCF\xF3\xEB\xFC\xF2_1.cfg"}));
    EXPECT_NE(ReadWholeFile(temp.Path() + "living_room.cfg").find("[Notes]\r\nKept=1\r\n"),
              std::string::npos);

    const SettingsValues saved = Settings.Snapshot();
    ScopedKeyTable t;
    LoadConfiguration(Win32FileSystem(), module);
    EXPECT_EQ(Settings.Wait1.load(), 650);
    Settings.Assign(saved);
    EXPECT_EQ(t.codes.Count(), 3);
    const int32_t power = FindCodeEntry("0220000020df10ef");
    EXPECT_EQ(RemoteNameAt(power), "Living room");
    const int32_t learned = FindCodeEntry("0000000000000001");
    EXPECT_EQ(KeyNameAt(learned), "\xC3\xF0\xEE\xEC\xF7\xE5");
    EXPECT_EQ(RemoteNameAt(learned), "\xCF\xF3\xEB\xFC\xF2 1");
    EXPECT_EQ(CodeOfRawEntry(FindRawEntry("110009000901")), 1u);
}

// A rewritten file keeps its identity: a hidden remote file stays hidden.
TEST(Win32FileSystem, ReplacingAFileKeepsItsAttributes) {
    TempFolder temp;
    const std::string hidden = WindowsFolder(temp) + "hidden.cfg";
    WriteWholeFile(temp.Path() + "hidden.cfg", "[Main]\r\nName=Old\r\n");
    ASSERT_TRUE(SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_NE(GetFileAttributesA(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u)
        << "hidden files unsupported here";

    const std::string text = "[Main]\r\nName=New\r\n";
    ASSERT_TRUE(Win32FileSystem().WriteFile(hidden, text));
    EXPECT_NE(GetFileAttributesA(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(ReadWholeFile(temp.Path() + "hidden.cfg"), text);
    // A new file is put in place as before.
    ASSERT_TRUE(Win32FileSystem().WriteFile(WindowsFolder(temp) + "new.cfg", text));
    EXPECT_EQ(ReadWholeFile(temp.Path() + "new.cfg"), text);
}

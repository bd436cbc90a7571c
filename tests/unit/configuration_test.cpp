#include "config/configuration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "config/module_paths.h"
#include "config/settings_file.h"
#include "support/key_table_fixture.h"
#include "support/memory_file_system.h"
#include "support/settings_values.h"
#include "support/temp_folder.h"

namespace {

// Puts the live settings back after each test.
class Configuration : public ::testing::Test {
  protected:
    void SetUp() override { saved_ = Settings.Snapshot(); }
    void TearDown() override { Settings.Assign(saved_); }

  private:
    SettingsValues saved_;
};

const std::vector<KeyListRow> kRows = {
    {"Power", "TV", "0220000020DF10EF", ""},
    {"Mute", "TV", "0000000000000001", "110001000201"},
    {"Seek", "Radio", "0000000000000002", "110001000202"},
};

} // namespace

TEST_F(Configuration, AnEmptyFolderGivesStartSettingsAndAnEmptyTable) {
    TempFolder temp;
    ScopedKeyTable t;
    t.names.Add("stale");
    t.codes.Add("0000000000000001=stale", 0);
    t.raws.Add("11", 0);
    Settings.Assign(SettingsValues{});
    LoadConfiguration(StdFileSystem(), temp.Path() + "OrvikPlug.dll");
    SettingsValues expected;
    expected.PollInterval = 50; // PollFreq 20
    EXPECT_EQ(Describe(Settings.Snapshot()), Describe(expected));
    EXPECT_EQ(DumpKeyTable(t.names, t.codes, t.raws), "");
}

// Memory runs out while a remote file is read: the load leaves an empty table, not half of one,
// and nothing to save against; the settings read before it stay.
TEST_F(Configuration, ALoadThatRunsOutOfMemoryLeavesAnEmptyTable) {
    MemoryFileSystem fs;
    fs.Put("/m/OrvikPlug.ini", "[Main]\nWait1=700\n");
    fs.Put("/m/a.cfg", "[Main]\nName=A\n[Raw]\nKey1=One\nRaw1=1100AA\n");
    fs.Put("/m/b.cfg", "[Main]\nName=B\n");
    fs.ExhaustMemoryReading("/m/b.cfg");
    ScopedKeyTable t;
    EXPECT_FALSE(LoadConfiguration(fs, "/m/OrvikPlug.dll"));
    EXPECT_EQ(Settings.Wait1.load(), 700);
    EXPECT_EQ(DumpKeyTable(t.names, t.codes, t.raws), "");
    RemoteFilesRead shown = LoadedRemoteFiles();
    const std::vector<KeyListRow> rows = {{"One", "A", "", "1100AA"}};
    fs.ExhaustMemoryReading("");
    ASSERT_TRUE(SaveConfiguration(fs, "/m/OrvikPlug.dll", UnusualSettings(), "A", &rows, shown));
    EXPECT_EQ(fs.Get("/m/b.cfg"), "[Main]\nName=B\n");
}

TEST_F(Configuration, WithoutListsOnlyTheSettingsAreRead) {
    MemoryFileSystem fs;
    fs.Put("/m/OrvikPlug.ini", "[Main]\nWait1=700\n");
    fs.Put("/m/tv.cfg", "[Main]\nName=TV\n");
    StringList* saved[] = {RemoteNames, CodeTable, RawTable};
    RemoteNames = CodeTable = RawTable = nullptr;
    LoadConfiguration(fs, "/m/OrvikPlug.dll");
    EXPECT_EQ(Settings.Wait1.load(), 700);
    EXPECT_EQ(RemoteNames, nullptr);
    RemoteNames = saved[0], CodeTable = saved[1], RawTable = saved[2];
}

TEST_F(Configuration, WhatIsSavedIsWhatTheNextLoadReads) {
    TempFolder temp;
    const std::string module = temp.Path() + "OrvikPlug.dll";
    WriteWholeFile(temp.Path() + "OrvikPlug.ini", "[Hosts]\nLast=Tarnex\n");
    std::vector<SaveProblem> failed = {{"stale", SaveProblem::Kind::Lost}};
    RemoteFilesRead shown;
    ASSERT_TRUE(
        SaveConfiguration(StdFileSystem(), module, UnusualSettings(), "Radio", &kRows, shown, &failed));
    EXPECT_TRUE(failed.empty());

    ScopedKeyTable t;
    Settings.Assign(SettingsValues{});
    LoadConfiguration(StdFileSystem(), module);
    EXPECT_EQ(Describe(Settings.Snapshot()), Describe(UnusualSettings()));
    EXPECT_EQ(ReadLastRemoteControl(StdFileSystem(), module, "<undefined>"), "Radio");
    EXPECT_NE(ReadWholeFile(temp.Path() + "OrvikPlug.ini").find("[Hosts]\r\nLast=Tarnex\r\n"),
              std::string::npos);
    const std::vector<KeyListRow> rows = ListKeyTable();
    ASSERT_EQ(rows.size(), kRows.size());
    // Files load in the folder's order; compare as a set.
    for (const KeyListRow& row : kRows) {
        const auto same = [&](const KeyListRow& r) {
            return r.keyName == row.keyName && r.remoteName == row.remoteName && r.codeText == row.codeText &&
                   r.rawText == row.rawText;
        };
        EXPECT_EQ(std::count_if(rows.begin(), rows.end(), same), 1) << row.keyName;
    }
}

TEST_F(Configuration, ASettingsFileThatCannotBeWrittenDoesNotStopTheKeyList) {
    MemoryFileSystem fs;
    fs.Put("/m/OrvikPlug.ini", "[Main]\nWait1=700\n");
    fs.FailWritesOf("/m/OrvikPlug.ini");
    std::vector<SaveProblem> failed;
    RemoteFilesRead shown;
    EXPECT_FALSE(SaveConfiguration(fs, "/m/OrvikPlug.dll", UnusualSettings(), "TV", &kRows, shown, &failed));
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].path, "/m/OrvikPlug.ini");
    EXPECT_EQ(failed[0].kind, SaveProblem::Kind::NotWritten);
    EXPECT_EQ(fs.Get("/m/OrvikPlug.ini"), "[Main]\nWait1=700\n");
    EXPECT_TRUE(fs.Has("/m/TV.cfg"));
    EXPECT_TRUE(fs.Has("/m/Radio.cfg"));
}

TEST_F(Configuration, WithoutAModuleFolderNoFileIsReadOrWritten) {
    for (const char* module : {"", "OrvikPlug.dll"}) {
        MemoryFileSystem fs; // relative names stand for the host's current folder
        fs.Put("OrvikPlug.ini", "[Main]\nWait1=700\nLastRemoteControl=TV\n[Receiver]\nMode=2\n");
        fs.Put("tv.cfg", "[Main]\nName=TV\n[Code]\n0220000020DF10EF=Power\n");
        ScopedKeyTable t;
        t.names.Add("stale");
        Settings.Assign(UnusualSettings());
        LoadConfiguration(fs, module);
        SettingsValues expected = UnusualSettings(); // as from a missing file
        expected.Mode = 0;
        expected.PollInterval = 50;
        EXPECT_EQ(Describe(Settings.Snapshot()), Describe(expected)) << module;
        EXPECT_EQ(t.names.Count(), 0) << module;
        EXPECT_EQ(ReadLastRemoteControl(fs, module, "<undefined>"), "<undefined>") << module;
        std::vector<SaveProblem> failed = {{"stale", SaveProblem::Kind::Lost}};
        RemoteFilesRead shown;
        EXPECT_TRUE(SaveConfiguration(fs, module, UnusualSettings(), "TV", &kRows, shown, &failed)) << module;
        EXPECT_TRUE(failed.empty()) << module;
        EXPECT_EQ(fs.WriteCount(), 0) << module;
    }
}

// Only files that the last load read, and that still hold what it read, lose keys the dialog's
// list no longer has; files that receive keys are written as before.
TEST_F(Configuration, SavingLeavesFilesTheLastLoadDidNotReadAsTheyAre) {
    MemoryFileSystem fs;
    const std::string locked = "[Main]\nName=Locked\n[Code]\n0000000000000005=Five\n";
    const std::string edited = "[Main]\nName=Edited\n[Code]\n0000000000000006=Six\n0000000000000007=New\n";
    const std::string copied = "[Main]\nName=Copied\n[Code]\n0000000000000008=Eight\n";
    fs.Put("/m/TV.cfg", "[Main]\nName=TV\n[Code]\n0220000020DF10EF=Power\n0000000000000009=Gone\n");
    fs.Put("/m/old.cfg", "[Main]\nName=Old\n[Code]\n0000000000000004=Four\n");
    fs.Put("/m/locked.cfg", locked);
    fs.Put("/m/edited.cfg", "[Main]\nName=Edited\n[Code]\n0000000000000006=Six\n");
    fs.Put("/m/ends.cfg", "[Main]\r\nName=Ends\r\n[Code]\r\n0000000000000003=Three\r\n");
    fs.Put("/m/renamed.cfg",
           "[Main]\nName=Renamed\n[Code]\n0000000000000010=Ten\n[Raw]\nKey1=Ten\nRaw1=11AA\n");
    fs.FailReadsOf("/m/locked.cfg"); // held by a scanner during the load
    ScopedKeyTable t;
    LoadConfiguration(fs, "/m/OrvikPlug.dll");
    fs.ReadsWorkAgain("/m/locked.cfg");
    fs.Put("/m/edited.cfg", edited); // by hand, after the load
    // Keys renamed by hand: only values differ from what the load read.
    const std::string renamed =
        "[Main]\nName=Renamed\n[Code]\n0000000000000010=Zehn\n[Raw]\nKey1=Zehn\nRaw1=11AA\n";
    fs.Put("/m/renamed.cfg", renamed);
    fs.Put("/m/copied.cfg", copied);
    // An editor rewrote the line ends and a comment, and changed no key.
    fs.Put("/m/ends.cfg", "; saved by an editor\n[Main]\nName=Ends\n[Code]\n0000000000000003 = Three\n");
    // The user deleted Gone, and every key of Old, of Edited, of Ends and of Renamed.
    RemoteFilesRead shown = LoadedRemoteFiles();
    const std::vector<KeyListRow> rows = {{"Power", "TV", "0220000020DF10EF", ""}};
    ASSERT_TRUE(SaveConfiguration(fs, "/m/OrvikPlug.dll", UnusualSettings(), "TV", &rows, shown));
    EXPECT_EQ(fs.Get("/m/TV.cfg"), "[Main]\r\nName=TV\r\n[Code]\r\n0220000020DF10EF=Power\r\n");
    EXPECT_EQ(fs.Get("/m/old.cfg"), "[Main]\r\nName=Old\r\n");
    EXPECT_EQ(fs.Get("/m/locked.cfg"), locked);
    EXPECT_EQ(fs.Get("/m/edited.cfg"), edited);
    EXPECT_EQ(fs.Get("/m/renamed.cfg"), renamed);
    EXPECT_EQ(fs.Get("/m/copied.cfg"), copied);
    EXPECT_EQ(fs.Get("/m/ends.cfg"), "; saved by an editor\r\n[Main]\r\nName=Ends\r\n");
}

// A file that receives keys but whose own keys the dialog never listed keeps them beside the new
// ones: nothing the user could not see is lost.
TEST_F(Configuration, AFileTheLastLoadDidNotReadKeepsItsKeysWhenItReceivesNewOnes) {
    MemoryFileSystem fs;
    fs.Put("/m/Locked.cfg", "[Main]\nName=Locked\n[Code]\n0000000000000005=Five\n");
    fs.Put("/m/Edited.cfg", "[Main]\nName=Edited\n[Code]\n0000000000000006=Six\n");
    fs.FailReadsOf("/m/Locked.cfg");
    ScopedKeyTable t;
    LoadConfiguration(fs, "/m/OrvikPlug.dll");
    fs.ReadsWorkAgain("/m/Locked.cfg");
    fs.Put("/m/Edited.cfg", "[Main]\nName=Edited\n[Code]\n0000000000000006=Six\n0000000000000007=New\n"
                            "[Raw]\nKey1=Hand\nRaw1=1100AA\n");
    fs.Put("/m/Copied.cfg", "[Main]\nName=Copied\n[Raw]\nKey1=Old\nRaw1=1100BB\n");
    RemoteFilesRead shown = LoadedRemoteFiles();
    const std::vector<KeyListRow> rows = {{"Sechs", "Edited", "0000000000000006", ""},
                                          {"Hand", "Edited", "", "1100AA"},
                                          {"Ten", "Copied", "000000000000000A", "1100CC"},
                                          {"Eleven", "Locked", "", "1100DD"}};
    ASSERT_TRUE(SaveConfiguration(fs, "/m/OrvikPlug.dll", UnusualSettings(), "TV", &rows, shown));
    EXPECT_EQ(fs.Get("/m/Edited.cfg"), "[Main]\r\nName=Edited\r\n[Code]\r\n0000000000000006=Sechs\r\n"
                                       "0000000000000007=New\r\n[Raw]\r\nKey1=Hand\r\nRaw1=1100AA\r\n");
    EXPECT_EQ(fs.Get("/m/Copied.cfg"), "[Main]\r\nName=Copied\r\n[Raw]\r\nKey1=Old\r\nRaw1=1100BB\r\n"
                                       "Key2=Ten\r\nRaw2=1100CC\r\n[Code]\r\n000000000000000A=Ten\r\n");
    EXPECT_EQ(fs.Get("/m/Locked.cfg"), "[Main]\r\nName=Locked\r\n[Code]\r\n0000000000000005=Five\r\n"
                                       "[Raw]\r\nKey1=Eleven\r\nRaw1=1100DD\r\n");
}

// The dialog may save twice before the next load: a file written by the first save counts as
// read, so keys removed in between leave it.
TEST_F(Configuration, AFileWrittenByASaveCountsAsReadForTheNextSave) {
    MemoryFileSystem fs;
    ScopedKeyTable t;
    LoadConfiguration(fs, "/m/OrvikPlug.dll");
    RemoteFilesRead shown = LoadedRemoteFiles();
    const std::vector<KeyListRow> first = {kRows[0]};
    ASSERT_TRUE(SaveConfiguration(fs, "/m/OrvikPlug.dll", UnusualSettings(), "TV", &kRows, shown));
    ASSERT_TRUE(SaveConfiguration(fs, "/m/OrvikPlug.dll", UnusualSettings(), "TV", &first, shown));
    EXPECT_EQ(fs.Get("/m/TV.cfg"), "[Main]\r\nName=TV\r\n[Code]\r\n0220000020DF10EF=Power\r\n");
    EXPECT_EQ(fs.Get("/m/Radio.cfg"), "[Main]\r\nName=Radio\r\n");
}

// A dialog saves against the files its own list was filled from. After Close nothing was (Setup
// after Close shows an empty list), and a load while it is open (a nested Open) does not change
// that: no file loses keys it never showed.
TEST_F(Configuration, SavingComparesWithTheFilesTheDialogShowed) {
    const std::string tv = "[Main]\nName=TV\n[Code]\n0220000020DF10EF=Power\n";
    const std::string radio = "[Main]\nName=Radio\n[Code]\n0000000000000002=Seek\n";
    const std::vector<KeyListRow> added = {{"Mute", "TV", "0000000000000001", ""}};
    for (bool nestedOpen : {false, true}) {
        MemoryFileSystem fs;
        fs.Put("/m/TV.cfg", tv);
        fs.Put("/m/Radio.cfg", radio);
        {
            ScopedKeyTable t;
            LoadConfiguration(fs, "/m/OrvikPlug.dll");
        }
        ForgetLoadedRemoteFiles(); // Close
        RemoteFilesRead shown = LoadedRemoteFiles();
        if (nestedOpen) {
            ScopedKeyTable t;
            LoadConfiguration(fs, "/m/OrvikPlug.dll");
        }
        ASSERT_TRUE(SaveConfiguration(fs, "/m/OrvikPlug.dll", UnusualSettings(), "TV", &added, shown));
        EXPECT_EQ(fs.Get("/m/Radio.cfg"), radio) << nestedOpen;
        EXPECT_EQ(fs.Get("/m/TV.cfg"), "[Main]\r\nName=TV\r\n[Code]\r\n0220000020DF10EF=Power\r\n"
                                       "0000000000000001=Mute\r\n")
            << nestedOpen;
    }
}

// A replacement that failed half-way left content only in rescue copies: the load names the missing
// files, and no save writes over a rescue copy, of a missing file or of one that is there.
TEST_F(Configuration, RescueCopiesAreFoundAtLoadAndNeverOverwritten) {
    MemoryFileSystem fs;
    const std::string copies[] = {"/m/OrvikPlug.ini.tmp~", "/m/Radio.cfg.tmp~", "/m/TV.cfg.tmp~"};
    for (const std::string& copy : copies)
        fs.Put(copy, "[Main]\nName=" + copy + "\n");
    fs.Put("/m/Radio.cfg", "[Main]\nName=Radio\n");
    ScopedKeyTable t;
    LoadConfiguration(fs, "/m/OrvikPlug.dll");
    EXPECT_EQ(FilesOnlyInRescueCopies(), (std::vector<std::string>{"/m/OrvikPlug.ini", "/m/TV.cfg"}));
    RemoteFilesRead shown = LoadedRemoteFiles();
    std::vector<SaveProblem> failed;
    EXPECT_FALSE(SaveConfiguration(fs, "/m/OrvikPlug.dll", UnusualSettings(), "TV", &kRows, shown, &failed));
    ASSERT_EQ(failed.size(), 3u);
    for (size_t i = 0; i < failed.size(); ++i) {
        EXPECT_EQ(TemporaryPathFor(failed[i].path), copies[i]);
        EXPECT_EQ(failed[i].kind, SaveProblem::Kind::RescueCopyExists);
        EXPECT_EQ(fs.Get(copies[i]), "[Main]\nName=" + copies[i] + "\n");
    }
}

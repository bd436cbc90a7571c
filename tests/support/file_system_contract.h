#pragma once
// What every FileSystem implementation must do, as a typed test suite. An implementation's test
// instantiates it with a traits type:
//   struct Traits { static FileSystem& Get(); static constexpr bool kIgnoresCase, kAnsiNames; };
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "config/file_system.h"
#include "support/temp_folder.h"

template <typename Traits> class FileSystemContract : public ::testing::Test {
  protected:
    FileSystem& fs = Traits::Get();
    TempFolder temp;
    std::string Path(const std::string& name) const { return temp.Path() + name; }
};

TYPED_TEST_SUITE_P(FileSystemContract);

TYPED_TEST_P(FileSystemContract, WritesAndReadsWholeFilesByteForByte) {
    const std::string contents[] = {std::string("[Main]\r\nName=TV\r\n"),
                                    std::string("\0\r\n\xFF\x80 x\n", 8), std::string(),
                                    std::string(kMaxConfigFileBytes, 'R')}; // the largest read
    const std::string path = this->Path("remote.cfg");
    for (const std::string& text : contents) {
        ASSERT_TRUE(this->fs.WriteFile(path, text));
        std::string read = "stale";
        ASSERT_EQ(this->fs.ReadFile(path, &read), ReadResult::Ok);
        EXPECT_EQ(read, text);
        EXPECT_FALSE(this->fs.Exists(TemporaryPathFor(path))) << "temporary file left behind";
    }
}

TYPED_TEST_P(FileSystemContract, TellsMissingFromUnreadable) {
    std::string read = "stale";
    EXPECT_EQ(this->fs.ReadFile(this->Path("absent.cfg"), &read), ReadResult::Missing);
    EXPECT_EQ(read, "");
    EXPECT_FALSE(this->fs.Exists(this->Path("absent.cfg")));

    std::filesystem::create_directory(this->Path("x.cfg"));
    EXPECT_TRUE(this->fs.Exists(this->Path("x.cfg")));
    EXPECT_EQ(this->fs.ReadFile(this->Path("x.cfg"), &read), ReadResult::Failed);

    WriteWholeFile(this->Path("large.cfg"), std::string(kMaxConfigFileBytes + 1, 'L'));
    EXPECT_EQ(this->fs.ReadFile(this->Path("large.cfg"), &read), ReadResult::Failed);
    EXPECT_EQ(read, "");
}

TYPED_TEST_P(FileSystemContract, AFailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    // Beside a rescue copy (which stays), onto a directory, into a missing folder, over a read-only file.
    const std::string rescued = this->Path("rescued.cfg");
    WriteWholeFile(rescued, "old");
    WriteWholeFile(TemporaryPathFor(rescued), "saved before");
    EXPECT_FALSE(this->fs.WriteFile(rescued, "new"));
    EXPECT_EQ(ReadWholeFile(rescued), "old");
    EXPECT_EQ(ReadWholeFile(TemporaryPathFor(rescued)), "saved before");

    std::filesystem::create_directory(this->Path("x.cfg"));
    EXPECT_FALSE(this->fs.WriteFile(this->Path("x.cfg"), "[Main]\r\n"));
    EXPECT_TRUE(std::filesystem::is_directory(this->Path("x.cfg")));

    EXPECT_FALSE(this->fs.WriteFile(this->Path("absent/tv.cfg"), "[Main]\r\n"));
    EXPECT_FALSE(this->fs.Exists(this->Path("absent")));

    const std::string locked = this->Path("locked.cfg");
    WriteWholeFile(locked, "old");
    std::filesystem::permissions(locked,
                                 std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_FALSE(this->fs.WriteFile(locked, "new"));
    EXPECT_EQ(ReadWholeFile(locked), "old");
    EXPECT_FALSE(this->fs.Exists(TemporaryPathFor(locked)));
}

TYPED_TEST_P(FileSystemContract, ListsMatchingNamesAndDirectories) {
    for (const char* name : {"a.cfg", "B.CFG", ".hidden.cfg", "notes.txt", "cfg"})
        WriteWholeFile(this->Path(name), "x");
    std::filesystem::create_directory(this->Path("dir.cfg"));
    std::vector<std::string> names = this->fs.ListFolder(this->temp.Path(), "*.cfg");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".hidden.cfg", "B.CFG", "a.cfg", "dir.cfg"}));
    EXPECT_TRUE(this->fs.ListFolder(this->Path("absent/"), "*.cfg").empty());
}

TYPED_TEST_P(FileSystemContract, KeepsAnsiFileNameBytes) {
    if (!TypeParam::kAnsiNames)
        GTEST_SKIP() << "this implementation passes names through a wide conversion";
    const std::string name = "\xCF\xF3\xEB\xFC\xF2.cfg";
    ASSERT_TRUE(this->fs.WriteFile(this->Path(name), "[Main]\r\n"));
    EXPECT_EQ(this->fs.ListFolder(this->temp.Path(), "*.cfg"), std::vector<std::string>{name});
    std::string read;
    EXPECT_EQ(this->fs.ReadFile(this->Path(name), &read), ReadResult::Ok);
    EXPECT_EQ(read, "[Main]\r\n");
}

TYPED_TEST_P(FileSystemContract, IdentityFollowsTheSystemsLetterCase) {
    const bool same = this->fs.IdentityOf(this->Path("Living_room.cfg")) ==
                      this->fs.IdentityOf(this->Path("LIVING_ROOM.CFG"));
    EXPECT_EQ(same, TypeParam::kIgnoresCase);
    EXPECT_NE(this->fs.IdentityOf(this->Path("a.cfg")), this->fs.IdentityOf(this->Path("b.cfg")));
}

REGISTER_TYPED_TEST_SUITE_P(FileSystemContract, WritesAndReadsWholeFilesByteForByte,
                            TellsMissingFromUnreadable, AFailedWriteKeepsTheOldFileAndLeavesNoTemporary,
                            ListsMatchingNamesAndDirectories, KeepsAnsiFileNameBytes,
                            IdentityFollowsTheSystemsLetterCase);

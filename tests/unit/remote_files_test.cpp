#include "config/remote_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/config_data.h"
#include "support/key_table_fixture.h"
#include "support/memory_file_system.h"
#include "support/temp_folder.h"

namespace {

const std::string kFolder = "/m/";

struct Table {
    StringList names, codes, raws;
    std::string Dump() const { return DumpKeyTable(names, codes, raws); }
};

Table Load(FileSystem& fs, const std::string& folder = kFolder) {
    Table t;
    ReadRemoteFiles(fs, folder, t.names, t.codes, t.raws);
    return t;
}

// The dialog's rows for a table, as ListKeyTable gives them.
std::vector<KeyListRow> RowsOf(Table& t) {
    ScopedKeyTable scope;
    scope.names = t.names;
    scope.codes = t.codes;
    scope.raws = t.raws;
    return ListKeyTable();
}

} // namespace

TEST(RemoteFileName, ReplacesWhatAFileNameCannotHold) {
    struct Case {
        const char* remote;
        const char* file;
    } cases[] = {
        {"TV Set 2.0", "TV_Set_2_0.cfg"},
        {"<Unknown>", "_Unknown_.cfg"},
        {"a,b;c", "a_b_c.cfg"},
        {"A B", "A_B.cfg"},
        {"A_B", "A_B.cfg"},
        {"", "_.cfg"},
        {" ", "_.cfg"},
        {"..\\..\\Windows\\evil", "______Windows_evil.cfg"},
        {"../etc/passwd", "___etc_passwd.cfg"},
        {"C:*?\"|x", "C_____x.cfg"},
        {"tab\there\x7F", "tab_here\x7F.cfg"},
        {"\xCF\xF3\xEB\xFC\xF2", "\xCF\xF3\xEB\xFC\xF2.cfg"}, // ANSI letters untouched
        {"CON", "CON_.cfg"},
        {"nul", "nul_.cfg"},
        {"Com7", "Com7_.cfg"},
        {"LPT1", "LPT1_.cfg"},
        {"COM0", "COM0.cfg"},
        {"CONSOLE", "CONSOLE.cfg"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RemoteFileName(kFolder, c.remote), kFolder + c.file) << c.remote;
}

// Code page 932 as Windows reads it: lead bytes 81-9F and E0-FC. 表 is 95 5C, 申 is 90 5C.
bool IsShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

TEST(RemoteFileName, KeepsTheSecondByteOfDoubleByteCharacters) {
    const struct {
        const char* remote;
        const char* file;
        const char* singleByteFile; // without a lead-byte test
    } cases[] = {
        {"\x95\x5C\x8E\xA6", "\x95\x5C\x8E\xA6.cfg", "\x95_\x8E\xA6.cfg"},
        {"\x90\x5C|\x95\x7C", "\x90\x5C_\x95\x7C.cfg", "\x90__\x95_.cfg"},
        {"a\\b\x95", "a_b\x95.cfg", "a_b\x95.cfg"}, // a lead byte at the end has no second byte
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RemoteFileName(kFolder, c.remote, IsShiftJisLeadByte), kFolder + c.file) << c.remote;
        EXPECT_EQ(RemoteFileName(kFolder, c.remote), kFolder + c.singleByteFile) << c.remote;
    }
    MemoryFileSystem fs;
    fs.leadBytes = IsShiftJisLeadByte;
    EXPECT_TRUE(WriteKeyList(fs, kFolder, {{"Power", "\x95\x5C", "0000000000000001", ""}}));
    EXPECT_TRUE(fs.Has(kFolder + "\x95\x5C.cfg"));
}

// Each data folder is a module folder with its expected key table, before and after a save.
TEST(RemoteFiles, DataFoldersLoadAndSaveAsExpected) {
    const std::filesystem::path root = std::filesystem::path(ConfigDataDir()) / "remotes";
    ASSERT_TRUE(std::filesystem::is_directory(root)) << root;
    int cases = 0;
    for (const auto& entry : std::filesystem::directory_iterator(root)) {
        if (!entry.is_directory())
            continue;
        ++cases;
        const std::string name = entry.path().filename().string();
        MemoryFileSystem fs;
        LoadDataFolder(entry.path().string(), fs, kFolder);
        const std::string expected = ReadWholeFile((entry.path() / "expected.txt").string());
        Table first = Load(fs);
        EXPECT_EQ(first.Dump(), expected) << name;

        const std::filesystem::path savedFile = entry.path() / "saved.txt";
        const std::string saved =
            std::filesystem::exists(savedFile) ? ReadWholeFile(savedFile.string()) : expected;
        EXPECT_TRUE(WriteKeyList(fs, kFolder, RowsOf(first))) << name;
        EXPECT_EQ(Load(fs).Dump(), saved) << name;
    }
    EXPECT_GE(cases, 10);
}

TEST(RemoteFiles, AMissingFolderGivesAnEmptyTable) {
    TempFolder temp;
    const std::string missing = temp.Path() + "absent/";
    Table t = Load(StdFileSystem(), missing);
    EXPECT_EQ(t.Dump(), "");
    EXPECT_FALSE(WriteKeyList(StdFileSystem(), missing, {{"Power", "TV", "0220000020DF10EF", ""}}));
}

TEST(RemoteFiles, ATenMegabyteLineDoesNotStopTheFile) {
    MemoryFileSystem fs;
    const std::string pattern = "11" + std::string(10u << 20, 'a');
    fs.Put(kFolder + "big.cfg", "[Main]\r\nName=Big\r\n" + std::string(10u << 20, '#') +
                                    "\r\n[Raw]\r\n"
                                    "Key1=Huge\r\nRaw1=" +
                                    pattern + "\r\nJunk" + std::string(10u << 20, 'x') +
                                    "\r\n[Code]\r\n0000000000000007=Seven\r\n");
    Table t = Load(fs);
    ASSERT_EQ(t.names.Count(), 1);
    EXPECT_EQ(t.names[0].text, "Big");
    ASSERT_EQ(t.raws.Count(), 1);
    EXPECT_EQ(t.raws[0].text.size(), pattern.size());
    EXPECT_EQ(t.raws[0].text.find('a'), std::string::npos); // upper-cased
    ASSERT_EQ(t.codes.Count(), 2);
    EXPECT_EQ(t.codes[0].text, "0000000000000007=Seven");
    EXPECT_EQ(t.codes[1].text, "0000000000000001=Huge");
}

TEST(RemoteFiles, UnreadableFilesAreUnknownRemotesAndAreNeverReplaced) {
    MemoryFileSystem fs;
    const std::string locked = kFolder + "locked.cfg";
    const std::string old = "[Main]\nName=Locked\n[Code]\n0000000000000001=One\n";
    fs.Put(locked, old);
    fs.FailReadsOf(locked);
    EXPECT_EQ(Load(fs).Dump(), "remote 0: <Unknown>\n");
    // Its keys cannot be known, so nothing may overwrite it, not even rows of its own remote.
    std::vector<SaveProblem> failed;
    EXPECT_FALSE(WriteKeyList(fs, kFolder, {{"Two", "locked", "0000000000000002", ""}}, &failed));
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].path, locked);
    EXPECT_EQ(failed[0].kind, SaveProblem::Kind::NotWritten);
    EXPECT_EQ(fs.Get(locked), old);
}

TEST(RemoteFiles, OnlyNamesReallyEndingInCfgAreRemoteFiles) {
    // Windows lists "x.cfg~" for "*.cfg" through its short name; a listing that does so is
    // simulated by a pattern-blind folder.
    class ListsEverything final : public FileSystem {
      public:
        MemoryFileSystem inner;
        ReadResult ReadFile(const std::string& p, std::string* c) override { return inner.ReadFile(p, c); }
        bool WriteFile(const std::string& p, std::string_view c) override { return inner.WriteFile(p, c); }
        std::vector<std::string> ListFolder(const std::string& f, const std::string&) override {
            return inner.ListFolder(f, "*");
        }
        bool Exists(const std::string& p) override { return inner.Exists(p); }
        std::string IdentityOf(const std::string& p) override { return inner.IdentityOf(p); }
    } fs;
    fs.inner.Put(kFolder + "tv.cfg~", "[Main]\nName=Backup\n");
    fs.inner.Put(kFolder + "tv.cfg.tmp~", "[Main]\nName=Temporary\n");
    fs.inner.Put(kFolder + "TV.CFG", "[Main]\nName=TV\n");
    fs.inner.Put(kFolder + ".cfg", "[Main]\nName=Dot\n");
    fs.inner.Put(kFolder + "readme.txt", "[Main]\nName=Readme\n");
    EXPECT_EQ(ListRemoteFiles(fs, kFolder), std::vector<std::string>{"TV.CFG"});
}

TEST(RemoteFiles, LookupsFollowTheLoadOrder) {
    MemoryFileSystem fs;
    fs.Put(kFolder + "tv.cfg", "[Main]\nName=TV\n[Code]\n0220000020DF10EF=Power\n0000000000000001=Light\n"
                               "[Raw]\nKey1=Power\nRaw1=110001000200\nKey2=Mute\nRaw2=110001000201\n");
    fs.Put(kFolder + "radio.cfg", "[Main]\nName=Radio\n[Code]\n0220000020DF10EF=Radio power\n"
                                  "[Raw]\nKey1=Seek\nRaw1=110001000202\n");
    Table t = Load(fs);
    ScopedKeyTable scope;
    scope.names = t.names;
    scope.codes = t.codes;
    scope.raws = t.raws;
    // The same code in two remotes: the first loaded names it.
    const int32_t power = FindCodeEntry("0220000020DF10EF");
    EXPECT_EQ(KeyNameAt(power), "Power");
    EXPECT_EQ(RemoteNameAt(power), "TV");
    struct Case {
        const char* captured;
        KeyCode code;
        const char* key;
        const char* remote;
    } cases[] = {
        {"110009000900", 0x0220000020DF10EFull, "Power", "TV"}, // raw key named like a Code line
        {"110009000901", 2, "Mute", "TV"},                      // placeholder 2 (1 is taken)
        {"110009000902", 3, "Seek", "Radio"},                   // Radio's first placeholder: 3
    };
    for (const auto& c : cases) {
        const int32_t j = FindRawEntry(c.captured);
        ASSERT_GE(j, 0) << c.captured;
        const KeyCode code = CodeOfRawEntry(j);
        EXPECT_EQ(code, c.code) << c.captured;
        char text[CodeDigits + 1];
        CodeText(code, text);
        const int32_t i = FindCodeEntry(text);
        EXPECT_EQ(KeyNameAt(i), c.key) << c.captured;
        EXPECT_EQ(RemoteNameAt(i), c.remote) << c.captured;
    }
}

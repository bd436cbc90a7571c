#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "config/ini_document.h"
#include "config/remote_files.h"
#include "support/key_table_fixture.h"
#include "support/memory_file_system.h"
#include "support/temp_folder.h"

namespace {

const std::string kFolder = "/m/";

std::string Section(const MemoryFileSystem& fs, const std::string& file, const char* section) {
    const IniDocument doc = IniDocument::Parse(fs.Get(kFolder + file));
    std::string out;
    for (const IniEntry& e : doc.ReadSection(section))
        out += std::string(e.key) + "=" + std::string(e.value) + ";";
    return out;
}

std::vector<std::string> Files(const MemoryFileSystem& fs) {
    std::vector<std::string> paths = fs.Paths();
    for (std::string& p : paths)
        p = p.substr(kFolder.size());
    return paths;
}

// The key table as a set of remotes, each with its keys: independent of the listing order.
std::string Canonical(FileSystem& fs, const std::string& folder) {
    StringList names, codes, raws;
    ReadRemoteFiles(fs, folder, names, codes, raws);
    std::vector<std::string> remotes(static_cast<size_t>(names.Count()));
    for (int32_t r = 0; r < names.Count(); ++r)
        remotes[static_cast<size_t>(r)] = names[r].text + ":";
    for (int32_t i = 0; i < codes.Count(); ++i) {
        std::string& remote = remotes[static_cast<size_t>(codes[i].tag)];
        remote += " " + codes[i].text;
        for (const auto& raw : raws.Entries()) {
            if (raw.tag == i)
                remote += "~" + raw.text;
        }
    }
    std::sort(remotes.begin(), remotes.end());
    std::string out;
    for (const std::string& r : remotes)
        out += r + "\n";
    return out;
}

std::vector<std::string> Described(const std::vector<SaveProblem>& problems) {
    static const char* const kKinds[] = {"not written", "left unchanged", "in its temporary file",
                                         "lost",        "too large",      "rescue copy in the way"};
    std::vector<std::string> lines;
    for (const SaveProblem& p : problems)
        lines.push_back(p.path + " " + kKinds[static_cast<int>(p.kind)]);
    return lines;
}

std::vector<KeyListRow> RowsFrom(FileSystem& fs, const std::string& folder) {
    ScopedKeyTable t;
    ReadRemoteFiles(fs, folder, t.names, t.codes, t.raws);
    return ListKeyTable();
}

} // namespace

TEST(KeyListWriter, WritesEachRowIntoTheFileOfItsRemote) {
    struct Case {
        const char* name;
        std::vector<KeyListRow> rows;
        // file: Main / Name | Code | Raw
        std::vector<std::pair<std::string, std::string>> files;
    } cases[] = {
        {"names sharing one file: raw numbered on, Name from the last switch",
         {{"One", "A B", "0000000000000001", "11AA"},
          {"Tv", "TV", "0000000000000009", ""},
          {"Two", "A_B", "0000000000000002", "11BB"},
          {"Three", "A B", "0000000000000003", ""}},
         {{"A_B.cfg", "Name=A_B;|0000000000000001=One;0000000000000002=Two;0000000000000003=Three;|"
                      "Key1=One;Raw1=11AA;Key2=Two;Raw2=11BB;"},
          {"TV.cfg", "Name=TV;|0000000000000009=Tv;|"}}},
        {"adjacent names sharing a file switch only once",
         {{"One", "A B", "0000000000000001", ""}, {"Two", "A_B", "0000000000000002", ""}},
         {{"A_B.cfg", "Name=A B;|0000000000000001=One;0000000000000002=Two;|"}}},
        {"same code twice: one line with the caption written last",
         {{"Power", "TV", "0220000020DF10EF", ""}, {"<new key>", "TV", "0220000020DF10EF", ""}},
         {{"TV.cfg", "Name=TV;|0220000020DF10EF=<new key>;|"}}},
        {"a key added late for an existing remote takes its next raw number",
         {{"A", "TV", "", "11AA"}, {"B", "Radio", "", "11BB"}, {"<new key>", "TV", "", "11CC"}},
         {{"TV.cfg", "Name=TV;||Key1=A;Raw1=11AA;Key2=<new key>;Raw2=11CC;"},
          {"Radio.cfg", "Name=Radio;||Key1=B;Raw1=11BB;"}}},
        {"empty remote name goes to _.cfg, not to the skipped .cfg",
         {{"Power", "", "0000000000000001", ""}},
         {{"_.cfg", "Name=;|0000000000000001=Power;|"}}},
        {"names with path characters stay in the folder",
         {{"Power", "..\\up/and:out", "0000000000000001", ""}},
         {{"___up_and_out.cfg", "Name=..\\up/and:out;|0000000000000001=Power;|"}}},
        {"codes that cannot be keys are left out, the rest of the row is kept",
         {{"Odd", "TV", "[Main]", "11AA"}, {"Eq", "TV", "A=B", ""}},
         {{"TV.cfg", "Name=TV;||Key1=Odd;Raw1=11AA;"}}},
        {"a remote none of whose rows is written gets no file",
         {{"<new key>", "<undefined>", "", ""},
          {"Eq", "<undefined>", "A=B", ""},
          {"Tv", "TV", "0000000000000009", ""}},
         {{"TV.cfg", "Name=TV;|0000000000000009=Tv;|"}}},
    };
    for (const auto& c : cases) {
        MemoryFileSystem fs;
        EXPECT_TRUE(WriteKeyList(fs, kFolder, c.rows)) << c.name;
        std::vector<std::string> expectedFiles;
        for (const auto& [file, content] : c.files) {
            expectedFiles.push_back(file);
            EXPECT_EQ(Section(fs, file, "Main") + "|" + Section(fs, file, "Code") + "|" +
                          Section(fs, file, "Raw"),
                      content)
                << c.name << ": " << file;
        }
        std::vector<std::string> written = Files(fs);
        std::sort(written.begin(), written.end());
        std::sort(expectedFiles.begin(), expectedFiles.end());
        EXPECT_EQ(written, expectedFiles) << c.name;
    }
}

TEST(KeyListWriter, ErasesKeysOfEveryListedFileButKeepsEverythingElse) {
    MemoryFileSystem fs;
    fs.Put(kFolder + "tv.cfg",
           "; my remote\n[Main]\nName=Living room\nMaker=X\n[Code]\n0000000000000001=Power\n"
           "[Notes]\nBought=2004\n[Raw]\nKey1=Power\nRaw1=11AA\nKey3=Gap\n");
    fs.Put(kFolder + "old.cfg", "[Main]\nName=Old\n[Code]\n0000000000000002=Gone\n");
    EXPECT_TRUE(WriteKeyList(fs, kFolder, {{"Power", "Living room", "0000000000000001", "11AA"}}));
    EXPECT_EQ(fs.Get(kFolder + "tv.cfg"), "; my remote\r\n[Main]\r\nName=Living room\r\nMaker=X\r\n"
                                          "[Notes]\r\nBought=2004\r\n");
    EXPECT_EQ(fs.Get(kFolder + "old.cfg"), "[Main]\r\nName=Old\r\n");
    EXPECT_EQ(Section(fs, "Living_room.cfg", "Raw"), "Key1=Power;Raw1=11AA;");
}

TEST(KeyListWriter, FilesWhoseKeysDoNotChangeAreNotRewritten) {
    MemoryFileSystem fs;
    const std::string lf = "[Main]\nName=TV\n";
    const std::string binary("\x00\x01[Code\xFF\r", 9);
    fs.Put(kFolder + "lf.cfg", lf);
    fs.Put(kFolder + "blob.cfg", binary);
    fs.Put(kFolder + "TV.cfg", "[Main]\r\nName=TV\r\n[Code]\r\n0000000000000001=Power\r\n");
    EXPECT_TRUE(WriteKeyList(fs, kFolder, {{"Power", "TV", "0000000000000001", ""}}));
    EXPECT_EQ(fs.WriteCount(), 0);
    EXPECT_EQ(fs.Get(kFolder + "lf.cfg"), lf);
    EXPECT_EQ(fs.Get(kFolder + "blob.cfg"), binary);
}

TEST(KeyListWriter, AFailedWriteLosesNoKeys) {
    const std::string tv = "[Main]\r\nName=Living room\r\n[Code]\r\n0000000000000001=Power\r\n";
    const std::string radio = "[Main]\r\nName=Radio\r\n[Code]\r\n0000000000000002=Seek\r\n";
    const std::vector<KeyListRow> rows = {{"Power", "Living room", "0000000000000001", ""},
                                          {"Seek", "Radio", "0000000000000002", ""},
                                          {"New", "Radio", "0000000000000003", ""}};
    struct Case {
        const char* name;
        const char* failing;
        std::vector<std::string> problems;
        const char* tvAfter;    // nullptr: unchanged
        const char* radioAfter; // nullptr: unchanged
    } cases[] = {
        // The target of tv.cfg's keys fails: tv.cfg keeps them for the next load.
        {"target fails",
         "Living_room.cfg",
         {"/m/Living_room.cfg not written", "/m/tv.cfg left unchanged"},
         nullptr,
         "[Main]\r\nName=Radio\r\n[Code]\r\n0000000000000002=Seek\r\n0000000000000003=New\r\n"},
        // The emptied file fails: its keys stand twice in the folder until the next save.
        {"emptied file fails",
         "tv.cfg",
         {"/m/tv.cfg not written"},
         nullptr,
         "[Main]\r\nName=Radio\r\n[Code]\r\n0000000000000002=Seek\r\n0000000000000003=New\r\n"},
        // A file that keeps its own keys fails: the others are still written.
        {"own file fails",
         "Radio.cfg",
         {"/m/Radio.cfg not written", "/m/tv.cfg left unchanged"},
         nullptr,
         nullptr},
        // Memory runs out while the files are read: none is written, and all are reported.
        {"out of memory", nullptr, {"/m/tv.cfg not written", "/m/Radio.cfg not written"}, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        MemoryFileSystem fs;
        fs.Put(kFolder + "tv.cfg", tv);
        fs.Put(kFolder + "Radio.cfg", radio);
        if (c.failing)
            fs.FailWritesOf(kFolder + c.failing);
        else
            fs.ExhaustMemoryReading(kFolder + "Radio.cfg");
        std::vector<SaveProblem> problems;
        EXPECT_FALSE(WriteKeyList(fs, kFolder, rows, &problems)) << c.name;
        EXPECT_EQ(Described(problems), c.problems) << c.name;
        fs.ExhaustMemoryReading("");
        EXPECT_EQ(fs.Get(kFolder + "tv.cfg"), c.tvAfter ? c.tvAfter : tv) << c.name;
        EXPECT_EQ(fs.Get(kFolder + "Radio.cfg"), c.radioAfter ? c.radioAfter : radio) << c.name;
        // Every key that was in the folder before can still be loaded.
        StringList names, codes, raws;
        ReadRemoteFiles(fs, kFolder, names, codes, raws);
        for (const char* code : {"0000000000000001", "0000000000000002"})
            EXPECT_GE(FindCodeEntryIn(codes, code), 0) << c.name << ": " << code;
    }
}

// The plug-in never writes a file it could not read back: a byte over the limit, and the file keeps
// its content. SavedRemoteFileBytes tells the size beforehand, as the written file has it.
TEST(KeyListWriter, AFileLargerThanTheReadersTakeIsNotWritten) {
    const std::string tv = "[Main]\r\nName=TV\r\n[Code]\r\n0000000000000001=Power\r\n";
    for (const size_t over : {size_t{0}, size_t{1}}) {
        MemoryFileSystem fs;
        fs.Put(kFolder + "TV.cfg", tv);
        std::vector<KeyListRow> rows = {{"Power", "TV", "0000000000000001", "11"}};
        rows[0].rawText +=
            std::string(kMaxConfigFileBytes + over - SavedRemoteFileBytes(fs, kFolder, rows, "TV"), 'A');
        EXPECT_EQ(SavedRemoteFileBytes(fs, kFolder, rows, "TV"), kMaxConfigFileBytes + over);
        std::vector<SaveProblem> problems;
        EXPECT_EQ(WriteKeyList(fs, kFolder, rows, &problems), over == 0);
        EXPECT_EQ(Described(problems), std::vector<std::string>(over, "/m/TV.cfg too large"));
        EXPECT_EQ(fs.Get(kFolder + "TV.cfg").size(), over == 0 ? kMaxConfigFileBytes : tv.size());
    }
}

TEST(KeyListWriter, TwoSpellingsOfOneFileAreOneFileWhereNamesIgnoreCase) {
    MemoryFileSystem fs;
    fs.SetIgnoresCase(true);
    fs.Put(kFolder + "living_room.cfg", "[Main]\nName=living room\n[Code]\n0000000000000001=Power\n");
    EXPECT_TRUE(WriteKeyList(
        fs, kFolder,
        {{"Power", "Living room", "0000000000000001", ""}, {"Mute", "living room", "0000000000000002", ""}}));
    EXPECT_EQ(Files(fs), std::vector<std::string>{"living_room.cfg"});
    EXPECT_EQ(fs.WriteCount(), 1);
    EXPECT_EQ(Section(fs, "living_room.cfg", "Main"), "Name=living room;");
    EXPECT_EQ(Section(fs, "living_room.cfg", "Code"), "0000000000000001=Power;0000000000000002=Mute;");
}

// A folder of remote files on disk, read, listed as dialog rows, written back and read again
// gives the same key table.
TEST(KeyListWriter, RoundTripThroughRealFilesKeepsTheTable) {
    TempFolder temp;
    for (int r = 0; r < 6; ++r) {
        char line[96];
        std::snprintf(line, std::size(line), "[Main]\nName=Remote %d\n[Code]\n", r);
        std::string text = line;
        for (int k = 0; k < 8; ++k) {
            std::snprintf(line, std::size(line), "0%d20000000000%02dA=Key %d\n", r, k, k);
            text += line;
        }
        text += "[Raw]\n";
        for (int k = 0; k < 4; ++k) {
            // Keys 0 and 2 name Code entries; 1 and 3 are raw-only and get placeholders.
            std::snprintf(line, std::size(line), "Key%d=%s %d\nRaw%d=11000100020%dab\n", k + 1,
                          k % 2 ? "Raw only" : "Key", k, k + 1, k);
            text += line;
        }
        WriteWholeFile(temp.Path() + "remote" + std::to_string(r) + ".cfg", text);
    }
    const std::string before = Canonical(StdFileSystem(), temp.Path());
    ASSERT_TRUE(WriteKeyList(StdFileSystem(), temp.Path(), RowsFrom(StdFileSystem(), temp.Path())));
    // Files named after their remotes replace the ones named otherwise; these are now empty.
    const std::string after = Canonical(StdFileSystem(), temp.Path());
    std::string withoutEmpty;
    for (size_t start = 0, end; start < after.size(); start = end + 1) {
        end = after.find('\n', start);
        const std::string line = after.substr(start, end - start);
        if (line.back() != ':')
            withoutEmpty += line + "\n";
    }
    EXPECT_EQ(withoutEmpty, before);
    // A second round changes nothing at all.
    const std::string again = Canonical(StdFileSystem(), temp.Path());
    ASSERT_TRUE(WriteKeyList(StdFileSystem(), temp.Path(), RowsFrom(StdFileSystem(), temp.Path())));
    EXPECT_EQ(Canonical(StdFileSystem(), temp.Path()), again);
}

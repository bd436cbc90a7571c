#include "config/remote_export.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/remote_files.h"
#include "support/memory_file_system.h"

namespace {

const std::string kPath = "/backup/TV copy.cfg";

TEST(RemoteExport, WritesTheFileThePluginWritesForTheRemoteAndNothingElse) {
    const std::vector<KeyListRow> tv = {{"Power", "TV", "0220000020DF10EF", ""},
                                        {"Eject", "TV", "", "2330022823"},
                                        {"Mute", "tv", "0220000020DF906F", "2330AA"}};
    struct Case {
        const char* what;
        std::vector<KeyListRow> rows;
        const char* before; // at the path; null for no file
        bool failWrite;
        bool written;
    } cases[] = {
        {"a new file", tv, nullptr, false, true},
        {"a file there is replaced whole, not merged", tv,
         "[Main]\r\nName=Old\r\nNote=x\r\n[Code]\r\n01=Old\r\n[Extra]\r\nA=1\r\n", false, true},
        {"a refused write keeps the file", tv, "[Main]\r\nName=Old\r\n", true, false},
        {"rows that give nothing to hold write no file", {{"Nothing", "TV", "", ""}}, nullptr, false, false},
    };
    for (const Case& c : cases) {
        MemoryFileSystem fs;
        if (c.before)
            fs.Put(kPath, c.before);
        if (c.failWrite)
            fs.FailWritesOf(kPath);
        EXPECT_EQ(ExportRemoteFile(fs, kPath, c.rows), c.written) << c.what;
        if (!c.written) {
            EXPECT_EQ(fs.Has(kPath), c.before != nullptr) << c.what;
            EXPECT_EQ(fs.Get(kPath), c.before ? c.before : "") << c.what;
            continue;
        }
        // Byte for byte what a save writes beside the plug-in (on Windows, where both spellings
        // are one file), and the only file written.
        MemoryFileSystem plugin;
        plugin.SetIgnoresCase(true);
        ASSERT_TRUE(WriteKeyList(plugin, "/m/", c.rows));
        EXPECT_EQ(fs.Get(kPath), plugin.Get("/m/TV.cfg")) << c.what;
        EXPECT_EQ(fs.Paths(), std::vector<std::string>{kPath}) << c.what;

        // Loaded, it is the remote with every key.
        StringList names, codes, raws;
        ReadRemoteFiles(fs, "/backup/", names, codes, raws);
        ASSERT_EQ(names.Count(), 1) << c.what;
        EXPECT_EQ(names[0].text, "tv");
        ASSERT_EQ(codes.Count(), 3) << c.what;
        EXPECT_EQ(codes[0].text, "0220000020DF10EF=Power");
        EXPECT_EQ(codes[2].text, "0000000000000001=Eject"); // a raw-only key gets a placeholder
        EXPECT_EQ(raws.Count(), 2) << c.what;
    }
}

} // namespace

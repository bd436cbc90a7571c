#include "config/settings_file.h"

#include <gtest/gtest.h>

#include <string>

#include "config/module_paths.h"
#include "support/memory_file_system.h"
#include "support/settings_values.h"

namespace {

const std::string kModule = "/plugins/OrvikPlug.dll";
const std::string kIni = "/plugins/OrvikPlug.ini";

SettingsValues Read(const std::string& text, const SettingsValues& current) {
    return ReadSettings(IniDocument::Parse(text), current);
}

} // namespace

TEST(SettingsFile, NameAndFolderComeFromTheModulePath) {
    struct Case {
        const char* module;
        const char* ini;
        const char* folder;
    } cases[] = {
        {"C:\\Tarnex\\Plugins\\OrvikPlug.dll", "C:\\Tarnex\\Plugins\\OrvikPlug.ini", "C:\\Tarnex\\Plugins\\"},
        {"/opt/x.y/OrvikPlug.dll", "/opt/x.y/OrvikPlug.ini", "/opt/x.y/"},
        {"/opt/x.y/OrvikPlug", "/opt/x.y/OrvikPlug.ini", "/opt/x.y/"},
        {"C:Plug.dll", "C:Plug.ini", "C:"},
        {"Plug.dll", "Plug.ini", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SettingsFileName(c.module), c.ini) << c.module;
        EXPECT_EQ(ModuleFolder(c.module), c.folder) << c.module;
    }
}

TEST(SettingsFile, NoFileGivesTheStartValues) {
    MemoryFileSystem fs;
    SettingsValues expected;    // the start values
    expected.PollInterval = 50; // PollFreq falls back to 20 Hz
    EXPECT_EQ(Describe(ReadSettingsFile(fs, kModule, SettingsValues{})), Describe(expected));
}

TEST(SettingsFile, MissingOrNonNumericValuesKeepTheCurrentOnesExceptModeAndPollFreq) {
    const SettingsValues current = UnusualSettings();
    for (const char* text : {"", "[Main]\n[Receiver]\n",
                             "[Main]\nRawMode=abc\nWait1=1e3\nWaitN=\nWaitR=0x10\n[Receiver]\nScaler=85.33\n"
                             "BufferSize=99999999999\nBlinkMode=two\nMode=zero\nPollFreq=-\n",
                             "\x01\x02\x7F\xFF binary \0 junk"}) {
        SettingsValues expected = current;
        expected.Mode = 0;
        expected.PollInterval = 1000 / 20;
        EXPECT_EQ(Describe(Read(text, current)), Describe(expected)) << text;
    }
}

TEST(SettingsFile, StoredValuesAreCorrectedAsTheRulesSay) {
    using Field = int64_t (*)(const SettingsValues&);
    const Field rawMode = [](const SettingsValues& v) -> int64_t { return v.RawMode; };
    const Field wait1 = [](const SettingsValues& v) -> int64_t { return v.Wait1; };
    const Field waitN = [](const SettingsValues& v) -> int64_t { return v.WaitN; };
    const Field waitR = [](const SettingsValues& v) -> int64_t { return v.WaitR; };
    const Field mode = [](const SettingsValues& v) -> int64_t { return v.Mode; };
    const Field scaler = [](const SettingsValues& v) -> int64_t { return v.Scaler; };
    const Field bufferSize = [](const SettingsValues& v) -> int64_t { return v.BufferSize; };
    const Field pollInterval = [](const SettingsValues& v) -> int64_t { return v.PollInterval; };
    const Field blinkMode = [](const SettingsValues& v) -> int64_t { return v.BlinkMode; };
    struct Case {
        const char* file;
        Field field;
        int64_t expected;
    } cases[] = {
        {"[Main]\nRawMode=2", rawMode, 1},
        {"[Main]\nRawMode=0", rawMode, 0},
        {"[Main]\nWait1=20", wait1, 20},
        {"[Main]\nWaitN=-7", waitN, -7},
        {"[Main]\nWaitR= +75 ", waitR, 75},
        {"[Receiver]\nMode=258", mode, 2},
        {"[Receiver]\nMode=5", mode, 5},
        {"[Receiver]\nMode=255", mode, -1},
        {"[Receiver]\nScaler=1000", scaler, 1000},
        {"[Receiver]\nBufferSize=1000", bufferSize, 512},
        {"[Receiver]\nBufferSize=512", bufferSize, 512},
        {"[Receiver]\nBufferSize=-5", bufferSize, -5},
        {"[Receiver]\nPollFreq=0", pollInterval, 20},
        {"[Receiver]\nPollFreq=101", pollInterval, 20},
        {"[Receiver]\nPollFreq=-3", pollInterval, 20},
        {"[Receiver]\nPollFreq=100", pollInterval, 10},
        {"[Receiver]\nPollFreq=30", pollInterval, 33},
        {"[Receiver]\nPollFreq=70", pollInterval, 14},
        {"[Receiver]\nPollFreq=1", pollInterval, 1000},
        {"[Receiver]\nBlinkMode=7", blinkMode, 1},
        {"[Receiver]\nBlinkMode=-1", blinkMode, 1},
        {"[Receiver]\nBlinkMode=0", blinkMode, 0},
        {"[Receiver]\nBlinkMode=3", blinkMode, 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.field(Read(c.file, UnusualSettings())), c.expected) << c.file;
}

TEST(SettingsFile, WritesTheTenKeysInOrder) {
    IniDocument doc;
    WriteSettings(doc, UnusualSettings(), "<undefined>");
    EXPECT_EQ(doc.Serialize(), "[Main]\r\n"
                               "LastRemoteControl=<undefined>\r\n"
                               "RawMode=1\r\n"
                               "Wait1=450\r\n"
                               "WaitN=150\r\n"
                               "WaitR=250\r\n"
                               "[Receiver]\r\n"
                               "Mode=1\r\n"
                               "BufferSize=108\r\n"
                               "Scaler=2133\r\n"
                               "PollFreq=25\r\n"
                               "BlinkMode=3\r\n");
}

TEST(SettingsFile, PollFreqComesBackThroughItsPeriod) {
    struct Case {
        int stored;
        int32_t interval;
        int written;
    } cases[] = {{20, 50, 20}, {30, 33, 30}, {70, 14, 71}, {95, 10, 100}, {60, 16, 62},
                 {15, 66, 15}, {65, 15, 66}, {0, 20, 50},  {101, 20, 50}};
    for (const auto& c : cases) {
        MemoryFileSystem fs;
        fs.Put(kIni, "[Receiver]\nPollFreq=" + std::to_string(c.stored) + "\n");
        const SettingsValues v = ReadSettingsFile(fs, kModule, SettingsValues{});
        EXPECT_EQ(v.PollInterval, c.interval) << c.stored;
        ASSERT_EQ(WriteSettingsFile(fs, kModule, v, "x"), WriteResult::Written);
        EXPECT_EQ(IniDocument::Parse(fs.Get(kIni)).GetString("Receiver", "PollFreq", ""),
                  std::to_string(c.written))
            << c.stored;
    }
}

TEST(SettingsFile, APeriodThatIsNotPositiveIsWrittenAsAFrequencyTheReaderCorrects) {
    for (int32_t interval : {0, -5}) {
        SettingsValues v;
        v.PollInterval = interval;
        IniDocument doc;
        WriteSettings(doc, v, "");
        EXPECT_EQ(ReadSettings(doc, SettingsValues{}).PollInterval, 20) << interval;
    }
}

TEST(SettingsFile, UnknownKeysSectionsAndCommentsSurviveASave) {
    MemoryFileSystem fs;
    fs.Put(kIni, "; kept\n[Main]\nWait1=100\nFavourite=blue\n[Plugins]\nOther=1\n[Receiver]\nPollFreq=50\n");
    ASSERT_EQ(WriteSettingsFile(fs, kModule, UnusualSettings(), "TV"), WriteResult::Written);
    EXPECT_EQ(fs.Get(kIni), "; kept\r\n[Main]\r\nWait1=450\r\nFavourite=blue\r\nLastRemoteControl=TV\r\n"
                            "RawMode=1\r\nWaitN=150\r\nWaitR=250\r\n[Plugins]\r\nOther=1\r\n[Receiver]\r\n"
                            "PollFreq=25\r\nMode=1\r\nBufferSize=108\r\nScaler=2133\r\nBlinkMode=3\r\n");
}

TEST(SettingsFile, WrittenValuesReadBackUnchanged) {
    MemoryFileSystem fs;
    const SettingsValues written = UnusualSettings();
    ASSERT_EQ(WriteSettingsFile(fs, kModule, written, "Living room"), WriteResult::Written);
    const SettingsValues read = ReadSettingsFile(fs, kModule, SettingsValues{});
    EXPECT_EQ(Describe(read), Describe(written));
    EXPECT_EQ(ReadLastRemoteControl(fs, kModule, "<undefined>"), "Living room");
}

TEST(SettingsFile, LastRemoteControlFallsBackToTheBoxText) {
    struct Case {
        const char* file; // nullptr: no file
        const char* expected;
    } cases[] = {
        {nullptr, "<undefined>"},
        {"[Main]\nRawMode=1\n", "<undefined>"},
        {"[Main]\nLastRemoteControl=  TV Set  \n", "TV Set"},
        {"[Main]\nLastRemoteControl=\n", ""},
    };
    for (const auto& c : cases) {
        MemoryFileSystem fs;
        if (c.file)
            fs.Put(kIni, c.file);
        EXPECT_EQ(ReadLastRemoteControl(fs, kModule, "<undefined>"), c.expected);
    }
}

TEST(SettingsFile, AFileThatCannotBeWrittenKeepsItsContent) {
    MemoryFileSystem fs;
    const std::string old = "[Main]\nWait1=100\n";
    fs.Put(kIni, old);
    fs.FailWritesOf(kIni);
    EXPECT_EQ(WriteSettingsFile(fs, kModule, UnusualSettings(), "TV"), WriteResult::NotWritten);
    EXPECT_EQ(fs.Get(kIni), old);
}

TEST(SettingsFile, AFileThatCannotBeReadIsNotReplaced) {
    MemoryFileSystem fs;
    fs.Put(kIni, "[Main]\nWait1=100\nPrecious=1\n");
    fs.FailReadsOf(kIni);
    EXPECT_EQ(ReadSettingsFile(fs, kModule, UnusualSettings()).Wait1, UnusualSettings().Wait1);
    EXPECT_EQ(WriteSettingsFile(fs, kModule, UnusualSettings(), "TV"), WriteResult::NotWritten);
    EXPECT_EQ(fs.WriteCount(), 0);
}

TEST(SettingsFile, AFailedReadKeepsEveryCurrentValue) {
    MemoryFileSystem fs;
    fs.Put(kIni, "[Main]\nWait1=100\n[Receiver]\nMode=0\nPollFreq=10\n");
    fs.FailReadsOf(kIni);
    EXPECT_EQ(Describe(ReadSettingsFile(fs, kModule, UnusualSettings())), Describe(UnusualSettings()));
}

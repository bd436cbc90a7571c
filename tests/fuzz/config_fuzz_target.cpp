// Fuzz target for the configuration readers and writers: the input is the settings file and, cut
// at each byte 0x01, up to four remote definition files. Checks what must hold for any bytes:
// reading never fails, the corrected settings are in range, the key table's tags are valid, and a
// save of the listed table keeps every code, writes only inside the folder and reads back.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "config/ascii_text.h"
#include "config/ini_document.h"
#include "config/remote_files.h"
#include "config/settings_file.h"
#include "support/key_table_fixture.h"
#include "support/memory_file_system.h"

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "config fuzz: %s\n", what);
        std::abort();
    }
}

void CheckIniCycle(std::string_view text) {
    const IniDocument first = IniDocument::Parse(text);
    const IniDocument second = IniDocument::Parse(first.Serialize());
    for (const char* section : {"Main", "Receiver", "Code", "Raw"}) {
        const auto a = first.ReadSection(section);
        const auto b = second.ReadSection(section);
        Require(a.size() == b.size(), "a section changed its length through serialising");
        for (size_t i = 0; i < a.size(); ++i)
            Require(a[i].key == b[i].key && a[i].value == b[i].value, "an entry changed through serialising");
    }
    const SettingsValues v = ReadSettings(first, SettingsValues{});
    Require(v.BufferSize <= 512, "BufferSize above 512");
    Require(v.PollInterval >= 10 && v.PollInterval <= 1000, "PollInterval out of range");
    Require(v.BlinkMode >= 0 && v.BlinkMode <= 3, "BlinkMode out of range");
}

void CheckTable(const ScopedKeyTable& t) {
    for (const auto& code : t.codes.Entries())
        Require(code.tag >= 0 && code.tag < t.names.Count(), "code entry tagged with no remote");
    for (const auto& raw : t.raws.Entries()) {
        Require(raw.tag >= 0 && raw.tag < t.codes.Count(), "raw entry tagged with no code entry");
        Require(AsciiUpperCopy(raw.text) == raw.text, "raw pattern not upper-cased");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckIniCycle(input);

    MemoryFileSystem fs;
    size_t start = 0;
    for (char name = 'a'; name <= 'd' && start <= input.size(); ++name) {
        const size_t end = std::min(input.find('\x01', start), input.size());
        fs.Put(std::string("/m/") + name + ".cfg", std::string(input.substr(start, end - start)));
        start = end + 1;
    }

    ScopedKeyTable t;
    ReadRemoteFiles(fs, "/m/", t.names, t.codes, t.raws);
    CheckTable(t);
    const std::vector<KeyListRow> rows = ListKeyTable();
    Require(WriteKeyList(fs, "/m/", rows), "saving into memory failed");
    for (const std::string& path : fs.Paths())
        Require(path.rfind("/m/", 0) == 0 && path.find('/', 3) == std::string::npos,
                "file written outside the folder");

    ReadRemoteFiles(fs, "/m/", t.names, t.codes, t.raws);
    CheckTable(t);
    for (const KeyListRow& row : rows)
        Require(row.codeText.empty() || FindCodeEntry(row.codeText) >= 0, "a code was lost by saving");
    return 0;
}

// Loading remote definition files and looking codes and raw signatures up in the key table
// (5,000 keys in 50 files, half of them with a raw pattern).
//   build/native/bench/config_bench
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "config/key_table.h"
#include "config/remote_files.h"
#include "support/memory_file_system.h"
#include "support/reference_key_table.h"
#include "support/temp_folder.h"

namespace {

constexpr int kFiles = 50;
constexpr int kKeysPerFile = 100;

KeyCode CodeOf(int file, int key) {
    return 0x0220000000000000ull | (static_cast<KeyCode>(file) << 16) | key;
}

// A raw pattern of a typical length: header, six class centres, 64 symbols.
std::string Pattern(int file, int key) {
    char text[160];
    int n =
        std::snprintf(text, std::size(text), "33%04X%04X%04X%04X%04X%04X", 560, 1690, 9000, 560, 560, 4500);
    for (int i = 0; i < 16; ++i)
        n += std::snprintf(text + n, std::size(text) - static_cast<size_t>(n), "%04X",
                           (file * 131 + key * 17 + i) & 0xFFFF);
    return text;
}

// Half of the keys carry a raw pattern. rawOnly: those keys have no Code line, so the loader
// gives them placeholder codes (its slowest path).
std::string RemoteFile(int file, bool rawOnly) {
    std::string text = "[Main]\r\nName=Remote " + std::to_string(file) + "\r\n[Code]\r\n";
    char code[CodeDigits + 1];
    for (int k = 0; k < kKeysPerFile; ++k) {
        if (rawOnly && k % 2 == 1)
            continue;
        CodeText(CodeOf(file, k), code);
        text += std::string(code) + "=Key " + std::to_string(k) + "\r\n";
    }
    text += "[Raw]\r\n";
    for (int k = 1, n = 1; k < kKeysPerFile; k += 2, ++n) {
        text += "Key" + std::to_string(n) + "=Key " + std::to_string(k) + "\r\n";
        text += "Raw" + std::to_string(n) + "=" + Pattern(file, k) + "\r\n";
    }
    return text;
}

MemoryFileSystem& MemoryFolder(bool rawOnly) {
    static MemoryFileSystem folders[2];
    MemoryFileSystem& fs = folders[rawOnly ? 1 : 0];
    if (fs.Paths().empty()) {
        for (int f = 0; f < kFiles; ++f)
            fs.Put("/m/remote" + std::to_string(f) + ".cfg", RemoteFile(f, rawOnly));
    }
    return fs;
}

const TempFolder& DiskFolder() {
    static TempFolder folder;
    static bool filled = false;
    if (!filled) {
        for (int f = 0; f < kFiles; ++f)
            WriteWholeFile(folder.Path() + "remote" + std::to_string(f) + ".cfg", RemoteFile(f, false));
        filled = true;
    }
    return folder;
}

void Load(benchmark::State& state, FileSystem& fs, const std::string& folder) {
    StringList names, codes, raws;
    for (auto _ : state) {
        ReadRemoteFiles(fs, folder, names, codes, raws);
        benchmark::DoNotOptimize(codes.Count());
    }
    state.counters["codes"] = codes.Count();
    state.counters["raws"] = raws.Count();
}

void BM_LoadFromDisk(benchmark::State& state) {
    Load(state, StdFileSystem(), DiskFolder().Path());
}
void BM_LoadFromMemory(benchmark::State& state) {
    Load(state, MemoryFolder(false), "/m/");
}
void BM_LoadFromMemoryRawOnly(benchmark::State& state) {
    Load(state, MemoryFolder(true), "/m/");
}

// The table of the 50 files, installed as the key table while it exists.
struct InstalledTable {
    StringList names, codes, raws;
    StringList* saved[3] = {RemoteNames, CodeTable, RawTable};

    InstalledTable() {
        ReadRemoteFiles(MemoryFolder(false), "/m/", names, codes, raws);
        RemoteNames = &names, CodeTable = &codes, RawTable = &raws;
    }
    ~InstalledTable() { RemoteNames = saved[0], CodeTable = saved[1], RawTable = saved[2]; }
    std::vector<KeyListRow> Rows() const { return ListKeyTable(); }
};

// 10,000 lookups of codes spread over the whole table (hits), or of codes it lacks (misses); the
// Reference rows scan the table as the lookups did before the index.
void Lookups(benchmark::State& state, bool hits, bool reference) {
    const InstalledTable table;
    char texts[64][CodeDigits + 1];
    for (int i = 0; i < 64; ++i) {
        const int spread = i * 7919 % (kFiles * kKeysPerFile);
        CodeText(hits ? CodeOf(spread / kKeysPerFile, spread % kKeysPerFile) : 0x0330000000000000ull + i,
                 texts[i]);
    }
    for (auto _ : state) {
        int32_t sum = 0;
        for (int i = 0; i < 10000; ++i)
            sum += reference ? reference::FindCodeEntryIn(table.codes, texts[i % 64])
                             : FindCodeEntry(texts[i % 64]);
        benchmark::DoNotOptimize(sum);
    }
}

void BM_FindCodeEntry10000Hits(benchmark::State& state) {
    Lookups(state, true, false);
}
void BM_FindCodeEntry10000Misses(benchmark::State& state) {
    Lookups(state, false, false);
}
void BM_FindCodeEntry10000HitsReference(benchmark::State& state) {
    Lookups(state, true, true);
}
void BM_FindCodeEntry10000MissesReference(benchmark::State& state) {
    Lookups(state, false, true);
}

// 10,000 raw scans for captured signatures of stored patterns (hits: other centres, same class
// numbers) or of patterns nobody stored (misses), among the 2,500 patterns of the table.
void RawLookups(benchmark::State& state, bool hits, bool reference) {
    const InstalledTable table;
    std::string texts[64];
    for (int i = 0; i < 64; ++i) {
        const int spread = i * 7919 % (kFiles * kKeysPerFile / 2);
        texts[i] = Pattern(spread / (kKeysPerFile / 2), hits ? 2 * (spread % (kKeysPerFile / 2)) + 1 : 0);
        texts[i].replace(2, 4, "0231"); // a centre of its own: not compared
    }
    for (auto _ : state) {
        int32_t sum = 0;
        for (int i = 0; i < 10000; ++i) {
            const char* text = texts[i % 64].c_str();
            sum += reference ? reference::FindRawEntryIn(table.raws, text) : FindRawEntry(text);
        }
        benchmark::DoNotOptimize(sum);
    }
}

void BM_FindRawEntry10000Hits(benchmark::State& state) {
    RawLookups(state, true, false);
}
void BM_FindRawEntry10000Misses(benchmark::State& state) {
    RawLookups(state, false, false);
}
void BM_FindRawEntry10000HitsReference(benchmark::State& state) {
    RawLookups(state, true, true);
}
void BM_FindRawEntry10000MissesReference(benchmark::State& state) {
    RawLookups(state, false, true);
}

void BM_WriteKeyListToMemory(benchmark::State& state) {
    const std::vector<KeyListRow> rows = InstalledTable().Rows();
    MemoryFileSystem fs = MemoryFolder(false);
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteKeyList(fs, "/m/", rows));
}

} // namespace

BENCHMARK(BM_LoadFromDisk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFromMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFromMemoryRawOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindCodeEntry10000Hits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindCodeEntry10000Misses)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindCodeEntry10000HitsReference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindCodeEntry10000MissesReference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindRawEntry10000Hits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindRawEntry10000Misses)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindRawEntry10000HitsReference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindRawEntry10000MissesReference)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteKeyListToMemory)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

// Reading and converting remotes as orvik-decode does (and the dialog's import will): every button
// of a text read by the capture readers, decoded as a model 0 receiver delivers it, printed as the
// tool prints it, and turned into the key rows of --write-cfg. Two inputs:
//  - every Flipper file of the shared test data, rebuilt as .ir text from its raw captures and its
//    parsed entries (143 files, 772 buttons);
//  - a generated Pronto file of 10,000 learned codes, the first frames of every protocol of the
//    encoders for random addresses and commands.
// The counter "per_button" is the time per button. With --write-files DIR the inputs are written as
// files instead, for timing the orvik-decode program itself.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "capture_import/import_rows.h"
#include "capture_import/protocol_encoders.h"
#include "support/ir_captures.h"
#include "tools/orvik_decode/decode_report.h"

namespace {

struct InputFile {
    std::string name;
    std::string text;
};

// The Flipper files of the shared test data as .ir texts: raw captures, then parsed entries.
std::vector<InputFile> FlipperFiles() {
    std::vector<IrCapture> captures;
    std::vector<IrProtocolEntry> entries;
    std::string error;
    if (!ReadIrCaptures(IrCapturesPath(ORVIK_TESTDATA_DIR), captures, error) ||
        !ReadIrProtocols(IrProtocolsPath(ORVIK_TESTDATA_DIR), entries, error)) {
        std::fprintf(stderr, "import_bench: %s\n", error.c_str());
        std::exit(1);
    }
    std::map<std::string, std::string> texts;
    const auto start = [&](const std::string& file) -> std::string& {
        std::string& text = texts[file];
        if (text.empty())
            text = "Filetype: IR signals file\nVersion: 1\n";
        return text;
    };
    for (const IrCapture& capture : captures) {
        if (capture.source.find("Flipper") == std::string::npos)
            continue;
        std::string& text = start(capture.file);
        text += "#\nname: " + capture.button + "\ntype: raw\nfrequency: 38000\nduty_cycle: 0.330000\ndata:";
        for (int32_t d : capture.durations)
            text += " " + std::to_string(d);
        text += "\n";
    }
    for (const IrProtocolEntry& entry : entries) {
        if (entry.source.find("Flipper") == std::string::npos)
            continue;
        start(entry.file) += "#\nname: " + entry.button + "\ntype: parsed\nprotocol: " + entry.protocol +
                             "\naddress: " + entry.addressBytes + "\ncommand: " + entry.commandBytes + "\n";
    }
    std::vector<InputFile> files;
    for (const auto& [file, text] : texts)
        files.push_back({file.substr(file.find_last_of('/') + 1), text});
    return files;
}

std::string Hex4(uint64_t word) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(word & 0xFFFF));
    return text;
}

// 10,000 learned Pronto codes (carrier word 006D), the protocols in turn.
std::vector<InputFile> ProntoFile() {
    constexpr uint64_t kCarrierWord = 0x6D;
    const double period = kCarrierWord * 0.241246;
    std::mt19937 random(1);
    const std::vector<std::string> protocols = ProtocolNames();
    std::string text;
    for (int k = 0; k < 10000; ++k) {
        const std::string& protocol = protocols[k % protocols.size()];
        int addressBits = 0;
        int commandBits = 0;
        ProtocolFieldBits(protocol, addressBits, commandBits);
        std::vector<int32_t> frame;
        std::string error;
        EncodeProtocolFrame(protocol, static_cast<uint32_t>(random()) & ((1u << addressBits) - 1),
                            static_cast<uint32_t>(random()) & ((1u << commandBits) - 1), frame, error);
        frame.push_back(40000); // the gap after the burst, as learned codes end
        text += "KEY_" + std::to_string(k) + ": 0000 " + Hex4(kCarrierWord) + " " + Hex4(frame.size() / 2) +
                " 0000";
        for (int32_t d : frame)
            text += " " + Hex4(static_cast<uint64_t>(d / period + 0.5));
        text += "\n";
    }
    return {{"generated.pronto.txt", text}};
}

// What orvik-decode --model 0 --write-cfg does with one input, without the files: every button
// read, decoded, printed into a string, and the rows built. Returns the number of buttons.
size_t ImportLikeTheTool(const std::string& text, std::string& printed) {
    std::istringstream in(text);
    DecodeSession session;
    session.model = 0;
    std::vector<DecodedTrain> trains;
    DecodeInput(in, session, [&](const DecodedTrain& train) {
        printed += FormatReport(train.report, false, train.name) + "\n";
        trains.push_back(train);
    });
    benchmark::DoNotOptimize(BuildImportRows(trains, "Bench", false));
    return trains.size();
}

void Import(benchmark::State& state, const std::vector<InputFile>& files) {
    size_t buttons = 0;
    for (auto _ : state) {
        buttons = 0;
        std::string printed;
        for (const InputFile& file : files)
            buttons += ImportLikeTheTool(file.text, printed);
        benchmark::DoNotOptimize(printed);
    }
    state.counters["buttons"] = static_cast<double>(buttons);
    state.counters["per_button"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(buttons),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_ImportFlipperFiles(benchmark::State& state) {
    static const std::vector<InputFile> files = FlipperFiles();
    Import(state, files);
}

void BM_ImportProntoFile(benchmark::State& state) {
    static const std::vector<InputFile> files = ProntoFile();
    Import(state, files);
}

int WriteFiles(const std::string& folder) {
    for (const std::vector<InputFile>& set : {FlipperFiles(), ProntoFile()}) {
        for (const InputFile& file : set) {
            std::ofstream out(folder + "/" + file.name, std::ios::binary);
            out << file.text;
            if (!out) {
                std::fprintf(stderr, "import_bench: cannot write into %s\n", folder.c_str());
                return 1;
            }
        }
    }
    return 0;
}

} // namespace

BENCHMARK(BM_ImportFlipperFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportProntoFile)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-files") == 0)
        return WriteFiles(argv[2]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

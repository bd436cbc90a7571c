#include "tools/orvik_decode/decode_report.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "decoding/pulse_train_decoder.h"
#include "decoding/raw_signature.h"
#include "receiver/receiver.h"
#include "tools/orvik_decode/train_reader.h"

DecodeReport DecodeTrain(const std::vector<int32_t>& durations, KeyCode previousCode) {
    PulseTrain train{};
    train.count = static_cast<int32_t>(std::min(durations.size(), std::size(train.durations)));
    std::copy(durations.begin(), durations.begin() + train.count, train.durations);

    DecodeReport report;
    // The signature first: the decoder may rearrange the train.
    uint8_t signature[kRawSignatureCapacity];
    const int32_t length = BuildRawSignature(train.durations, train.count, signature);
    char text[2 * kRawSignatureCapacity + 1];
    RawSignatureToText(signature, length, text);
    report.rawSignature = text;
    report.code = DecodePulseTrain(train.durations, train.count, previousCode);
    return report;
}

std::string FormatReport(const DecodeReport& report, bool json) {
    char code[CodeDigits + 1];
    CodeText(report.code, code);
    const std::string coding = report.code == 0 ? "-" : CodingKindText(report.code);
    const std::string bits = std::to_string(BitCountOf(report.code));
    if (json) {
        // Every text here is hexadecimal or a fixed coding name: nothing needs escaping.
        return std::string("{\"code\":\"") + code + "\",\"coding\":\"" + coding + "\",\"bits\":" + bits +
               ",\"raw\":\"" + report.rawSignature + "\"}";
    }
    return std::string(code) + "\t" + coding + "\t" + bits + "\t" + report.rawSignature;
}

void DecodeStream(std::istream& in, const std::string& inputName, DecodeSession& session, std::ostream& out,
                  std::ostream& err) {
    TrainReader reader;
    std::vector<TrainItem> items;
    auto report = [&] {
        for (const TrainItem& item : items) {
            DecodeReport result;
            if (item.error.empty())
                result = DecodeTrain(item.durations, session.previousCode);
            else
                err << inputName << ":" << item.line << ": " << item.error << "\n";
            session.previousCode = result.code;
            out << FormatReport(result, session.json) << "\n";
        }
        items.clear();
    };
    std::string line;
    while (std::getline(in, line)) {
        reader.AddLine(line, items);
        report();
    }
    reader.Finish(items);
    report();
}

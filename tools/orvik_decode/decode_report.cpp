#include "tools/orvik_decode/decode_report.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "decoding/pulse_train_decoder.h"
#include "decoding/raw_signature.h"
#include "receiver/receiver.h"
#include "tools/orvik_decode/receiver_model.h"
#include "tools/orvik_decode/train_reader.h"

namespace {

// A duration that no receiver can deliver would only give odd classes: such trains are reported.
// Only what a receiver would deliver (the first 513) is looked at.
std::string InvalidDuration(const std::vector<int32_t>& durations, int32_t scaler) {
    const size_t delivered = std::min(durations.size(), static_cast<size_t>(kPulseTrainCapacity));
    const int32_t longest = LongestReceivable(scaler);
    for (size_t k = 0; k < delivered; ++k) {
        const std::string where = " (duration " + std::to_string(k + 1) + " of the train)";
        if (durations[k] <= 0)
            return "duration " + std::to_string(durations[k]) + " is not above 0" + where;
        if (durations[k] > longest)
            return "duration " + std::to_string(durations[k]) + " is longer than any receiver delivers (" +
                   std::to_string(longest) + " us)" + where;
    }
    return "";
}

std::string JsonText(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            static const char kDigits[] = "0123456789abcdef";
            out += "\\u00";
            out += kDigits[(c >> 4) & 0xF];
            out += kDigits[c & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

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

std::string FormatReport(const DecodeReport& report, bool json, const std::string& name) {
    char code[CodeDigits + 1];
    CodeText(report.code, code);
    const std::string coding = report.code == 0 ? "-" : CodingKindText(report.code);
    const std::string bits = std::to_string(BitCountOf(report.code));
    if (json) {
        // The code, the coding and the signature need no escaping; a button name may.
        return std::string("{\"code\":\"") + code + "\",\"coding\":\"" + coding + "\",\"bits\":" + bits +
               ",\"raw\":\"" + report.rawSignature + "\"" +
               (name.empty() ? "" : ",\"name\":\"" + JsonText(name) + "\"") + "}";
    }
    return std::string(code) + "\t" + coding + "\t" + bits + "\t" + report.rawSignature +
           (name.empty() ? "" : "\t" + name);
}

void DecodeInput(std::istream& in, DecodeSession& session,
                 const std::function<void(const DecodedTrain&)>& each) {
    TrainReader reader;
    std::vector<TrainItem> items;
    auto decode = [&] {
        for (const TrainItem& item : items) {
            DecodedTrain train;
            train.line = item.line;
            train.name = item.name;
            train.error = item.error.empty() ? InvalidDuration(item.durations, session.scaler) : item.error;
            if (train.error.empty()) {
                const std::vector<int32_t> delivered =
                    session.model < 0 ? item.durations
                                      : AsModelDelivers(item.durations, session.model, session.scaler);
                train.report = DecodeTrain(delivered, session.previousCode);
                train.repeatFrame = delivered.size() >= 3 && delivered.size() <= 6;
            } else {
                ++session.skipped;
            }
            session.previousCode = train.report.code;
            each(train);
        }
        items.clear();
    };
    std::string line;
    while (std::getline(in, line)) {
        reader.AddLine(line, items);
        decode();
    }
    reader.Finish(items);
    decode();
}

std::vector<DecodedTrain> DecodeInput(std::istream& in, DecodeSession& session) {
    std::vector<DecodedTrain> decoded;
    DecodeInput(in, session, [&](const DecodedTrain& train) { decoded.push_back(train); });
    return decoded;
}

std::string SkipMessage(const std::string& inputName, const DecodedTrain& train) {
    return inputName + ":" + std::to_string(train.line) + ": " + train.error;
}

void DecodeStream(std::istream& in, const std::string& inputName, DecodeSession& session, std::ostream& out,
                  std::ostream& err) {
    DecodeInput(in, session, [&](const DecodedTrain& train) {
        if (!train.error.empty())
            err << SkipMessage(inputName, train) << "\n";
        out << FormatReport(train.report, session.json, train.name) << std::endl;
    });
}

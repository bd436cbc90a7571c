#include "tools/orvik_decode/decode_report.h"

#include <istream>
#include <ostream>

#include "capture_import/capture_reader.h"

namespace {

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

std::string FormatReport(const DecodeReport& report, bool json, const std::string& name,
                         const std::string& skipped) {
    char code[CodeDigits + 1];
    CodeText(report.code, code);
    const std::string coding = report.code == 0 ? "-" : CodingKindText(report.code);
    const std::string bits = std::to_string(BitCountOf(report.code));
    if (json) {
        // The code, the coding and the signature need no escaping; a button name and a reason may.
        return std::string("{\"code\":\"") + code + "\",\"coding\":\"" + coding + "\",\"bits\":" + bits +
               ",\"raw\":\"" + report.rawSignature + "\"" +
               (name.empty() ? "" : ",\"name\":\"" + JsonText(name) + "\"") +
               (skipped.empty() ? "" : ",\"skipped\":\"" + JsonText(skipped) + "\"") + "}";
    }
    return std::string(code) + "\t" + coding + "\t" + bits + "\t" + report.rawSignature +
           (name.empty() ? "" : "\t" + name);
}

void DecodeInput(std::istream& in, DecodeSession& session,
                 const std::function<void(const DecodedTrain&)>& each, InputInfo* info,
                 const std::function<void()>& waiting) {
    CaptureReader reader;
    CaptureLines lines(in);
    std::vector<ImportedButton> buttons;
    auto decode = [&] {
        for (const ImportedButton& button : buttons)
            each(DecodeButton(button, session));
        buttons.clear();
    };
    std::string line;
    bool overlong = false;
    while (reader.NotACaptureLine() == 0 && lines.Next(line, overlong)) {
        if (overlong)
            reader.AddOverlongLine(buttons);
        else
            reader.AddLine(line, buttons);
        decode();
        if (waiting && in.rdbuf()->in_avail() <= 0)
            waiting();
    }
    reader.Finish(buttons);
    decode();
    if (info != nullptr) {
        info->remoteNames = reader.RemoteNames();
        info->notACaptureLine = reader.NotACaptureLine();
        info->strayLines = reader.StrayLines();
        info->firstStrayLine = reader.FirstStrayLine();
    }
}

std::vector<DecodedTrain> DecodeInput(std::istream& in, DecodeSession& session) {
    std::vector<DecodedTrain> decoded;
    DecodeInput(in, session, [&](const DecodedTrain& train) { decoded.push_back(train); });
    return decoded;
}

std::string SkipMessage(const std::string& inputName, const DecodedTrain& train) {
    return inputName + ":" + std::to_string(train.line) + ": " +
           (train.name.empty() ? "" : "\"" + train.name + "\": ") + train.error;
}

std::string NotACaptureMessage(const std::string& inputName, int line) {
    return inputName + ":" + std::to_string(line) + ": " + kNotACaptureText;
}

void DecodeStream(std::istream& in, const std::string& inputName, DecodeSession& session, std::ostream& out,
                  std::ostream& err, bool json) {
    InputInfo info;
    DecodeInput(
        in, session,
        [&](const DecodedTrain& train) {
            if (!train.error.empty())
                err << SkipMessage(inputName, train) << "\n";
            out << FormatReport(train.report, json, train.name, EnglishText(WhyNothing(train))) << "\n";
        },
        &info, [&] { out.flush(); });
    if (info.notACaptureLine != 0)
        err << NotACaptureMessage(inputName, info.notACaptureLine) << "\n";
    out.flush();
}

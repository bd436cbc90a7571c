#include "tests/wine/remote_scripts.h"

#include <algorithm>

#include "decoding/raw_signature.h"
#include "receiver/sample_conversion.h"

namespace {

constexpr int32_t kScaler = 8533;

} // namespace

KeyCode CodeOf(const Button& button) {
    return button.coding == Coding::BiPhase ? Rc5Code(button.address, button.command)
                                            : NecCode(button.address, button.command);
}

std::string CodeTextOf(KeyCode code) {
    char text[CodeDigits + 1];
    CodeText(code, text);
    return text;
}

std::string SettingsFile(const TestSettings& s) {
    return "[Main]\r\nRawMode=" + std::to_string(s.rawMode) + "\r\nWait1=" + std::to_string(s.wait1) +
           "\r\nWaitN=" + std::to_string(s.waitN) + "\r\nWaitR=" + std::to_string(s.waitR) +
           "\r\n[Receiver]\r\nMode=0\r\nBufferSize=" + std::to_string(s.bufferSize) +
           "\r\nScaler=" + std::to_string(kScaler) + "\r\nPollFreq=" + std::to_string(s.pollFreq) +
           "\r\nBlinkMode=" + std::to_string(s.blinkMode) + "\r\n";
}

std::string DefinitionFile(const std::string& remote, const std::vector<Button>& buttons,
                           const std::vector<RawEntry>& raw) {
    std::string text = "[Main]\r\nName=" + remote + "\r\n[Code]\r\n";
    for (const Button& button : buttons)
        if (remote == button.remote)
            text += CodeTextOf(CodeOf(button)) + "=" + button.key + "\r\n";
    text += "[Raw]\r\n";
    for (size_t i = 0; i < raw.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        text += "Key" + n + "=" + raw[i].key + "\r\nRaw" + n + "=" + raw[i].pattern + "\r\n";
    }
    return text;
}

std::vector<int32_t> FirstFrame(const Button& button, Jitter& jitter) {
    return button.coding == Coding::BiPhase ? Rc5Frame(button.address, button.command, false, jitter)
                                            : NecFrame(button.address, button.command, jitter);
}

std::string RawSignatureOf(const std::vector<int32_t>& durations, const TestSettings& settings) {
    const std::vector<uint8_t> bytes = ToModel0Bytes(durations, kScaler);
    uint8_t samples[kSampleBufferSize] = {};
    std::copy_n(bytes.begin(), std::min<size_t>(bytes.size(), std::size(samples)), samples);
    SettingsValues values;
    values.Mode = 0;
    values.Scaler = kScaler;
    values.BufferSize = settings.bufferSize;
    PulseTrain train{};
    ConvertSamples(samples, static_cast<int32_t>(bytes.size()), values, train);
    uint8_t signature[kRawSignatureCapacity] = {};
    const int32_t length = BuildRawSignature(train.durations, train.count, signature);
    std::string text(2 * static_cast<size_t>(length) + 1, '\0');
    RawSignatureToText(signature, length, text.data());
    text.pop_back();
    return text;
}

ScriptText& ScriptText::Step(const std::string& step) {
    text_ += step + "\n";
    return *this;
}

ScriptText& ScriptText::Wait(int ms) {
    return Step("wait " + std::to_string(ms));
}

ScriptText& ScriptText::Send(const std::vector<int32_t>& durations) {
    std::string step = "send";
    for (uint8_t b : ToModel0Bytes(durations, kScaler))
        step += " " + std::to_string(b);
    return Step(step);
}

ScriptText& ScriptText::Hold(const Button& button, int frames) {
    Send(FirstFrame(button, jitter_));
    for (int i = 1; i < frames; ++i) {
        if (button.coding == Coding::BiPhase) {
            Wait(kBiPhaseIntervalMs);
            Send(Rc5Frame(button.address, button.command, false, jitter_));
        } else {
            Wait(kRepeatFrameIntervalMs);
            Send(NecRepeat(jitter_));
        }
    }
    return *this;
}

std::vector<std::pair<std::string, std::string>> RemoteFiles(const TestSettings& settings) {
    const std::vector<Button> defined = {kTvPower, kTvLouder, kAmpPlay, kAmpMute, kAmpPlayOtherCode};
    return {{"OrvikPlug.ini", SettingsFile(settings)},
            {"TV.cfg", DefinitionFile("TV", defined)},
            {"Amplifier.cfg", DefinitionFile("Amplifier", defined)}};
}

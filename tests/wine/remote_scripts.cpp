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

std::string DefinitionFile(const std::string& remote, const std::vector<Button>& buttons,
                           const std::vector<RawEntry>& raw) {
    std::vector<DefinedKey> keys;
    for (const Button& button : buttons)
        if (remote == button.remote)
            keys.push_back({CodeOf(button), button.key});
    return DefinitionFileText(remote, keys, raw);
}

std::vector<int32_t> FirstFrame(const Button& button, Jitter& jitter) {
    return button.coding == Coding::BiPhase ? Rc5Frame(button.address, button.command, false, jitter)
                                            : NecFrame(button.address, button.command, jitter);
}

std::vector<int32_t> ReceivedTrain(const std::vector<int32_t>& durations, const TestSettings& settings) {
    const std::vector<uint8_t> bytes = ToModel0Bytes(durations, kScaler);
    uint8_t samples[kSampleBufferSize] = {};
    std::copy_n(bytes.begin(), std::min<size_t>(bytes.size(), std::size(samples)), samples);
    SettingsValues values;
    values.Mode = 0;
    values.Scaler = kScaler;
    values.BufferSize = settings.bufferSize;
    PulseTrain train{};
    ConvertSamples(samples, static_cast<int32_t>(bytes.size()), values, train);
    return std::vector<int32_t>(train.durations, train.durations + train.count);
}

std::string RawSignatureOf(const std::vector<int32_t>& durations, const TestSettings& settings) {
    const std::vector<int32_t> train = ReceivedTrain(durations, settings);
    uint8_t signature[kRawSignatureCapacity] = {};
    const int32_t length = BuildRawSignature(train.data(), static_cast<int32_t>(train.size()), signature);
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

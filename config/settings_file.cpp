#include "config/settings_file.h"

#include <cstdint>
#include <string>

#include "config/ini_file.h"
#include "config/module_paths.h"

namespace {

constexpr char kMain[] = "Main";
constexpr char kReceiver[] = "Receiver";
constexpr char kLastRemoteControl[] = "LastRemoteControl";

constexpr int32_t kMaxBufferSize = 512;
constexpr int32_t kDefaultPollFreq = 20;
constexpr int32_t kFallbackPollFreq = 50;
constexpr int32_t kMaxPollFreq = 100;
constexpr int32_t kMaxBlinkMode = 3;
constexpr int32_t kFallbackBlinkMode = 1;

int32_t ReadInteger(const IniDocument& doc, const char* section, const char* key, int32_t fallback) {
    // An absent key reads as "", which is no number either.
    int32_t value = 0;
    return ParseDecimalInt32(doc.GetString(section, key, ""), &value) ? value : fallback;
}

void WriteInteger(IniDocument& doc, const char* section, const char* key, int32_t value) {
    doc.SetString(section, key, std::to_string(value));
}

// The file stores a frequency; Settings hold its period. A period that is not positive cannot
// come from the reader or the dialog; it is written as 0, which the reader corrects.
int32_t PollFreqOf(int32_t pollInterval) {
    return pollInterval > 0 ? 1000 / pollInterval : 0;
}

} // namespace

SettingsValues ReadSettings(const IniDocument& doc, const SettingsValues& current) {
    SettingsValues v = current;
    v.RawMode = ReadInteger(doc, kMain, "RawMode", current.RawMode ? 1 : 0) != 0;
    v.Wait1 = ReadInteger(doc, kMain, "Wait1", current.Wait1);
    v.WaitN = ReadInteger(doc, kMain, "WaitN", current.WaitN);
    v.WaitR = ReadInteger(doc, kMain, "WaitR", current.WaitR);
    // Only the low eight bits are kept, as the field is one byte.
    v.Mode = static_cast<int8_t>(static_cast<uint8_t>(ReadInteger(doc, kReceiver, "Mode", 0) & 0xFF));
    v.Scaler = ReadInteger(doc, kReceiver, "Scaler", current.Scaler);
    const int32_t bufferSize = ReadInteger(doc, kReceiver, "BufferSize", current.BufferSize);
    v.BufferSize = bufferSize > kMaxBufferSize ? kMaxBufferSize : bufferSize;
    int32_t pollFreq = ReadInteger(doc, kReceiver, "PollFreq", kDefaultPollFreq);
    if (pollFreq <= 0 || pollFreq > kMaxPollFreq)
        pollFreq = kFallbackPollFreq;
    v.PollInterval = 1000 / pollFreq;
    const int32_t blinkMode = ReadInteger(doc, kReceiver, "BlinkMode", current.BlinkMode);
    v.BlinkMode =
        static_cast<int8_t>(blinkMode < 0 || blinkMode > kMaxBlinkMode ? kFallbackBlinkMode : blinkMode);
    return v;
}

void WriteSettings(IniDocument& doc, const SettingsValues& v, std::string_view lastRemoteControl) {
    doc.SetString(kMain, kLastRemoteControl, lastRemoteControl);
    WriteInteger(doc, kMain, "RawMode", v.RawMode ? 1 : 0);
    WriteInteger(doc, kMain, "Wait1", v.Wait1);
    WriteInteger(doc, kMain, "WaitN", v.WaitN);
    WriteInteger(doc, kMain, "WaitR", v.WaitR);
    WriteInteger(doc, kReceiver, "Mode", v.Mode);
    WriteInteger(doc, kReceiver, "BufferSize", v.BufferSize);
    WriteInteger(doc, kReceiver, "Scaler", v.Scaler);
    WriteInteger(doc, kReceiver, "PollFreq", PollFreqOf(v.PollInterval));
    WriteInteger(doc, kReceiver, "BlinkMode", v.BlinkMode);
}

SettingsValues ReadSettingsFile(FileSystem& fs, const std::string& modulePath,
                                const SettingsValues& current) {
    IniDocument doc;
    // Not read is not missing: read as empty, Mode and PollFreq would fall back to their defaults
    // and the next save would store those.
    if (LoadIniFile(fs, SettingsFileName(modulePath), &doc) == ReadResult::Failed)
        return current;
    return ReadSettings(doc, current);
}

WriteResult WriteSettingsFile(FileSystem& fs, const std::string& modulePath, const SettingsValues& values,
                              std::string_view lastRemoteControl) {
    const std::string path = SettingsFileName(modulePath);
    IniDocument doc;
    if (LoadIniFile(fs, path, &doc) == ReadResult::Failed)
        return WriteResult::NotWritten;
    WriteSettings(doc, values, lastRemoteControl);
    return WriteConfigFile(fs, path, doc.Serialize());
}

std::string ReadLastRemoteControl(FileSystem& fs, const std::string& modulePath, std::string_view current) {
    if (!KnowsModuleFolder(modulePath))
        return std::string(current);
    IniDocument doc;
    LoadIniFile(fs, SettingsFileName(modulePath), &doc);
    return doc.GetString(kMain, kLastRemoteControl, current);
}

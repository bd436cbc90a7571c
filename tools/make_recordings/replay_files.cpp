#include "replay_files.h"

std::string SettingsFileText(const ReplaySettings& s) {
    return "[Main]\r\nRawMode=" + std::to_string(s.rawMode) + "\r\nWait1=" + std::to_string(s.wait1) +
           "\r\nWaitN=" + std::to_string(s.waitN) + "\r\nWaitR=" + std::to_string(s.waitR) +
           "\r\n[Receiver]\r\nMode=0\r\nBufferSize=" + std::to_string(s.bufferSize) +
           "\r\nScaler=" + std::to_string(s.scaler) + "\r\nPollFreq=" + std::to_string(s.pollFreq) +
           "\r\nBlinkMode=" + std::to_string(s.blinkMode) + "\r\n";
}

std::string DefinitionFileText(const std::string& remote, const std::vector<DefinedKey>& keys,
                               const std::vector<RawEntry>& raw) {
    std::string text = "[Main]\r\nName=" + remote + "\r\n[Code]\r\n";
    for (const DefinedKey& key : keys)
        text += CodeTextOf(key.code) + "=" + key.name + "\r\n";
    if (!raw.empty())
        text += "[Raw]\r\n";
    for (size_t i = 0; i < raw.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        text += "Key" + n + "=" + raw[i].key + "\r\nRaw" + n + "=" + raw[i].pattern + "\r\n";
    }
    return text;
}

std::string CodeTextOf(KeyCode code) {
    char text[CodeDigits + 1];
    CodeText(code, text);
    return text;
}

#pragma once
// Simulator scripts and configuration files made from synthetic remote-control frames, so that
// the scenarios send what real remotes send and know the codes and signatures to expect.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "decoding/key_code.h"
#include "ir_synth.h"
#include "replay_files.h"

enum class Coding { BiPhase, PulseDistance };

struct Button {
    const char* remote; // remote name in its definition file
    const char* key;    // key name there
    Coding coding;
    uint8_t address;
    uint8_t command;
};

KeyCode CodeOf(const Button& button);

// The settings file the scenarios share, with the values a test may change.
using TestSettings = ReplaySettings;
inline std::string SettingsFile(const TestSettings& settings) {
    return SettingsFileText(settings);
}

// A remote definition file: the remote's name, the [Code] entries of the given buttons that
// belong to it, and numbered [Raw] entries.
std::string DefinitionFile(const std::string& remote, const std::vector<Button>& buttons,
                           const std::vector<RawEntry>& raw = {});

// A pulse-distance remote repeats a held button by repeat frames, 108 ms apart; a bi-phase remote
// sends its whole frame again every 114 ms.
constexpr int kRepeatFrameIntervalMs = 108;
constexpr int kBiPhaseIntervalMs = 114;

// The frame a button sends first, with the builder's jitter.
std::vector<int32_t> FirstFrame(const Button& button, Jitter& jitter);

// The pulse train the plug-in makes of a frame as the receiver delivers it: model-0 sample bytes
// at the scaler of the settings file, converted with the settings' buffer size.
std::vector<int32_t> ReceivedTrain(const std::vector<int32_t>& durations, const TestSettings& settings);

// The raw signature text the plug-in builds from that train.
std::string RawSignatureOf(const std::vector<int32_t>& durations, const TestSettings& settings);

// Script text for the receiver simulator, one step per line; durations go out as the sample bytes
// of a model-0 receiver.
class ScriptText {
  public:
    ScriptText& Step(const std::string& step);
    ScriptText& Wait(int ms);
    ScriptText& Send(const std::vector<int32_t>& durations);
    // A button held for `frames` frames (the first one included), as its remote sends them.
    ScriptText& Hold(const Button& button, int frames);
    const std::string& Text() const { return text_; }

  private:
    Jitter jitter_;
    std::string text_;
};

// The scenarios' two remotes. TV.cfg and Amplifier.cfg define every button here but the two marked
// undefined; Play has a second code of another coding under the same name.
inline constexpr Button kTvPower{"TV", "Power", Coding::PulseDistance, 0x04, 0x08};
// "Громче" in code page 1251: key names are bytes, passed on as they stand.
inline constexpr Button kTvLouder{"TV", "\xC3\xF0\xEE\xEC\xF7\xE5", Coding::PulseDistance, 0x04, 0x02};
inline constexpr Button kTvTeletext{"TV", "Teletext", Coding::PulseDistance, 0x04, 0x55}; // undefined
inline constexpr Button kAmpPlay{"Amplifier", "Play", Coding::BiPhase, 0x10, 0x35};
inline constexpr Button kAmpMute{"Amplifier", "Mute", Coding::BiPhase, 0x10, 0x0D};
inline constexpr Button kAmpEject{"Amplifier", "Eject", Coding::BiPhase, 0x10, 0x2D}; // undefined
inline constexpr Button kAmpPlayOtherCode{"Amplifier", "Play", Coding::PulseDistance, 0x10, 0x35};

// The settings file and both definition files, as (name, content) for the plug-in's folder.
std::vector<std::pair<std::string, std::string>> RemoteFiles(const TestSettings& settings);

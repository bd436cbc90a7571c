// orvik-make-recordings: writes the main job's replay into a folder — a receiver-simulator script
// with two remotes' buttons pressed and held, their remote definition files and a settings file;
// or, with "real", a script that presses every button of real capture files once, as a model-0
// receiver delivers them, and the settings file for it.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "ir_synth.h"
#include "receiver/receiver.h"
#include "replay_files.h"
#include "capture_import/capture_reader.h"

namespace {

constexpr int32_t kScaler = 8533;

struct Button {
    const char* remote;
    const char* name;
    bool biPhase;
    uint8_t address;
    uint8_t command;
    bool inDefinitionFile;
};

const Button kButtons[] = {
    {"TV", "Power", false, 0x04, 0x08, true},      {"TV", "Volume+", false, 0x04, 0x02, true},
    {"TV", "Volume-", false, 0x04, 0x03, true},    {"TV", "Teletext", false, 0x04, 0x55, false},
    {"Amplifier", "Mute", true, 0x10, 0x0D, true}, {"Amplifier", "Play", true, 0x10, 0x35, true},
};

class Script {
  public:
    void Send(const std::vector<int32_t>& durations) { text_ += SimSendStep(durations, kScaler); }
    void Wait(int ms) { text_ += "wait " + std::to_string(ms) + "\n"; }
    void Comment(const std::string& c) { text_ += "# " + c + "\n"; }
    const std::string& Text() const { return text_; }

  private:
    std::string text_;
};

// A pulse-distance remote sends its frame once and then repeat frames every 108 ms.
void PressNec(Script& s, Jitter& j, const Button& b, int repeats) {
    s.Comment(std::string(b.remote) + " " + b.name + ", " + std::to_string(repeats) + " repeat frames");
    s.Send(NecFrame(b.address, b.command, j));
    for (int i = 0; i < repeats; ++i) {
        s.Wait(108);
        s.Send(NecRepeat(j));
    }
}

// A bi-phase remote sends the whole frame every 114 ms; the toggle bit changes with each press.
void PressRc5(Script& s, Jitter& j, const Button& b, int frames, bool toggle) {
    s.Comment(std::string(b.remote) + " " + b.name + ", " + std::to_string(frames) + " frames");
    for (int i = 0; i < frames; ++i) {
        if (i > 0)
            s.Wait(114);
        s.Send(Rc5Frame(b.address, b.command, toggle, j));
    }
}

bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

std::string DefinitionFile(const char* remote) {
    std::vector<DefinedKey> keys;
    for (const Button& b : kButtons) {
        if (b.inDefinitionFile && std::string(b.remote) == remote)
            keys.push_back(
                {b.biPhase ? Rc5Code(b.address, b.command) : NecCode(b.address, b.command), b.name});
    }
    return DefinitionFileText(remote, keys);
}

// Every named train of the capture files, one press each: the sample bytes of one driver read
// (at most 512), then time for the release. A whole read is let through (BufferSize 512), as
// orvik-decode --model 0 assumes when it writes the remote definition files for them.
int RealReplay(const std::string& folder, const std::vector<std::string>& files) {
    Script s;
    s.Wait(300);
    for (const std::string& path : files) {
        std::ifstream in(path);
        if (!in) {
            std::fprintf(stderr, "orvik-make-recordings: cannot read %s\n", path.c_str());
            return 1;
        }
        CaptureReader reader;
        std::vector<ImportedButton> items;
        for (std::string line; std::getline(in, line);)
            reader.AddLine(line, items);
        reader.Finish(items);
        for (const ImportedButton& item : items) {
            if (!item.skipped.empty() || item.durations.empty())
                continue;
            const size_t delivered = std::min<size_t>(item.durations.size(), kSampleBufferSize);
            s.Comment(item.name);
            s.Send(std::vector<int32_t>(item.durations.begin(), item.durations.begin() + delivered));
            s.Wait(400);
        }
    }
    ReplaySettings settings;
    settings.bufferSize = kSampleBufferSize;
    if (!WriteFile(folder + "/real.sim", s.Text()) ||
        !WriteFile(folder + "/OrvikPlug.ini", SettingsFileText(settings))) {
        std::fprintf(stderr, "orvik-make-recordings: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "real")
        return RealReplay(argv[2], std::vector<std::string>(argv + 3, argv + argc));
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvik-make-recordings OUTPUT_FOLDER\n"
                             "       orvik-make-recordings real OUTPUT_FOLDER CAPTURE_FILE...\n");
        return 2;
    }
    const std::string folder = argv[1];
    Jitter jitter;
    Script s;
    s.Wait(300);
    PressNec(s, jitter, kButtons[0], 0); // a short tap: press and release only
    s.Wait(600);
    PressNec(s, jitter, kButtons[1], 9); // held about a second: press, repeats, release
    s.Wait(600);
    PressRc5(s, jitter, kButtons[4], 2, false);
    s.Wait(600);
    PressRc5(s, jitter, kButtons[5], 8, true);
    s.Wait(150); // Play let go, Volume- pressed before its release
    PressNec(s, jitter, kButtons[2], 3);
    s.Wait(600);
    PressNec(s, jitter, kButtons[3], 2); // a button the definition files do not know
    s.Wait(600);

    const std::string settings = SettingsFileText(ReplaySettings{});
    const bool ok = WriteFile(folder + "/replay.sim", s.Text()) &&
                    WriteFile(folder + "/TV.cfg", DefinitionFile("TV")) &&
                    WriteFile(folder + "/Amplifier.cfg", DefinitionFile("Amplifier")) &&
                    WriteFile(folder + "/OrvikPlug.ini", settings);
    if (!ok) {
        std::fprintf(stderr, "orvik-make-recordings: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}

#pragma once
// What a benchmark run puts beside the plug-in: the receiver simulator's script, the settings
// file and a remote definition file that names the buttons pressed.
#include <cstdint>
#include <string>

struct BenchFiles {
    std::string script;      // the simulator's script
    std::string settings;    // OrvikPlug.ini
    std::string definitions; // Bench.cfg
    int64_t scriptMs = 0;    // when the script's last step is due
};

// presses separate single frames, alternately of a pulse-distance and a bi-phase button, each
// followed by more silence than the release takes, so every frame is a new press; polled 100
// times a second.
BenchFiles PressRun(int presses);

// The settings alone, polling pollFreq times a second: for idle runs, whose script is "idle 2".
std::string BenchSettings(int pollFreq);

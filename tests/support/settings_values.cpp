#include "support/settings_values.h"

SettingsValues UnusualSettings() {
    SettingsValues v;
    v.RawMode = true;
    v.Wait1 = 450;
    v.WaitN = 150;
    v.WaitR = 250;
    v.Mode = 1;
    v.Scaler = 2133;
    v.BufferSize = 108;
    v.PollInterval = 40;
    v.BlinkMode = 3;
    return v;
}

std::string Describe(const SettingsValues& v) {
    return "RawMode=" + std::to_string(v.RawMode) + " Wait1=" + std::to_string(v.Wait1) +
           " WaitN=" + std::to_string(v.WaitN) + " WaitR=" + std::to_string(v.WaitR) +
           " Mode=" + std::to_string(v.Mode) + " Scaler=" + std::to_string(v.Scaler) +
           " BufferSize=" + std::to_string(v.BufferSize) + " PollInterval=" + std::to_string(v.PollInterval) +
           " BlinkMode=" + std::to_string(v.BlinkMode);
}

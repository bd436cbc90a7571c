#include "config/settings.h"

SettingsStore Settings;

SettingsValues SettingsStore::Snapshot() const {
    constexpr auto r = std::memory_order_relaxed;
    SettingsValues v;
    v.RawMode = RawMode.load(r);
    v.Wait1 = Wait1.load(r);
    v.WaitN = WaitN.load(r);
    v.WaitR = WaitR.load(r);
    v.Mode = Mode.load(r);
    v.Scaler = Scaler.load(r);
    v.BufferSize = BufferSize.load(r);
    v.PollInterval = PollInterval.load(r);
    v.BlinkMode = BlinkMode.load(r);
    return v;
}

void SettingsStore::Assign(const SettingsValues& v) {
    constexpr auto r = std::memory_order_relaxed;
    RawMode.store(v.RawMode, r);
    Wait1.store(v.Wait1, r);
    WaitN.store(v.WaitN, r);
    WaitR.store(v.WaitR, r);
    Mode.store(v.Mode, r);
    Scaler.store(v.Scaler, r);
    BufferSize.store(v.BufferSize, r);
    PollInterval.store(v.PollInterval, r);
    BlinkMode.store(v.BlinkMode, r);
}

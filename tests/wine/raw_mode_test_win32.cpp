// Raw mode end to end: the plug-in reduces each received frame to a signature and names the button
// by the [Raw] entry whose signature matches, instead of decoding it.
#include <gtest/gtest.h>

#include <optional>

#include "decoding/raw_signature.h"
#include "tests/wine/key_events_win32.h"
#include "tests/wine/remote_scripts.h"
#include "tests/wine/scenario_checks_win32.h"

namespace {

// A [Raw] entry: key name, and the button whose first frame gives the stored signature.
struct StoredRaw {
    const char* key;
    Button signatureOf;
};

struct Reported {
    std::string key;
    std::string remote;
    std::string code;
};

struct RawCase {
    const char* name;
    Button sent;
    int frames; // bi-phase: the same frame again and again; pulse distance: a frame, then repeat frames
    std::vector<StoredRaw> tvRaw;
    std::vector<StoredRaw> amplifierRaw;
    std::optional<Reported> reported; // nothing: no key message at all
};

class RawMode : public testing::TestWithParam<RawCase> {};

const TestSettings kRawSettings = [] {
    TestSettings s;
    s.rawMode = 1;
    return s;
}();

std::vector<int32_t> FrameOf(const Button& button) {
    Jitter jitter;
    return FirstFrame(button, jitter);
}

std::vector<RawEntry> RawEntries(const std::vector<StoredRaw>& stored) {
    std::vector<RawEntry> entries;
    for (const StoredRaw& s : stored)
        entries.push_back({s.key, RawSignatureOf(FrameOf(s.signatureOf), kRawSettings)});
    return entries;
}

std::string HoldScript(const RawCase& c) {
    Jitter jitter;
    const std::vector<int32_t> frame = FrameOf(c.sent);
    ScriptText script;
    script.Wait(300).Send(frame);
    for (int i = 1; i < c.frames; ++i) {
        if (c.sent.coding == Coding::BiPhase)
            script.Wait(kBiPhaseIntervalMs).Send(frame);
        else
            script.Wait(kRepeatFrameIntervalMs).Send(NecRepeat(jitter));
    }
    return script.Wait(100).Text();
}

} // namespace

// A stored signature names the button for press, repeats and release (repeat frames continue it);
// a signature no entry matches, with the dialog closed, reports nothing, and nor do the repeat
// frames after it: they continue only a button that was matched.
TEST_P(RawMode, FindsTheStoredSignature) {
    const RawCase& c = GetParam();
    const std::string sentSignature = RawSignatureOf(FrameOf(c.sent), kRawSettings);
    ASSERT_FALSE(sentSignature.empty());
    for (const auto* stored : {&c.tvRaw, &c.amplifierRaw})
        for (const StoredRaw& s : *stored)
            ASSERT_EQ(SameRawSignature(RawSignatureOf(FrameOf(s.signatureOf), kRawSettings).c_str(),
                                       sentSignature.c_str()),
                      CodeOf(s.signatureOf) == CodeOf(c.sent))
                << s.key << ": the frames must differ in their signatures exactly when they differ";

    const std::vector<Button> defined = {kTvPower, kAmpPlay, kAmpMute};
    Scenario scenario{Driver::Simulator,
                      {},
                      {"open:Hall", "start", "wait:1800", "sim-log", "stop", "close"},
                      {{"OrvikPlug.ini", SettingsFile(kRawSettings)},
                       {"TV.cfg", DefinitionFile("TV", defined, RawEntries(c.tvRaw))},
                       {"Amplifier.cfg", DefinitionFile("Amplifier", defined, RawEntries(c.amplifierRaw))}}};
    UseSimScript(scenario, HoldScript(c));
    HostRun run = RunHost(scenario);
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    ASSERT_EQ(HandOverTimes(run).size(), static_cast<size_t>(c.frames));
    EXPECT_EQ(KeySequenceFaults(run), std::vector<std::string>{});
    const std::vector<KeyEvent> events = KeyEvents(run);
    if (!c.reported) {
        EXPECT_TRUE(events.empty());
        return;
    }
    EXPECT_EQ(PressesAndReleases(events),
              (std::vector<std::string>{"press " + c.reported->key, "release " + c.reported->key}));
    EXPECT_GE(events.size(), 3u) << "repeats while the frames keep coming";
    for (const KeyEvent& e : events) {
        EXPECT_EQ(e.key, c.reported->key);
        EXPECT_EQ(e.remote, c.reported->remote);
        EXPECT_EQ(e.code, c.reported->code);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Signatures, RawMode,
    testing::Values(
        RawCase{"bi_phase_key_with_code",
                kAmpPlay,
                6,
                {},
                {{"Play", kAmpPlay}},
                Reported{"Play", "Amplifier", CodeTextOf(CodeOf(kAmpPlay))}},
        RawCase{"second_entry",
                kAmpPlay,
                6,
                {},
                {{"Mute", kAmpMute}, {"Play", kAmpPlay}},
                Reported{"Play", "Amplifier", CodeTextOf(CodeOf(kAmpPlay))}},
        // A raw key without a [Code] entry gets a made-up code, the first one 1.
        RawCase{"pulse_distance_key_without_code",
                kTvTeletext,
                8,
                {{"Teletext", kTvTeletext}},
                {},
                Reported{"Teletext", "TV", "0000000000000001"}},
        RawCase{"unmatched_reports_nothing", kAmpPlay, 6, {}, {{"Mute", kAmpMute}}, std::nullopt},
        RawCase{"unmatched_then_repeat_frames", kTvTeletext, 8, {{"Power", kTvPower}}, {}, std::nullopt}),
    [](const testing::TestParamInfo<RawCase>& info) { return info.param.name; });

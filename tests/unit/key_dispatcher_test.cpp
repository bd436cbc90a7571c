#include "decoding/key_dispatcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "config/key_table.h"
#include "decoding/raw_signature.h"

namespace {

constexpr KeyCode kAllBits = ~KeyCode{0};

// What the sampling thread hands over at a moment of the script.
struct Event {
    enum Kind { Frame, RawSignatureFrame, RawRepeatFrame, Stop, OpenSetup };
    // When it lands: during a wait (ending it), as a hold wait times out, between the
    // dispatcher's first look at SignalFresh and its reset of the event, while the host
    // handles a key message, or just after the dispatcher has looked at SetupOpen.
    enum Timing { InWait, WithTimeOut, DuringReset, DuringSend, AfterLook };
    uint32_t at;
    Kind kind;
    KeyCode code = 0;                 // Frame
    std::vector<uint8_t> signature{}; // RawSignatureFrame
    Timing timing = InWait;
};

struct Sent {
    uint32_t at;
    int32_t lParam;
    std::string what; // "lParam key/remote/code text"
};

// Plays the sampling thread, the event and the clock: time moves only while the dispatcher waits,
// and a scripted hand-off ends the wait at its moment, as the real event would.
class ScriptedEnvironment : public DispatchEnvironment {
  public:
    ScriptedEnvironment(uint32_t start, const KeyEventRecord& record) : now_(start), record_(record) {}

    void Script(std::vector<Event> script, const KeyDispatcher* dispatcher) {
        script_ = std::move(script);
        dispatcher_ = dispatcher;
        next_ = 0;
        stop_ = false;
        waits_ = 0;
    }

    bool setupOpen = false;
    bool dialogExists = true;
    bool hostHolds = false;         // as the dispatcher publishes it
    bool hostHoldsWasWrong = false; // a key message was sent while it told otherwise
    std::vector<Sent> sent;
    std::vector<std::string> posted; // "1024 hi:lo" or "1025 w:l"
    int lostWakeUps = 0; // waits begun with the event reset and a hand-off, a stop or Setup waiting
    uint32_t shortestWait = kWaitForever;

    uint32_t Now() override { return now_; }
    bool StopRequested() override { return stop_; }
    bool SetupOpen() override {
        const bool open = setupOpen;
        if (NextIs(Event::AfterLook) && script_[next_].at <= now_)
            Deliver(script_[next_++]);
        return open;
    }
    bool DialogExists() override { return dialogExists; }
    void PublishHostHolds(bool holds) override { hostHolds = holds; }
    void SendKeyEvent(int32_t lParam) override {
        if (!hostHolds)
            hostHoldsWasWrong = true;
        sent.push_back(Sent{now_, lParam,
                            std::to_string(lParam) + " " + record_.keyName + "/" +
                                dispatcher_->RemoteNameBuffer() + "/" + dispatcher_->CodeTextBuffer()});
        if (NextIs(Event::DuringSend) && script_[next_].at <= now_)
            Deliver(script_[next_++]);
    }
    void PostToDialog(uint32_t message, uint32_t wParam, uint32_t lParam) override {
        char text[32];
        std::snprintf(text, std::size(text), "%u %08X:%08X", message, wParam, lParam);
        posted.push_back(text);
    }
    void ResetKeySignal() override {
        if (next_ < script_.size() && script_[next_].timing == Event::DuringReset) {
            now_ = script_[next_].at;
            Deliver(script_[next_++]);
        }
        eventSet_ = false;
    }
    WaitOutcome WaitKeySignal(uint32_t timeoutMs) override {
        if ((SignalFresh || stop_ || (setupOpen && hostHolds && timeoutMs == kWaitForever)) && !eventSet_)
            ++lostWakeUps;
        shortestWait = std::min(shortestWait, timeoutMs);
        // A dispatcher that never leaves its hold would run the test for ever.
        if (++waits_ > kMaxWaits)
            stop_ = true;
        if (eventSet_)
            return WaitOutcome::Signalled;
        const bool more = next_ < script_.size() && !NextIs(Event::DuringSend) && !NextIs(Event::AfterLook);
        if (!more && timeoutMs == kWaitForever) { // nothing more will come: Stop
            stop_ = true;
            return WaitOutcome::Signalled;
        }
        if (!more || (timeoutMs != kWaitForever && script_[next_].at - now_ > timeoutMs)) {
            now_ += timeoutMs;
            return WaitOutcome::TimedOut;
        }
        const Event& event = script_[next_++];
        now_ = event.at;
        Deliver(event);
        return event.timing == Event::WithTimeOut ? WaitOutcome::TimedOut : WaitOutcome::Signalled;
    }

  private:
    bool NextIs(Event::Timing timing) const {
        return next_ < script_.size() && script_[next_].timing == timing;
    }
    void Deliver(const Event& event) {
        eventSet_ = true;
        if (event.kind == Event::Stop) {
            stop_ = true;
            return;
        }
        if (event.kind == Event::OpenSetup) {
            setupOpen = true;
            return;
        }
        if (event.kind != Event::Frame) {
            if (!RawArmed) // the sampling thread only shows the batch
                return;
            RawArmed = 0;
            std::copy(event.signature.begin(), event.signature.end(), RawSignature);
            RawSignatureLength = static_cast<int32_t>(event.signature.size());
        }
        SignalCode = event.kind == Event::Frame ? event.code : event.kind == Event::RawRepeatFrame ? 1 : 0;
        SignalDown = 1;
        SignalFresh = 1;
    }

    uint32_t now_;
    const KeyEventRecord& record_;
    const KeyDispatcher* dispatcher_ = nullptr;
    std::vector<Event> script_;
    size_t next_ = 0;
    bool stop_ = false;
    static constexpr int kMaxWaits = 100000;
    int waits_ = 0;
    bool eventSet_ = false;
};

// count frames of one code, every `every` ms from `from`.
std::vector<Event> Frames(KeyCode code, uint32_t from, uint32_t every, int count) {
    std::vector<Event> events;
    for (int i = 0; i < count; ++i)
        events.push_back(Event{from + static_cast<uint32_t>(i) * every, Event::Frame, code});
    return events;
}

std::vector<Event> Join(std::initializer_list<std::vector<Event>> parts) {
    std::vector<Event> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::vector<Event> Raw(std::initializer_list<std::pair<uint32_t, std::vector<uint8_t>>> frames) {
    std::vector<Event> events;
    for (const auto& [at, signature] : frames)
        events.push_back(
            Event{at, signature.empty() ? Event::RawRepeatFrame : Event::RawSignatureFrame, 0, signature});
    return events;
}

constexpr KeyCode kPower = 0x0220000020DF10EFull;
constexpr KeyCode kPlayerPower = 0x0220000010EF10EFull; // "Power" of another remote
constexpr KeyCode kVolume = 0x0220000020DF40BFull;
constexpr KeyCode kToggleA = 0x010E00000000314Cull;
constexpr KeyCode kToggleB = 0x010E00000000394Cull;
constexpr KeyCode kUnknown = 0x0000000000ABCDE0ull;
constexpr KeyCode kLongNames = 0x0310000000001234ull;
constexpr KeyCode kLongNamesToo = 0x0310000000005678ull;
const std::string kLongKey(130, 'k');
const std::string kLongRemote(70, 'r');

// Header 0x12 (one pulse class, two pause classes), three class centres, two class bytes.
const std::vector<uint8_t> kStored = {0x12, 0x30, 0x02, 0x30, 0x02, 0x90, 0x06, 0x1B, 0x64};
const std::vector<uint8_t> kStoredOtherCentres = {0x12, 0x35, 0x02, 0x2A, 0x02, 0x99, 0x06, 0x1B, 0x64};
const std::vector<uint8_t> kUnmatched = {0x12, 0x30, 0x02, 0x30, 0x02, 0x90, 0x06, 0x1B, 0x65};
const std::vector<uint8_t> kStoredTv = {0x12, 0x30, 0x02, 0x30, 0x02, 0x90, 0x06, 0x1B, 0x66};
const std::vector<uint8_t> kRepeat = {};

std::string Text(KeyCode code) {
    char text[CodeDigits + 1];
    CodeText(code, text);
    return text;
}

std::string HexOf(const std::vector<uint8_t>& signature) {
    char text[kRawSignatureTextSize];
    RawSignatureToText(signature.data(), static_cast<int32_t>(signature.size()), text);
    return text;
}

class KeyDispatcherTest : public testing::Test {
  protected:
    void SetUp() override {
        RemoteNames = new StringList;
        CodeTable = new StringList;
        RawTable = new StringList;
        RemoteNames->Add("TV");
        RemoteNames->Add("Player");
        RemoteNames->Add(kLongRemote);
        CodeTable->Add(Text(kPower) + "=Power", 0);
        CodeTable->Add(Text(kVolume) + "= Volume+ ", 0);
        CodeTable->Add(Text(kToggleA) + "=Play", 1);
        CodeTable->Add(Text(kToggleB) + "=Play", 1);
        CodeTable->Add(Text(kLongNames) + "=" + kLongKey, 2);
        CodeTable->Add(Text(kLongNamesToo) + "=" + kLongKey, 2);
        CodeTable->Add(Text(kPlayerPower) + "=Power", 1);
        RawTable->Add(HexOf(kStored), CodeTable->Add("0000000000000002=Mute", 1));
        SignalCode = 0;
        SignalDown = 0;
        SignalFresh = 0;
        RawArmed = 1;
        RawSignatureLength = 0;
        RawSignatureText.Store("");
        std::strcpy(record.instanceName, "REMOTE");
    }
    void TearDown() override {
        delete CodeTable;
        delete RawTable;
        delete RemoteNames;
        CodeTable = RawTable = RemoteNames = nullptr;
    }

    // A new dispatch thread over the script, from tick start.
    ScriptedEnvironment& Play(std::vector<Event> script, uint32_t start = 1000, bool setupOpen = false) {
        env = std::make_unique<ScriptedEnvironment>(start, record);
        env->setupOpen = setupOpen;
        dispatcher = std::make_unique<KeyDispatcher>(*env, settings, record);
        return Resume(std::move(script));
    }
    // The next thread start with the same environment.
    ScriptedEnvironment& Resume(std::vector<Event> script) {
        env->sent.clear();
        env->posted.clear();
        env->Script(std::move(script), dispatcher.get());
        dispatcher->Run();
        return *env;
    }
    void Waits(int32_t wait1, int32_t waitN, int32_t waitR) {
        settings.Wait1 = wait1;
        settings.WaitN = waitN;
        settings.WaitR = waitR;
    }

    SettingsStore settings;
    KeyEventRecord record{};
    std::unique_ptr<ScriptedEnvironment> env;
    std::unique_ptr<KeyDispatcher> dispatcher;
};

std::vector<int32_t> LParams(const std::vector<Sent>& sent) {
    std::vector<int32_t> values;
    for (const Sent& s : sent)
        values.push_back(s.lParam);
    return values;
}

std::vector<std::string> Described(const std::vector<Sent>& sent) {
    std::vector<std::string> lines;
    for (const Sent& s : sent)
        lines.push_back(s.what);
    return lines;
}

// The rules of one held button: press, repeats 1, 2, ... the first no earlier than Wait1 after
// the press and the others no closer than WaitN to each other, one release, all with one name.
void ExpectOneHeldButton(const std::vector<Sent>& sent, uint32_t wait1, uint32_t waitN, const char* what) {
    ASSERT_GE(sent.size(), 2u) << what;
    EXPECT_EQ(sent.front().lParam, kKeyPressed) << what;
    EXPECT_EQ(sent.back().lParam, kKeyReleased) << what;
    for (size_t i = 1; i + 1 < sent.size(); ++i) {
        EXPECT_EQ(sent[i].lParam, static_cast<int32_t>(i)) << what;
        EXPECT_GE(sent[i].at - sent[i - 1].at, i == 1 ? wait1 : waitN) << what << " repeat " << i;
    }
    const auto names = [](const Sent& s) { // key and remote; the code text may change
        return s.what.substr(s.what.find(' ') + 1, s.what.rfind('/') - s.what.find(' ') - 1);
    };
    for (const Sent& s : sent)
        EXPECT_EQ(names(s), names(sent.front())) << what;
}

TEST_F(KeyDispatcherTest, SingleFrameGivesPressAndReleaseWithinWaitRPlusH) {
    std::memset(record.ext, 'x', std::size(record.ext));
    record.value2 = record.zero196 = record.zero200 = 99;
    const int32_t cases[][3] = {{300, 100, 200}, {1000, 50, 120}, {500, 250, 200}};
    for (const auto& c : cases) {
        Waits(c[0], c[1], c[2]);
        const uint32_t hold = static_cast<uint32_t>(std::min(c[1], c[2]));
        const auto& sent = Play({{5000, Event::Frame, kPower}}).sent;
        EXPECT_EQ(Described(sent),
                  (std::vector<std::string>{"0 Power/TV/0220000020DF10EF", "-1 Power/TV/0220000020DF10EF"}));
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0].at, 5000u);
        EXPECT_GE(sent[1].at - 5000, static_cast<uint32_t>(c[2]));
        EXPECT_LE(sent[1].at - 5000, static_cast<uint32_t>(c[2]) + hold);
    }
    EXPECT_EQ(std::memcmp(record.ext, "EXT", 4), 0);
    EXPECT_EQ(record.value2, 2);
    EXPECT_EQ(record.zero196, 0);
    EXPECT_EQ(record.zero200, 0);
    EXPECT_STREQ(record.instanceName, "REMOTE");
}

TEST_F(KeyDispatcherTest, HeldButtonRepeatsOnItsOwnClockWhileFramesArrive) {
    struct {
        const char* name;
        int32_t wait1, waitN, waitR;
        uint32_t frameEvery;
        int frames;
        size_t minRepeats;
    } cases[] = {
        {"defaults, frames every 110 ms", 300, 100, 200, 110, 20, 10},
        {"fast frames", 300, 100, 200, 40, 50, 10},
        {"WaitN larger than WaitR", 300, 500, 200, 110, 40, 5},
        {"Wait1 0", 0, 100, 200, 110, 10, 5},
        {"WaitR 0 counts as 50", 300, 100, 0, 40, 20, 3},
    };
    for (const auto& c : cases) {
        Waits(c.wait1, c.waitN, c.waitR);
        const auto& sent = Play(Frames(kVolume, 0, c.frameEvery, c.frames)).sent;
        ExpectOneHeldButton(sent, static_cast<uint32_t>(c.wait1), static_cast<uint32_t>(c.waitN), c.name);
        EXPECT_GE(sent.size(), c.minRepeats + 2) << c.name;
        EXPECT_EQ(sent.front().what, "0 Volume+/TV/0220000020DF40BF") << c.name; // name trimmed
        const uint32_t silence = sent.back().at - (c.frames - 1) * c.frameEvery;
        const int32_t waitR = std::max(c.waitR, kShortestWaitMs); // as the dialog shows it
        EXPECT_GE(silence, static_cast<uint32_t>(waitR)) << c.name;
        EXPECT_LE(silence, static_cast<uint32_t>(waitR + std::min(c.waitN, waitR))) << c.name;
    }
}

TEST_F(KeyDispatcherTest, EveryHoldCountsItsRepeatsFromOne) {
    const auto& sent = Play(Join({Frames(kPower, 0, 110, 8), Frames(kPower, 2000, 110, 8)})).sent;
    const auto release = std::find_if(sent.begin(), sent.end(), [](const Sent& s) { return s.lParam < 0; });
    ASSERT_NE(release, sent.end());
    ExpectOneHeldButton(std::vector<Sent>(sent.begin(), release + 1), 300, 100, "first hold");
    ExpectOneHeldButton(std::vector<Sent>(release + 1, sent.end()), 300, 100, "second hold");
}

TEST_F(KeyDispatcherTest, WaitOneZeroRepeatsAtTheFirstPassAfterThePress) {
    settings.Wait1 = 0;
    // The first pass after the press is the hold time-out, H = 100 ms later: no frame comes sooner.
    const auto& sent = Play(Frames(kPower, 0, 150, 3)).sent;
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[1].lParam, 1);
    EXPECT_EQ(sent[1].at, 100u);
}

TEST_F(KeyDispatcherTest, TickWrapChangesNothing) {
    const std::vector<Event> script = Join({Frames(kPower, 0, 110, 12), Frames(kVolume, 1400, 90, 6)});
    const std::vector<Sent> reference = Play(script, 0).sent;
    for (uint32_t start : {0xFFFFFF00u, 0xFFFFFFFFu, 0xFFFFFC00u}) {
        std::vector<Event> shifted = script;
        for (Event& e : shifted)
            e.at += start;
        const auto& sent = Play(shifted, start).sent;
        ASSERT_EQ(Described(sent), Described(reference)) << start;
        for (size_t i = 0; i < sent.size(); ++i)
            EXPECT_EQ(sent[i].at - start, reference[i].at) << start << " message " << i;
    }
}

TEST_F(KeyDispatcherTest, ChangeOfButtonReleasesTheHeldOneFirst) {
    const std::string power = "Power/TV/0220000020DF10EF";
    const std::string unknown = "0000000000ABCDE0/<undefined>/0000000000ABCDE0";
    const std::string unknown2 = "0000000000ABCDE1/<undefined>/0000000000ABCDE1";
    const std::string allBits = "FFFFFFFFFFFFFFFF/<undefined>/FFFFFFFFFFFFFFFF";
    struct {
        const char* name;
        std::vector<Event> script;
        std::vector<std::string> expected;
    } cases[] = {
        {"A then B within WaitR",
         Join({Frames(kPower, 0, 110, 4), Frames(kVolume, 400, 110, 1)}),
         {"0 " + power, "1 " + power, "-1 " + power, "0 Volume+/TV/0220000020DF40BF",
          "-1 Volume+/TV/0220000020DF40BF"}},
        {"A then an undefined code",
         Join({Frames(kPower, 0, 110, 2), Frames(kUnknown, 200, 110, 1)}),
         {"0 " + power, "-1 " + power, "0 " + unknown, "-1 " + unknown}},
        {"the same key name on another remote",
         Join({Frames(kPower, 0, 110, 2), Frames(kPlayerPower, 200, 110, 1)}),
         {"0 " + power, "-1 " + power, "0 Power/Player/0220000010EF10EF",
          "-1 Power/Player/0220000010EF10EF"}},
        {"two undefined codes",
         Join({Frames(kUnknown, 0, 110, 1), Frames(kUnknown + 1, 100, 110, 1)}),
         {"0 " + unknown, "-1 " + unknown, "0 " + unknown2, "-1 " + unknown2}},
        {"first hand-off with all bits set", Frames(kAllBits, 0, 110, 1), {"0 " + allBits, "-1 " + allBits}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Described(Play(c.script).sent), c.expected) << c.name;
}

TEST_F(KeyDispatcherTest, TwoCodesOfOneKeyNameAreOneButton) {
    struct {
        const char* name;
        std::vector<Event> script;
        size_t presses; // the second code before the first repeat presses once more
    } cases[] = {
        {"toggle before the first repeat", Join({Frames(kToggleA, 0, 110, 2), Frames(kToggleB, 220, 110, 8)}),
         2},
        {"toggle after the first repeat", Join({Frames(kToggleA, 0, 110, 4), Frames(kToggleB, 440, 110, 4)}),
         1},
        {"back and forth",
         Join({Frames(kToggleA, 0, 110, 4), Frames(kToggleB, 440, 110, 2), Frames(kToggleA, 660, 110, 2),
               Frames(kToggleB, 880, 110, 2)}),
         1},
        {"long names match as cut", Join({Frames(kLongNames, 0, 110, 4), Frames(kLongNamesToo, 440, 110, 3)}),
         1},
    };
    for (const auto& c : cases) {
        const auto& sent = Play(c.script).sent;
        ASSERT_GT(sent.size(), c.presses + 2) << c.name;
        for (size_t i = 0; i < c.presses; ++i)
            EXPECT_EQ(sent[i].lParam, kKeyPressed) << c.name;
        // From the last press on: one held button, Wait1 counted from that press.
        const std::vector<Sent> held(sent.begin() + static_cast<long>(c.presses) - 1, sent.end());
        ExpectOneHeldButton(held, 300, 100, c.name);
        EXPECT_GE(held.size(), 4u) << c.name;
    }
}

TEST_F(KeyDispatcherTest, LongNamesAreCutToTheirFields) {
    Play(Frames(kLongNames, 0, 110, 1));
    EXPECT_EQ(std::string(record.keyName), kLongKey.substr(0, kKeyNameMax));
    EXPECT_EQ(record.keyName[std::size(record.keyName) - 1], '\0');
    EXPECT_EQ(std::string(dispatcher->RemoteNameBuffer()), kLongRemote.substr(0, kRemoteNameMax));
}

TEST_F(KeyDispatcherTest, StopOrSetupWhileHeldSendsTheReleaseAndRestartPressesAgain) {
    const std::string power = "Power/TV/0220000020DF10EF";
    EXPECT_EQ(Described(Play(Join({Frames(kPower, 0, 110, 5), {{480, Event::Stop}}})).sent),
              (std::vector<std::string>{"0 " + power, "1 " + power, "2 " + power, "-1 " + power}));
    EXPECT_FALSE(env->hostHolds);
    env->hostHolds = true; // as an earlier thread might have left it
    Resume({});
    EXPECT_FALSE(env->hostHolds);
    EXPECT_EQ(LParams(Resume(Frames(kPower, 600, 110, 1)).sent), (std::vector<int32_t>{0, -1}));
    EXPECT_FALSE(env->hostHoldsWasWrong);

    // Setup opens: the release first, at once, then nothing for the host; the dialog hears of the
    // next code.
    auto& environment =
        Play(Join({Frames(kPower, 0, 110, 5), {{480, Event::OpenSetup}}, Frames(kVolume, 550, 110, 3)}));
    EXPECT_EQ(Described(environment.sent),
              (std::vector<std::string>{"0 " + power, "1 " + power, "2 " + power, "-1 " + power}));
    EXPECT_EQ(environment.sent.back().at, 480u);
    EXPECT_FALSE(environment.hostHolds);
    EXPECT_EQ(environment.posted,
              (std::vector<std::string>{"1024 02200000:20DF40BF", "1025 00000000:00000000"}));

    // Setup opens just after the first look of the pass that sends the due release: it goes out then.
    auto& late = Play(
        {{0, Event::Frame, kPower}, {200, Event::OpenSetup, 0, {}, Event::AfterLook}, {900, Event::Stop}});
    EXPECT_EQ(LParams(late.sent), (std::vector<int32_t>{0, -1}));
    EXPECT_EQ(late.sent.back().at, 200u);
    EXPECT_EQ(late.lostWakeUps, 0);
}

TEST_F(KeyDispatcherTest, HandOffArrivingWithTheReleaseTimeOutIsTakenInItsPlace) {
    // Each hold wait times out after WaitR of silence just as the next frame is handed over: the
    // frame keeps the button held.
    std::vector<Event> script = Frames(kPower, 0, 200, 6);
    for (Event& e : script)
        e.timing = Event::WithTimeOut;
    const auto& sent = Play(script).sent;
    ExpectOneHeldButton(sent, 300, 100, "time-out race");
    EXPECT_GE(sent.size(), 5u);
}

TEST_F(KeyDispatcherTest, HandOffBeforeTheEventResetIsNotSleptThrough) {
    struct {
        const char* name;
        std::vector<Event> script;
        std::vector<int32_t> expected;
    } cases[] = {
        {"idle", {{500, Event::Frame, kPower, {}, Event::DuringReset}}, {0, -1}},
        {"held",
         {{0, Event::Frame, kPower}, {150, Event::Frame, kVolume, {}, Event::DuringReset}},
         {0, -1, 0, -1}},
    };
    for (const auto& c : cases) {
        auto& environment = Play(c.script);
        EXPECT_EQ(environment.lostWakeUps, 0) << c.name;
        EXPECT_EQ(LParams(environment.sent), c.expected) << c.name;
    }
}

TEST_F(KeyDispatcherTest, StopDuringAKeyMessageEndsTheThread) {
    // The remote has gone quiet; Stop comes while the host handles the press or the release. The
    // reset after the message must not sleep through Stop's signal, and a held button still gets
    // its release on the way out.
    struct {
        const char* name;
        uint32_t stopAt;
        Event::Timing timing;
        std::vector<int32_t> expected;
    } cases[] = {
        {"during the press", 0, Event::DuringSend, {0, -1}},
        {"during the release", 200, Event::DuringSend, {0, -1}},
        {"between the last look and the reset", 0, Event::DuringReset, {0, -1}},
    };
    for (const auto& c : cases) {
        auto& environment = Play({{0, Event::Frame, kPower}, {c.stopAt, Event::Stop, 0, {}, c.timing}});
        EXPECT_EQ(environment.lostWakeUps, 0) << c.name;
        EXPECT_EQ(LParams(environment.sent), c.expected) << c.name;
    }
}

TEST_F(KeyDispatcherTest, WaitsBelowTheDialogsRangeNeitherFloodNorHang) {
    // A negative Wait1 counts as 0, a WaitN or WaitR below the dialog's 50 ms as 50, and the hold
    // wait is never 0.
    struct {
        const char* name;
        int32_t wait1, waitN, waitR;
        size_t minRepeats;      // during the four frames
        uint32_t releaseWithin; // ms after the last frame
        uint32_t repeatSpacing; // least time between two repeats
    } cases[] = {
        {"negative WaitR counts as 50", 300, 100, -5, 0, 100, 100},
        {"WaitN 0", 300, 0, 200, 2, 250, 50},
        {"negative WaitN", 300, -100, 200, 2, 250, 50},
        {"WaitN 20", 300, 20, 200, 2, 250, 50},
        {"WaitN 50, the dialog's least", 300, 50, 200, 2, 250, 50},
        {"negative Wait1 repeats at once", -1, 100, 200, 1, 300, 100},
    };
    for (const auto& c : cases) {
        Waits(c.wait1, c.waitN, c.waitR);
        auto& environment = Play(Frames(kPower, 0, 110, 4));
        const auto& sent = environment.sent;
        ASSERT_FALSE(sent.empty()) << c.name;
        EXPECT_EQ(sent.back().lParam, kKeyReleased) << c.name;
        EXPECT_LE(sent.back().at, 330 + c.releaseWithin) << c.name;
        EXPECT_GE(static_cast<size_t>(
                      std::count_if(sent.begin(), sent.end(), [](const Sent& m) { return m.lParam > 0; })),
                  c.minRepeats)
            << c.name;
        EXPECT_GE(environment.shortestWait, 1u) << c.name;
        for (size_t i = 2; i < sent.size(); ++i) {
            if (sent[i].lParam > 1) {
                EXPECT_GE(sent[i].at - sent[i - 1].at, c.repeatSpacing) << c.name << " repeat " << i;
            }
        }
    }
}

TEST_F(KeyDispatcherTest, RawHandOffTakenAfterRawModeWasSwitchedOffReArms) {
    settings.RawMode = false;
    RawArmed = 0;
    SignalCode = 0;
    SignalDown = 1;
    SignalFresh = 1;
    Play({});
    EXPECT_EQ(RawArmed.load(), 1);
}

TEST_F(KeyDispatcherTest, OpenDialogGetsCodesAndReleasesButNoRepeats) {
    auto& environment = Play(Join({Frames(kPower, 0, 110, 6), Frames(kUnknown, 660, 110, 1)}), 0, true);
    EXPECT_TRUE(environment.sent.empty());
    EXPECT_EQ(environment.posted,
              (std::vector<std::string>{"1024 02200000:20DF10EF", "1024 00000000:00ABCDE0",
                                        "1025 00000000:00000000"}));
    env->dialogExists = false;
    Resume(Frames(kPower, 2000, 110, 3));
    EXPECT_TRUE(env->posted.empty());
    EXPECT_TRUE(env->sent.empty());
}

TEST_F(KeyDispatcherTest, RawModeMatchesStoredSignaturesAndReArms) {
    settings.RawMode = true;
    const auto& sent =
        Play(Raw({{0, kStoredOtherCentres}, {110, kRepeat}, {220, kRepeat}, {330, kRepeat}, {440, kRepeat}}))
            .sent;
    ExpectOneHeldButton(sent, 300, 100, "raw");
    EXPECT_GE(sent.size(), 3u);
    EXPECT_EQ(sent.front().what, "0 Mute/Player/0000000000000002");
    EXPECT_EQ(RawArmed.load(), 1);
    EXPECT_EQ(RawSignatureText.Text(), HexOf(kStoredOtherCentres));
}

TEST_F(KeyDispatcherTest, RawMatchIsNamedByTheEntryItsPatternBelongsTo) {
    // Saved before placeholder codes skipped the codes of later files: the TV's raw Power has the
    // code that the player's raw-only Mute got, and Mute stands first in the table.
    RawTable->Add(HexOf(kStoredTv), CodeTable->Add("0000000000000002=Power", 0));
    settings.RawMode = true;
    const auto& sent = Play(Raw({{0, kStoredTv}, {110, kRepeat}, {220, kStored}})).sent;
    EXPECT_EQ(Described(sent), (std::vector<std::string>{
                                   "0 Power/TV/0000000000000002", "-1 Power/TV/0000000000000002",
                                   "0 Mute/Player/0000000000000002", "-1 Mute/Player/0000000000000002"}));
}

TEST_F(KeyDispatcherTest, RawModeUnmatchedSignatureReleasesAndItsRepeatsPressNothing) {
    settings.RawMode = true;
    const auto& sent = Play(Raw({{0, kStored}, {110, kUnmatched}, {220, kRepeat}, {330, kRepeat}})).sent;
    EXPECT_EQ(Described(sent), (std::vector<std::string>{"0 Mute/Player/0000000000000002",
                                                         "-1 Mute/Player/0000000000000002"}));
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].at, 110u);
    // Nor do repeats of a run whose first frame was not matched.
    EXPECT_TRUE(Play(Raw({{0, kRepeat}, {110, kRepeat}})).sent.empty());
    EXPECT_EQ(RawSignatureText.Text(), HexOf(kUnmatched));
    // Another remote in the room, nothing held: no press at all.
    EXPECT_TRUE(Play(Raw({{0, kUnmatched}})).sent.empty());
}

TEST_F(KeyDispatcherTest, RawModeWithDialogPostsEveryUnmatchedSignature) {
    settings.RawMode = true;
    auto& environment = Play(Raw({{0, kUnmatched}, {50, kUnmatched}, {100, kStored}}), 0, true);
    EXPECT_TRUE(environment.sent.empty());
    // The two unmatched ones differ: all bits, then 0 (or the other way round).
    const std::vector<std::string> allBitsFirst = {"1024 FFFFFFFF:FFFFFFFF", "1024 00000000:00000000",
                                                   "1024 00000000:00000002", "1025 00000000:00000000"};
    std::vector<std::string> zeroFirst = allBitsFirst;
    std::swap(zeroFirst[0], zeroFirst[1]);
    EXPECT_TRUE(environment.posted == allBitsFirst || environment.posted == zeroFirst)
        << testing::PrintToString(environment.posted);
}

TEST_F(KeyDispatcherTest, AbsurdRawSignatureLengthStaysInsideTheText) {
    settings.RawMode = true;
    for (int32_t length : {-5, 5000}) {
        std::fill(std::begin(RawSignature), std::end(RawSignature), 0x5A);
        RawSignatureLength = length;
        RawArmed = 0;
        SignalCode = 0;
        SignalDown = 1;
        SignalFresh = 1;
        Play({});
        EXPECT_EQ(RawSignatureText.Text().size(), length < 0 ? 0u : 2u * kRawSignatureMaxLength) << length;
    }
}

} // namespace

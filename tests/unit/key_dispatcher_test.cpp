#include "decoding/key_dispatcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "config/key_table.h"
#include "decoding/raw_signature.h"

namespace {

constexpr KeyCode kAllBits = ~KeyCode{0};

// What the sampling thread hands over at a moment of the script.
struct Event {
    enum Kind { Frame, RawSignatureFrame, RawRepeatFrame, Stop };
    // When the hand-off lands: during a wait (ending it), at the very moment a hold wait times out,
    // or between the dispatcher's first look at SignalFresh and its reset of the event.
    enum Timing { InWait, WithTimeOut, DuringReset };
    uint32_t at;
    Kind kind;
    KeyCode code = 0;                 // Frame
    std::vector<uint8_t> signature{}; // RawSignatureFrame
    Timing timing = InWait;
};

struct Sent {
    uint32_t at;
    int32_t lParam;
    std::string key;
    std::string remote;
    std::string codeText;
};

struct Posted {
    uint32_t message;
    uint32_t wParam;
    uint32_t lParam;
};

// Plays the sampling thread and the clock: time moves only while the dispatcher waits, and a
// scripted hand-off ends the wait at its moment, as the real event would.
class ScriptedEnvironment : public DispatchEnvironment {
  public:
    ScriptedEnvironment(uint32_t start, std::vector<Event> script)
        : now_(start), script_(std::move(script)) {}

    void Attach(const KeyEventRecord* record, const KeyDispatcher* dispatcher) {
        record_ = record;
        dispatcher_ = dispatcher;
    }
    void Continue(std::vector<Event> script) {
        script_ = std::move(script);
        next_ = 0;
        stop_ = false;
    }

    bool setupOpen = false;
    bool dialogExists = true;
    std::vector<Sent> sent;
    std::vector<Posted> posted;
    int resets = 0;

    uint32_t Now() override { return now_; }
    bool StopRequested() override { return stop_; }
    bool SetupOpen() override { return setupOpen; }
    bool DialogExists() override { return dialogExists; }
    void SendKeyEvent(int32_t lParam) override {
        sent.push_back(Sent{now_, lParam, record_->keyName, dispatcher_->RemoteNameBuffer(),
                            dispatcher_->CodeTextBuffer()});
    }
    void PostToDialog(uint32_t message, uint32_t wParam, uint32_t lParam) override {
        posted.push_back(Posted{message, wParam, lParam});
    }
    void ResetKeySignal() override {
        ++resets;
        if (next_ < script_.size() && script_[next_].timing == Event::DuringReset) {
            now_ = script_[next_].at;
            Deliver(script_[next_++]);
        }
        eventSet_ = false;
    }
    WaitOutcome WaitKeySignal(uint32_t timeoutMs) override {
        // A wait that starts with a hand-off waiting and the event reset would sleep through it.
        if (SignalFresh && !eventSet_)
            ++lostWakeUps;
        if (eventSet_)
            return WaitOutcome::Signalled;
        if (next_ == script_.size()) {
            if (timeoutMs == kWaitForever) { // nothing more will come: Stop
                stop_ = true;
                return WaitOutcome::Signalled;
            }
            now_ += timeoutMs;
            return WaitOutcome::TimedOut;
        }
        const Event& event = script_[next_];
        if (timeoutMs != kWaitForever && event.at - now_ > timeoutMs) {
            now_ += timeoutMs;
            return WaitOutcome::TimedOut;
        }
        now_ = event.at;
        ++next_;
        Deliver(event);
        return event.timing == Event::WithTimeOut ? WaitOutcome::TimedOut : WaitOutcome::Signalled;
    }
    int lostWakeUps = 0;

  private:
    void Deliver(const Event& event) {
        switch (event.kind) {
        case Event::Stop:
            stop_ = true;
            eventSet_ = true;
            return;
        case Event::Frame:
            SignalCode = event.code;
            break;
        case Event::RawRepeatFrame:
            if (!RawArmed)
                return;
            RawArmed = 0;
            SignalCode = 1;
            break;
        case Event::RawSignatureFrame:
            if (!RawArmed)
                return;
            std::copy(event.signature.begin(), event.signature.end(), RawSignature);
            RawSignatureLength = static_cast<int32_t>(event.signature.size());
            RawArmed = 0;
            SignalCode = 0;
            break;
        }
        SignalDown = 1;
        SignalFresh = 1;
        eventSet_ = true;
    }

    uint32_t now_;
    bool eventSet_ = false;
    std::vector<Event> script_;
    size_t next_ = 0;
    bool stop_ = false;
    const KeyEventRecord* record_ = nullptr;
    const KeyDispatcher* dispatcher_ = nullptr;
};

// Frames of one code every `every` ms from `from`, count of them.
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

constexpr KeyCode kPower = 0x0220000020DF10EFull;
constexpr KeyCode kVolume = 0x0220000020DF40BFull;
constexpr KeyCode kToggleA = 0x010E00000000314Cull;
constexpr KeyCode kToggleB = 0x010E00000000394Cull;
constexpr KeyCode kUnknown = 0x0000000000ABCDE0ull;
constexpr KeyCode kLongNames = 0x0310000000001234ull;
constexpr KeyCode kLongNamesToo = 0x0310000000005678ull;
constexpr KeyCode kRawOnly = 0x0000000000000002ull;

const std::string kLongKey(130, 'k');
const std::string kLongRemote(70, 'r');

// Pulse classes 1 / pause classes 2, centres in the middle, class bytes at the end.
const std::vector<uint8_t> kStoredSignature = {0x12, 0x30, 0x02, 0x30, 0x02, 0x90, 0x06, 0x1B, 0x64};
const std::vector<uint8_t> kSameClassesOtherCentres = {0x12, 0x35, 0x02, 0x2A, 0x02, 0x99, 0x06, 0x1B, 0x64};
const std::vector<uint8_t> kOtherSignature = {0x12, 0x30, 0x02, 0x30, 0x02, 0x90, 0x06, 0x1B, 0x65};

std::string Text(KeyCode code) {
    char text[CodeDigits + 1];
    CodeText(code, text);
    return text;
}

std::string HexOf(const std::vector<uint8_t>& signature) {
    std::string text(2 * signature.size(), '\0');
    static const char kDigits[] = "0123456789ABCDEF";
    for (size_t i = 0; i < signature.size(); ++i) {
        text[2 * i] = kDigits[signature[i] >> 4];
        text[2 * i + 1] = kDigits[signature[i] & 0xF];
    }
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
        const int32_t rawKey = CodeTable->Add(Text(kRawOnly) + "=Mute", 1);
        RawTable->Add(HexOf(kStoredSignature), rawKey);
        SignalCode = 0;
        SignalDown = 0;
        SignalFresh = 0;
        RawArmed = 1;
        RawSignatureLength = 0;
        RawSignatureText.Store("");
        record = KeyEventRecord{};
        std::strcpy(record.instanceName, "REMOTE");
    }
    void TearDown() override {
        delete CodeTable;
        delete RawTable;
        delete RemoteNames;
        CodeTable = RawTable = RemoteNames = nullptr;
    }

    // Runs a dispatcher over the script from tick start, with the given settings.
    ScriptedEnvironment& Play(std::vector<Event> script, uint32_t start = 1000, bool setupOpen = false) {
        env = std::make_unique<ScriptedEnvironment>(start, std::move(script));
        env->setupOpen = setupOpen;
        dispatcher = std::make_unique<KeyDispatcher>(*env, settings, record);
        env->Attach(&record, dispatcher.get());
        dispatcher->Run();
        return *env;
    }

    SettingsStore settings;
    KeyEventRecord record{};
    std::unique_ptr<ScriptedEnvironment> env;
    std::unique_ptr<KeyDispatcher> dispatcher;
};

// The lParams of the messages, in order.
std::vector<int32_t> LParams(const std::vector<Sent>& sent) {
    std::vector<int32_t> values;
    for (const Sent& s : sent)
        values.push_back(s.lParam);
    return values;
}

// Checks the rules every held button obeys: press first, repeats numbered 1, 2, ... with the
// first no earlier than Wait1 after the press and the others no closer than WaitN, one release.
void ExpectOneHeldButton(const std::vector<Sent>& sent, uint32_t wait1, uint32_t waitN, const char* what) {
    ASSERT_GE(sent.size(), 2u) << what;
    EXPECT_EQ(sent.front().lParam, kKeyPressed) << what;
    EXPECT_EQ(sent.back().lParam, kKeyReleased) << what;
    for (size_t i = 1; i + 1 < sent.size(); ++i) {
        EXPECT_EQ(sent[i].lParam, static_cast<int32_t>(i)) << what;
        const uint32_t gap = sent[i].at - sent[i - 1].at;
        EXPECT_GE(gap, i == 1 ? wait1 : waitN) << what << " repeat " << i;
    }
    for (const Sent& s : sent)
        EXPECT_EQ(s.key, sent.front().key) << what;
}

TEST_F(KeyDispatcherTest, SingleFrameGivesPressAndReleaseWithinWaitRPlusH) {
    struct {
        int32_t wait1, waitN, waitR;
    } cases[] = {{300, 100, 200}, {1000, 50, 120}, {500, 250, 200}};
    for (const auto& c : cases) {
        settings.Wait1 = c.wait1;
        settings.WaitN = c.waitN;
        settings.WaitR = c.waitR;
        const uint32_t hold = static_cast<uint32_t>(std::min(c.waitN, c.waitR));
        const auto& sent = Play({{5000, Event::Frame, kPower}}).sent;
        ASSERT_EQ(LParams(sent), (std::vector<int32_t>{kKeyPressed, kKeyReleased})) << c.waitN;
        EXPECT_EQ(sent[0].at, 5000u);
        EXPECT_GE(sent[1].at - 5000, static_cast<uint32_t>(c.waitR));
        EXPECT_LE(sent[1].at - 5000, static_cast<uint32_t>(c.waitR) + hold);
        for (const Sent& s : sent) {
            EXPECT_EQ(s.key, "Power");
            EXPECT_EQ(s.remote, "TV");
            EXPECT_EQ(s.codeText, "0220000020DF10EF");
        }
    }
}

TEST_F(KeyDispatcherTest, RecordCarriesItsConstantFields) {
    std::memset(record.ext, 'x', std::size(record.ext));
    record.value2 = record.zero196 = record.zero200 = 99;
    Play({{0, Event::Frame, kVolume}});
    EXPECT_EQ(std::memcmp(record.ext, "EXT", 4), 0);
    EXPECT_EQ(record.value2, 2);
    EXPECT_EQ(record.zero196, 0);
    EXPECT_EQ(record.zero200, 0);
    EXPECT_STREQ(record.instanceName, "REMOTE");
    EXPECT_STREQ(record.keyName, "Volume+"); // blanks around the name removed
}

TEST_F(KeyDispatcherTest, HeldButtonRepeatsOnItsOwnClockWhileFramesArrive) {
    struct {
        const char* name;
        int32_t wait1, waitN, waitR;
        uint32_t frameEvery;
        int frames;
        int minRepeats;
    } cases[] = {
        {"defaults, frames every 110 ms", 300, 100, 200, 110, 20, 10},
        {"fast frames", 300, 100, 200, 40, 50, 10},
        {"WaitN larger than WaitR", 300, 500, 200, 110, 40, 5},
        {"Wait1 0", 0, 100, 200, 110, 10, 5},
    };
    for (const auto& c : cases) {
        settings.Wait1 = c.wait1;
        settings.WaitN = c.waitN;
        settings.WaitR = c.waitR;
        const auto& sent = Play(Frames(kPower, 0, c.frameEvery, c.frames)).sent;
        ExpectOneHeldButton(sent, static_cast<uint32_t>(c.wait1), static_cast<uint32_t>(c.waitN), c.name);
        EXPECT_GE(static_cast<int>(sent.size()) - 2, c.minRepeats) << c.name;
        const uint32_t lastFrame = (c.frames - 1) * c.frameEvery;
        const uint32_t hold = static_cast<uint32_t>(std::min(c.waitN, c.waitR));
        EXPECT_GE(sent.back().at - lastFrame, static_cast<uint32_t>(c.waitR)) << c.name;
        EXPECT_LE(sent.back().at - lastFrame, static_cast<uint32_t>(c.waitR) + hold) << c.name;
    }
}

TEST_F(KeyDispatcherTest, WaitOneZeroRepeatsAtTheFirstPassAfterThePress) {
    settings.Wait1 = 0;
    // The first pass after the press is the hold time-out, 100 ms later (no frame before it).
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
        ASSERT_EQ(sent.size(), reference.size()) << start;
        for (size_t i = 0; i < sent.size(); ++i) {
            EXPECT_EQ(sent[i].lParam, reference[i].lParam) << start << " message " << i;
            EXPECT_EQ(sent[i].at - start, reference[i].at) << start << " message " << i;
            EXPECT_EQ(sent[i].key, reference[i].key) << start << " message " << i;
        }
    }
}

TEST_F(KeyDispatcherTest, ChangeOfButtonReleasesTheHeldOneFirst) {
    struct Expected {
        int32_t lParam;
        const char* key;
        const char* remote;
        const char* codeText;
    };
    struct {
        const char* name;
        std::vector<Event> script;
        std::vector<Expected> expected;
    } cases[] = {
        {"A then B within WaitR",
         Join({Frames(kPower, 0, 110, 4), Frames(kVolume, 400, 110, 1)}),
         {{0, "Power", "TV", "0220000020DF10EF"},
          {1, "Power", "TV", "0220000020DF10EF"},
          {-1, "Power", "TV", "0220000020DF10EF"},
          {0, "Volume+", "TV", "0220000020DF40BF"},
          {-1, "Volume+", "TV", "0220000020DF40BF"}}},
        {"A then an undefined code",
         Join({Frames(kPower, 0, 110, 2), Frames(kUnknown, 200, 110, 1)}),
         {{0, "Power", "TV", "0220000020DF10EF"},
          {-1, "Power", "TV", "0220000020DF10EF"},
          {0, "0000000000ABCDE0", "<undefined>", "0000000000ABCDE0"},
          {-1, "0000000000ABCDE0", "<undefined>", "0000000000ABCDE0"}}},
        {"two undefined codes",
         Join({Frames(kUnknown, 0, 110, 1), Frames(kUnknown + 1, 100, 110, 1)}),
         {{0, "0000000000ABCDE0", "<undefined>", "0000000000ABCDE0"},
          {-1, "0000000000ABCDE0", "<undefined>", "0000000000ABCDE0"},
          {0, "0000000000ABCDE1", "<undefined>", "0000000000ABCDE1"},
          {-1, "0000000000ABCDE1", "<undefined>", "0000000000ABCDE1"}}},
        {"first hand-off with all bits set is a change",
         Frames(kAllBits, 0, 110, 1),
         {{0, "FFFFFFFFFFFFFFFF", "<undefined>", "FFFFFFFFFFFFFFFF"},
          {-1, "FFFFFFFFFFFFFFFF", "<undefined>", "FFFFFFFFFFFFFFFF"}}},
    };
    for (const auto& c : cases) {
        const auto& sent = Play(c.script).sent;
        ASSERT_EQ(sent.size(), c.expected.size()) << c.name;
        for (size_t i = 0; i < sent.size(); ++i) {
            EXPECT_EQ(sent[i].lParam, c.expected[i].lParam) << c.name << " message " << i;
            EXPECT_EQ(sent[i].key, c.expected[i].key) << c.name << " message " << i;
            EXPECT_EQ(sent[i].remote, c.expected[i].remote) << c.name << " message " << i;
            EXPECT_EQ(sent[i].codeText, c.expected[i].codeText) << c.name << " message " << i;
        }
    }
}

TEST_F(KeyDispatcherTest, TwoCodesOfOneKeyNameAreOneButton) {
    struct {
        const char* name;
        std::vector<Event> script;
        size_t pressesBeforeRepeats; // the second code before the first repeat presses again
    } cases[] = {
        {"toggle before the first repeat", Join({Frames(kToggleA, 0, 110, 2), Frames(kToggleB, 220, 110, 8)}),
         2},
        {"toggle after the first repeat", Join({Frames(kToggleA, 0, 110, 4), Frames(kToggleB, 440, 110, 4)}),
         1},
        {"back and forth",
         Join({Frames(kToggleA, 0, 110, 4), Frames(kToggleB, 440, 110, 2), Frames(kToggleA, 660, 110, 2),
               Frames(kToggleB, 880, 110, 2)}),
         1},
        {"long names cut to their fields still match",
         Join({Frames(kLongNames, 0, 110, 4), Frames(kLongNamesToo, 440, 110, 3)}), 1},
    };
    for (const auto& c : cases) {
        const auto& sent = Play(c.script).sent;
        ASSERT_GT(sent.size(), c.pressesBeforeRepeats + 2) << c.name;
        for (size_t i = 0; i < c.pressesBeforeRepeats; ++i)
            EXPECT_EQ(sent[i].lParam, kKeyPressed) << c.name;
        // From the last press on: one held button, Wait1 counted from that press.
        const std::vector<Sent> held(sent.begin() + static_cast<long>(c.pressesBeforeRepeats) - 1,
                                     sent.end());
        ExpectOneHeldButton(held, 300, 100, c.name);
        EXPECT_GE(held.size(), 4u) << c.name;
    }
}

TEST_F(KeyDispatcherTest, LongNamesAreCutToTheirFields) {
    Play(Frames(kLongNames, 0, 110, 1));
    EXPECT_EQ(std::string(record.keyName), kLongKey.substr(0, kKeyNameMax));
    EXPECT_EQ(record.keyName[std::size(record.keyName) - 1], '\0');
    EXPECT_EQ(std::string(dispatcher->RemoteNameBuffer()), kLongRemote.substr(0, kRemoteNameMax));
    EXPECT_EQ(dispatcher->RemoteNameBuffer()[kRemoteNameMax], '\0');
}

TEST_F(KeyDispatcherTest, StopWhileHeldSendsNoReleaseAndRestartPressesAgain) {
    auto& environment = Play(Join({Frames(kPower, 0, 110, 5), {{480, Event::Stop}}}));
    EXPECT_EQ(LParams(environment.sent), (std::vector<int32_t>{0, 1, 2}));
    // The sampling thread's last hand-off is still waiting when the threads start again.
    environment.sent.clear();
    environment.Continue(Frames(kPower, 600, 110, 1));
    dispatcher->Run();
    EXPECT_EQ(LParams(environment.sent), (std::vector<int32_t>{0, -1}));
}

TEST_F(KeyDispatcherTest, HandOffArrivingWithTheReleaseTimeOutIsTakenInItsPlace) {
    // The hold wait times out after WaitR of silence just as the next frame is handed over: the
    // frame keeps the button held, no release comes in between.
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

TEST_F(KeyDispatcherTest, OpenDialogGetsCodesAndReleasesButNoRepeats) {
    const auto script = Join({Frames(kPower, 0, 110, 6), Frames(kUnknown, 660, 110, 1)});
    auto& environment = Play(script, 0, true);
    EXPECT_TRUE(environment.sent.empty());
    ASSERT_EQ(environment.posted.size(), 3u);
    EXPECT_EQ(environment.posted[0].message, kMsgCodeReceived);
    EXPECT_EQ(environment.posted[0].wParam, 0x02200000u);
    EXPECT_EQ(environment.posted[0].lParam, 0x20DF10EFu);
    EXPECT_EQ(environment.posted[1].message, kMsgCodeReceived);
    EXPECT_EQ(environment.posted[1].lParam, static_cast<uint32_t>(kUnknown));
    EXPECT_EQ(environment.posted[2].message, kMsgKeyEvent);
    EXPECT_EQ(environment.posted[2].wParam, 0u);
    EXPECT_EQ(environment.posted[2].lParam, 0u);

    env->dialogExists = false;
    env->posted.clear();
    env->Continue(Frames(kPower, 2000, 110, 3));
    dispatcher->Run();
    EXPECT_TRUE(env->posted.empty());
    EXPECT_TRUE(env->sent.empty());
}

TEST_F(KeyDispatcherTest, RawModeMatchesStoredSignaturesAndReArms) {
    settings.RawMode = true;
    const auto script = std::vector<Event>{
        {0, Event::RawSignatureFrame, 0, kSameClassesOtherCentres},
        {110, Event::RawRepeatFrame},
        {220, Event::RawRepeatFrame},
        {330, Event::RawRepeatFrame},
        {440, Event::RawRepeatFrame},
    };
    const auto& sent = Play(script).sent;
    ExpectOneHeldButton(sent, 300, 100, "raw");
    EXPECT_GE(sent.size(), 3u);
    EXPECT_EQ(sent.front().key, "Mute");
    EXPECT_EQ(sent.front().remote, "Player");
    EXPECT_EQ(sent.front().codeText, "0000000000000002");
    EXPECT_EQ(RawArmed.load(), 1);
    EXPECT_EQ(RawSignatureText.Text(), HexOf(kSameClassesOtherCentres));
}

TEST_F(KeyDispatcherTest, RawModeUnmatchedSignatureReleasesAndThenPressesAllBits) {
    settings.RawMode = true;
    const auto script = std::vector<Event>{
        {0, Event::RawSignatureFrame, 0, kStoredSignature},
        {110, Event::RawSignatureFrame, 0, kOtherSignature},
        {220, Event::RawRepeatFrame},
    };
    const auto& sent = Play(script).sent;
    ASSERT_EQ(LParams(sent), (std::vector<int32_t>{0, -1, 0, -1}));
    EXPECT_EQ(sent[1].key, "Mute");
    EXPECT_EQ(sent[1].at, 110u);
    EXPECT_EQ(sent[2].key, "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(sent[2].remote, "<undefined>");
    EXPECT_EQ(RawSignatureText.Text(), HexOf(kOtherSignature));
}

TEST_F(KeyDispatcherTest, RawModeWithDialogPostsEveryUnmatchedSignature) {
    settings.RawMode = true;
    const auto script = std::vector<Event>{
        {0, Event::RawSignatureFrame, 0, kOtherSignature},
        {50, Event::RawSignatureFrame, 0, kOtherSignature},
        {100, Event::RawSignatureFrame, 0, kStoredSignature},
    };
    auto& environment = Play(script, 0, true);
    EXPECT_TRUE(environment.sent.empty());
    ASSERT_EQ(environment.posted.size(), 4u);
    // The two unmatched ones differ from each other: all bits, then 0 (or the other way round).
    EXPECT_EQ(environment.posted[0].message, kMsgCodeReceived);
    EXPECT_EQ(environment.posted[1].message, kMsgCodeReceived);
    const KeyCode first = KeyCode{environment.posted[0].wParam} << 32 | environment.posted[0].lParam;
    const KeyCode second = KeyCode{environment.posted[1].wParam} << 32 | environment.posted[1].lParam;
    EXPECT_EQ(first ^ second, kAllBits);
    EXPECT_TRUE(first == 0 || first == kAllBits);
    EXPECT_EQ(environment.posted[2].lParam, static_cast<uint32_t>(kRawOnly));
    EXPECT_EQ(environment.posted[3].message, kMsgKeyEvent);
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
        const std::string text = RawSignatureText.Text();
        EXPECT_EQ(text.size(), length < 0 ? 0u : 2u * kRawSignatureMaxLength) << length;
    }
}

} // namespace

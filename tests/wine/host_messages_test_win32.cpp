// What the host window receives: the invalid-parameters report, the key event record, and key
// messages that must get through while the host's thread is inside Stop.
#include <gtest/gtest.h>

#include "tests/wine/host_run_win32.h"
#include "tests/wine/scenario_checks_win32.h"

namespace {

const std::string kReportStart = "Invalid params: OrvikPlug-USB.ActionManual(";

struct InvalidCase {
    const char* step;
    std::string text; // the full report before the 255-character limit
};

} // namespace

// Each rejected call sends the report (1029) on the caller's thread, then posts 1026 with the
// action's id and 0, and sends no values (1030). Texts are cut to 255 characters.
TEST(InvalidParams, ReportNamesEveryParameterWithinTheLimit) {
    const std::string x300(300, 'x');
    const InvalidCase cases[] = {
        {"action:11:", kReportStart + ")"},
        {"action-null:12", kReportStart + ")"},
        {"action:13:count=-1|t=GetDataPort|t=Data", kReportStart + ")"},
        {"action:14:t=SetDataPort|t=Bits|n=5|n=1", kReportStart + "\"SetDataPort\",\"Bits\",0x5,0x1)"},
        {"action:15:t=GetDataPort|tnull", kReportStart + "\"GetDataPort\",\"\")"},
        {"action:16:count=5|t=Get|t=x|n=0|n=0xFFFFFFFF", kReportStart + "\"Get\",\"x\",0x0,0xFFFFFFFF)"},
        {"action:17:n=1|n=0xABC", kReportStart + "0x1,0xABC)"},
        {"action:18:t=SetEEPROM|t=Data|n=1", kReportStart + "\"SetEEPROM\",\"Data\",0x1)"},
        {"action:19:t*300=x", kReportStart + "\"" + x300 + "\")"},
        {"action:20:t*300=x|t=Data", kReportStart + "\"" + x300 + "\",\"Data\")"},
        {"action:21:t=GetDataPort|t*300=x", kReportStart + "\"GetDataPort\",\"" + x300 + "\")"},
    };
    std::vector<std::string> steps = {"open"};
    for (const InvalidCase& c : cases)
        steps.push_back(c.step);
    steps.push_back("close");
    HostRun run = RunHost({Driver::Simulator, {}, steps});
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].step);
        int step = static_cast<int>(i) + 1;
        int64_t id = run.Number(run.Step(step), "id");
        std::vector<const ParsedLine*> reports = LinesBetween(run, "msg", step - 1, step);
        ASSERT_EQ(reports.size(), 2u);
        EXPECT_EQ(reports[0]->Number("n"), 1029);
        EXPECT_EQ(reports[0]->Get("how"), "direct"); // sent on the host's own thread
        EXPECT_EQ(reports[0]->Number("l"), 0);
        EXPECT_EQ(reports[0]->Get("text"), cases[i].text.substr(0, 255));
        EXPECT_EQ(reports[1]->Number("n"), 1026);
        EXPECT_EQ(reports[1]->Get("how"), "posted");
        EXPECT_EQ(reports[1]->Number("id"), id);
        EXPECT_EQ(reports[1]->Number("result"), 0);
    }
}

namespace {

// Holds each name for one cycle of open, one key press and release, close.
std::vector<std::string> OneKeyPerOpen(const std::vector<std::optional<std::string>>& names) {
    std::vector<std::string> steps;
    for (const auto& name : names) {
        steps.push_back(name ? "open:" + *name : "open");
        steps.insert(steps.end(), {"start", "wait:600", "stop", "close"});
    }
    return steps;
}

} // namespace

// Every key message carries the record: the instance name (cut at 63, "REMOTE" for none), the
// key and code texts, and the fixed fields a host may rely on.
TEST(KeyEventRecord, CarriesTheInstanceNameAndTheFixedFields) {
    const std::string name100 = std::string(60, 'n') + std::string(40, 'z');
    struct NameCase {
        std::optional<std::string> name;
        std::string stored;
    } cases[] = {
        {std::nullopt, "REMOTE"},
        {"", ""},
        {"Living room", "Living room"},
        {name100.substr(0, 63), name100.substr(0, 63)},
        {name100.substr(0, 64), name100.substr(0, 63)},
        {name100.substr(0, 70), name100.substr(0, 63)},
        {name100, name100.substr(0, 63)},
    };
    std::vector<std::optional<std::string>> names;
    for (const NameCase& c : cases)
        names.push_back(c.name);
    HostRun run = RunHost({Driver::Simulator,
                           {SimScriptOption(std::string("wait 100; send ") + kRc5FrameBytes)},
                           OneKeyPerOpen(names)});
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("name case " + std::to_string(i));
        int open = static_cast<int>(i) * 5;
        std::vector<const ParsedLine*> keys = LinesBetween(run, "msg", open, open + 4);
        ASSERT_EQ(keys.size(), 2u);
        EXPECT_EQ(keys[0]->Get("event"), "press");
        EXPECT_EQ(keys[1]->Get("event"), "release");
        for (const ParsedLine* key : keys) {
            EXPECT_EQ(key->Number("n"), 1025);
            EXPECT_EQ(key->Get("how"), "sent");
            EXPECT_EQ(key->Get("instance"), cases[i].stored);
            EXPECT_EQ(key->Number("i63"), 0);
            EXPECT_EQ(key->Get("key"), kRc5CodeText);
            EXPECT_EQ(key->Number("k187"), 0);
            EXPECT_EQ(key->Get("code"), kRc5CodeText);
            EXPECT_EQ(key->Get("remote"), "<undefined>");
            EXPECT_EQ(key->Get("ext"), "EXT");
            EXPECT_EQ(key->Number("v192"), 2);
            EXPECT_EQ(key->Number("v196"), 0);
            EXPECT_EQ(key->Number("v200"), 0);
            EXPECT_EQ(key->Get("z204"), "0000000000000000");
            EXPECT_EQ(key->Get("z220"), "0000000000000000");
        }
    }
}

namespace {

// Who is inside a synchronous send to the host window when the host's thread calls Stop: the
// sampling thread (the simulator sends from inside DoGetInfraCode, as a driver might) or the
// dispatcher with a key message.
enum class Sender { SamplingThread, Dispatcher };

struct StopCase {
    const char* name;
    Sender sender;
    const char* beforeStop; // what the host's thread does between sleeping and Stop
    bool sendPendingAtStop; // a message surely waits when Stop is called
};

class StopWhileSending : public testing::TestWithParam<StopCase> {};

std::string SenderScript(Sender sender) {
    if (sender == Sender::SamplingThread)
        return "wait 100; hostmsg 1124";
    return std::string("wait 100; loop 0; send ") + kRc5FrameBytes + "; wait 60; end";
}

} // namespace

// The host's thread sleeps without pumping, so a worker's send to the host window waits; then
// the host calls Stop on that thread. Stop must let the send through (the window procedure is
// slow on purpose) and end. The bound is generous: it catches a deadlock, not slowness.
TEST_P(StopWhileSending, DeliversThePendingMessageAndEnds) {
    const StopCase& c = GetParam();
    std::vector<std::string> steps = {"open", "start", "sleep:600"};
    if (c.beforeStop != nullptr)
        steps.push_back(c.beforeStop);
    steps.insert(steps.end(), {"stop", "wait:300", "close"});
    const int stop = static_cast<int>(steps.size()) - 3;
    Scenario scenario{Driver::Simulator, {"--slow-sent=300", SimScriptOption(SenderScript(c.sender))}, steps};
    scenario.runLimitMs = 30000;
    HostRun run = RunHost(scenario);
    PrintOnFailure print(run);
    EXPECT_FALSE(run.timedOut);
    ASSERT_TRUE(run.Finished());
    std::vector<const ParsedLine*> sent = run.Matching("msg", {{"how", "sent"}});
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0]->Number("n"), c.sender == Sender::SamplingThread ? 1124 : 1025);
    if (c.sendPendingAtStop) {
        EXPECT_FALSE(LinesBetween(run, "msg", stop - 1, stop).empty());
    }
    // Nothing arrives once Stop has returned.
    EXPECT_TRUE(LinesBetween(run, "msg", stop, stop + 2).empty());
    EXPECT_LT(run.Step(stop)->Real("ms").value_or(1e9), 20000.0);
    EXPECT_EQ(PluginThreadsAfter(run, stop), 0);
}

INSTANTIATE_TEST_SUITE_P(
    SamplingThread, StopWhileSending,
    testing::Values(StopCase{"plain", Sender::SamplingThread, nullptr, true},
                    StopCase{"after_get_queue_status", Sender::SamplingThread, "queue-status", true},
                    StopCase{"after_peek_message", Sender::SamplingThread, "peek", false}),
    [](const testing::TestParamInfo<StopCase>& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(Dispatcher, StopWhileSending,
                         testing::Values(StopCase{"plain", Sender::Dispatcher, nullptr, true},
                                         StopCase{"after_get_queue_status", Sender::Dispatcher,
                                                  "queue-status", true},
                                         StopCase{"after_peek_message", Sender::Dispatcher, "peek", false}),
                         [](const testing::TestParamInfo<StopCase>& info) { return info.param.name; });

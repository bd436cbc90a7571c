// Valid manual actions on the receiver's data port, through the real plug-in and the simulator:
// what is written to the port, the values of message 1030 and the result of 1026.
#include <gtest/gtest.h>

#include "tests/wine/host_run_win32.h"
#include "tests/wine/scenario_checks_win32.h"

namespace {

struct PortState {
    int output;
    int direction;
};

struct Write {
    std::string kind; // "out" or "dir"
    int64_t value;

    bool operator==(const Write&) const = default;
};

struct ActionCase {
    const char* name;
    PortState before;
    PortState getterStatus; // what DoGetOutDataPort and DoGetDataPortDirection answer
    std::string params;     // the action step's parameters
    std::vector<Write> writes;
    PortState reply; // values of message 1030
    int64_t result;  // lParam of message 1026
};

void PrintTo(const Write& w, std::ostream* os) {
    *os << w.kind << "=" << w.value;
}

const ActionCase kActions[] = {
    {"set_data_byte",
     {0x00, 0x0F},
     {0, 0},
     "t=SetDataPort|t=Data|n=0xA5",
     {{"out", 0xA5}},
     {0xA5, 0x0F},
     0xA5},
    {"set_data_line_on",
     {0x21, 0x0F},
     {0, 0},
     "t=SetDataPort|t=Data|n=1|n=3",
     {{"out", 0x29}},
     {0x29, 0x0F},
     8},
    {"set_data_line_off_already_low",
     {0x21, 0x0F},
     {0, 0},
     "t=SetDataPort|t=Data|n=0|n=3",
     {{"out", 0x21}},
     {0x21, 0x0F},
     0},
    {"set_data_line_off",
     {0xFF, 0x0F},
     {0, 0},
     "t=SetDataPort|t=Data|n=0|n=7",
     {{"out", 0x7F}},
     {0x7F, 0x0F},
     0},
    {"set_data_value_any_nonzero",
     {0x00, 0x0F},
     {0, 0},
     "t=SetDataPort|t=Data|n=0x100|n=0",
     {{"out", 0x01}},
     {0x01, 0x0F},
     1},
    // Line numbers count modulo 32; 8 to 31 name no line, so the whole byte is written.
    {"set_line_9_is_whole_byte",
     {0xF0, 0x0F},
     {0, 0},
     "t=SetDataPort|t=Data|n=1|n=9",
     {{"out", 0x01}},
     {0x01, 0x0F},
     1},
    {"set_line_35_is_line_3",
     {0xF0, 0x0F},
     {0, 0},
     "t=SetDataPort|t=Data|n=1|n=35",
     {{"out", 0xF8}},
     {0xF8, 0x0F},
     8},
    {"set_count_3_ignores_the_line",
     {0xF0, 0x0F},
     {0, 0},
     "count=3|t=SetDataPort|t=Data|n=1|n=3",
     {{"out", 0x01}},
     {0x01, 0x0F},
     1},
    {"set_direction_line_off",
     {0x55, 0x1F},
     {0, 0},
     "t=SetDataPort|t=Direction|n=0|n=4",
     {{"dir", 0x0F}},
     {0x55, 0x0F},
     0},
    {"set_direction_low_byte",
     {0x55, 0x1F},
     {0, 0},
     "t=SetDataPort|t=Direction|n=0x1234",
     {{"dir", 0x34}},
     {0x55, 0x34},
     0x34},
    {"set_without_value_reads", {0x5A, 0x3C}, {0, 0}, "t=SetDataPort|t=Data", {}, {0x5A, 0x3C}, 0x5A},
    {"set_with_text_value_reads",
     {0x5A, 0x3C},
     {0, 0},
     "t=SetDataPort|t=Direction|t=5",
     {},
     {0x5A, 0x3C},
     0x3C},
    {"get_direction_line_high", {0x5A, 0x06}, {0, 0}, "t=GetDataPort|t=Direction|n=2", {}, {0x5A, 0x06}, 4},
    {"get_direction_line_low", {0x5A, 0x03}, {0, 0}, "t=GetDataPort|t=Direction|n=2", {}, {0x5A, 0x03}, 0},
    {"get_line_33_is_line_1", {0x02, 0x00}, {0, 0}, "t=GetDataPort|t=Data|n=33", {}, {0x02, 0x00}, 2},
    {"get_line_8_is_whole_byte", {0x5A, 0x00}, {0, 0}, "t=GetDataPort|t=Data|n=8", {}, {0x5A, 0x00}, 0x5A},
    {"lower_case", {0x5A, 0x3C}, {0, 0}, "t=getdataport|t=data", {}, {0x5A, 0x3C}, 0x5A},
    {"mixed_case_set",
     {0x5A, 0x3C},
     {0, 0},
     "t=SETdataPORT|t=dIrEcTiOn|n=0x81",
     {{"dir", 0x81}},
     {0x5A, 0x81},
     0x81},
    // A failing read: the byte counts as 0, and a single-line Set writes nothing.
    {"failing_output_read_single_line",
     {0x21, 0x0F},
     {3, 0},
     "t=SetDataPort|t=Data|n=1|n=3",
     {},
     {0x00, 0x0F},
     0},
    {"failing_output_read_whole_byte",
     {0x21, 0x0F},
     {3, 0},
     "t=SetDataPort|t=Data|n=0xA5",
     {{"out", 0xA5}},
     {0x00, 0x0F},
     0},
    {"failing_direction_read_single_line",
     {0x21, 0x0F},
     {0, 1},
     "t=SetDataPort|t=Direction|n=1|n=6",
     {},
     {0x21, 0x00},
     0},
    {"failing_reads_get", {0x21, 0x0F}, {-1, -1}, "t=GetDataPort|t=Data", {}, {0x00, 0x00}, 0},
};

// The serial-interface commands are accepted but touch no device.
const ActionCase kSerialActions[] = {
    {"set_232_bitrate", {0xAA, 0x55}, {0, 0}, "t=Set232|t=Bitrate|n=9600", {}, {0, 0}, 0},
    {"get_232_data", {0xAA, 0x55}, {0, 0}, "t=get232|t=DATA", {}, {0, 0}, 0},
};

constexpr int kStepsPerCase = 5; // sim-port, sim-fail, action, sim-log, sim
constexpr int kActionInCase = 2;
constexpr int kFirstCase = 2; // after open and a first sim

std::vector<std::string> CaseSteps(const ActionCase& c, uint32_t id) {
    return {"sim-port:" + std::to_string(c.before.output) + "," + std::to_string(c.before.direction),
            "sim-fail:" + std::to_string(c.getterStatus.output) + "," +
                std::to_string(c.getterStatus.direction),
            "action:" + std::to_string(id) + ":" + c.params, "sim-log", "sim"};
}

// The action's id is echoed by both messages: 1030 sent on the caller's thread first, then 1026
// posted, with count 2 and two numbers in the reply record.
void ExpectReply(const HostRun& run, int actionStep, uint32_t id, const PortState& reply, int64_t result) {
    EXPECT_EQ(run.Number(run.Step(actionStep), "id"), id);
    std::vector<const ParsedLine*> messages = LinesBetween(run, "msg", actionStep - 1, actionStep);
    ASSERT_EQ(messages.size(), 2u);
    const ParsedLine* values = messages[0];
    const ParsedLine* done = messages[1];
    EXPECT_EQ(values->Number("n"), 1030);
    EXPECT_EQ(values->Get("how"), "direct");
    EXPECT_EQ(values->Number("w"), id);
    EXPECT_EQ(values->Number("id"), id);
    EXPECT_EQ(values->Number("count"), 2);
    const int64_t flags[] = {1, 1, 0, 0};
    const int64_t numbers[] = {reply.output, reply.direction, 0, 0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(values->Number("f" + std::to_string(i)), flags[i]) << "flag " << i;
        EXPECT_EQ(values->Number("v" + std::to_string(i)), numbers[i]) << "value " << i;
    }
    EXPECT_EQ(done->Number("n"), 1026);
    EXPECT_EQ(done->Get("how"), "posted");
    EXPECT_EQ(done->Number("id"), id);
    EXPECT_EQ(done->Number("result"), result);
}

std::vector<Write> WritesAt(const HostRun& run, int step) {
    std::vector<Write> writes;
    for (const ParsedLine* line : LinesBetween(run, "simlog", step - 1, step)) {
        if (line->Get("kind") == "out" || line->Get("kind") == "dir") {
            EXPECT_EQ(line->Get("on"), "host");
            writes.push_back({line->Get("kind"), line->Number("value").value_or(-1)});
        }
    }
    return writes;
}

// Port calls of the four port functions as the "sim" line counts them.
std::vector<int64_t> PortCalls(const ParsedLine* sim) {
    std::vector<int64_t> calls;
    for (const char* key : {"setdir_calls", "getdir_calls", "setout_calls", "getout_calls"})
        calls.push_back(sim->Number(key).value_or(-1));
    return calls;
}

HostRun RunCases(const std::vector<ActionCase>& cases, uint32_t firstId) {
    std::vector<std::string> steps = {"open", "sim"};
    for (size_t i = 0; i < cases.size(); ++i) {
        std::vector<std::string> more = CaseSteps(cases[i], firstId + static_cast<uint32_t>(i));
        steps.insert(steps.end(), more.begin(), more.end());
    }
    steps.push_back("close");
    return RunHost({Driver::Simulator, {}, steps});
}

} // namespace

TEST(ManualAction, ReadsAndWritesThePortAndAnswers) {
    const std::vector<ActionCase> cases(std::begin(kActions), std::end(kActions));
    const uint32_t firstId = 0xFFFFFF00u; // ids are echoed whole, sign bit included
    HostRun run = RunCases(cases, firstId);
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    ExpectBoxes(run, {});
    EXPECT_TRUE(run.Matching("msg", {{"n", "1029"}}).empty());
    for (size_t i = 0; i < cases.size(); ++i) {
        const ActionCase& c = cases[i];
        SCOPED_TRACE(c.name);
        const int action = kFirstCase + static_cast<int>(i) * kStepsPerCase + kActionInCase;
        ExpectReply(run, action, firstId + static_cast<uint32_t>(i), c.reply, c.result);
        EXPECT_EQ(WritesAt(run, action + 1), c.writes);
    }
}

TEST(ManualAction, SerialCommandsAnswerZerosWithoutDeviceAccess) {
    const std::vector<ActionCase> cases(std::begin(kSerialActions), std::end(kSerialActions));
    HostRun run = RunCases(cases, 40);
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    std::vector<const ParsedLine*> sims = SimStates(run);
    ASSERT_EQ(sims.size(), cases.size() + 1);
    for (size_t i = 0; i < cases.size(); ++i) {
        const ActionCase& c = cases[i];
        SCOPED_TRACE(c.name);
        const int action = kFirstCase + static_cast<int>(i) * kStepsPerCase + kActionInCase;
        ExpectReply(run, action, 40 + static_cast<uint32_t>(i), c.reply, c.result);
        EXPECT_EQ(WritesAt(run, action + 1), c.writes);
        EXPECT_EQ(PortCalls(sims[i + 1]), PortCalls(sims[i]));
        EXPECT_EQ(sims[i + 1]->Number("out"), c.before.output);
        EXPECT_EQ(sims[i + 1]->Number("dir"), c.before.direction);
    }
}

namespace {

struct UnboundCase {
    const char* name;
    Driver driver;
    std::string box;
};

class ManualActionUnbound : public testing::TestWithParam<UnboundCase> {};

} // namespace

// Without a bound driver (none found, or one lacking a function) every valid action answers with
// zeros: nothing is read, nothing written.
TEST_P(ManualActionUnbound, AnswersZerosWithoutDeviceAccess) {
    const UnboundCase& c = GetParam();
    const char* actions[] = {"action:1:t=SetDataPort|t=Data|n=0xA5",
                             "action:2:t=SetDataPort|t=Direction|n=1|n=2", "action:3:t=GetDataPort|t=Data",
                             "action:4:t=GetDataPort|t=Direction|n=0"};
    std::vector<std::string> steps = {"open"};
    steps.insert(steps.end(), std::begin(actions), std::end(actions));
    steps.insert(steps.end(), {"sim", "close"});
    HostRun run = RunHost({c.driver, {}, steps});
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    ExpectBoxes(run, {c.box});
    for (int step = 1; step <= static_cast<int>(std::size(actions)); ++step) {
        SCOPED_TRACE(actions[step - 1]);
        ExpectReply(run, step, static_cast<uint32_t>(step), {0, 0}, 0);
    }
    ASSERT_EQ(SimStates(run).size(), 1u);
    EXPECT_EQ(SimStates(run)[0]->Number("loaded"), 0);
}

INSTANTIATE_TEST_SUITE_P(Drivers, ManualActionUnbound,
                         testing::Values(UnboundCase{"none", Driver::None, kErrorLoading},
                                         UnboundCase{"four_exports", Driver::FourExports, kInvalidDriver}),
                         [](const testing::TestParamInfo<UnboundCase>& info) { return info.param.name; });

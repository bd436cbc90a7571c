#include "tools/test_host/host_steps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

HostOptions Parsed(std::vector<std::string> args) {
    HostOptions options;
    std::string error;
    args.insert(args.begin(), "--plugin=p.dll");
    EXPECT_TRUE(ParseHostCommandLine(args, &options, &error)) << error;
    return options;
}

Step OneStep(const std::string& token) {
    HostOptions options = Parsed({token});
    EXPECT_EQ(options.steps.size(), 1u) << token;
    return options.steps.empty() ? Step{} : options.steps[0];
}

} // namespace

TEST(HostCommandLine, OptionsComeBeforeTheSteps) {
    HostOptions options = Parsed({"--driver-dir=/x/sim", "--host-version=0x02070B00", "--slow-sent=300",
                                  "--timeout=5000", "--show", "--user-dialogs", "--sim-script=send 1;wait 5",
                                  "--nested=1100:stop,start", "open", "close"});
    EXPECT_EQ(options.plugin, "p.dll");
    EXPECT_EQ(options.driverDir, "/x/sim");
    EXPECT_EQ(options.version, 0x02070B00u);
    EXPECT_EQ(options.slowSentMs, 300);
    EXPECT_EQ(options.timeoutMs, 5000);
    EXPECT_TRUE(options.show);
    EXPECT_TRUE(options.userDialogs);
    EXPECT_EQ(options.simScript, "send 1;wait 5");
    EXPECT_EQ(options.nestedMessage, 1100u);
    EXPECT_EQ(options.nestedCalls, (std::vector<StepKind>{StepKind::Stop, StepKind::Start}));
    ASSERT_EQ(options.steps.size(), 2u);
    EXPECT_EQ(options.steps[1].kind, StepKind::Close);

    HostOptions defaults = Parsed({});
    EXPECT_EQ(defaults.version, 0x02070C00u);
    EXPECT_FALSE(defaults.driverDir.has_value());
    EXPECT_FALSE(defaults.userDialogs) << "boxes are answered unless asked otherwise";
    EXPECT_EQ(Parsed({"--host-version=null"}).version, std::nullopt);
}

TEST(HostCommandLine, RefusesWhatItCannotRun) {
    const std::vector<std::string> bad[] = {
        {"open"}, // no --plugin
        {"--plugin=p", "--colour=red"},
        {"--plugin=p", "--show=1"},
        {"--plugin=p", "--user-dialogs=yes"},
        {"--plugin=p", "--timeout=-1"},
        {"--plugin=p", "--host-version=2.7"},
        {"--plugin=p", "--nested=1100:wait"},
        {"--plugin=p", "--nested=12:stop"},
        {"--plugin=p", "--nested=stop"},
        {"--plugin=p", "fly"},
        {"--plugin=p", "close:now"},
        {"--plugin=p", "wait"},
        {"--plugin=p", "wait:soon"},
        {"--plugin=p", "action:x"},
        {"--plugin=p", "action:1:t=a|s=b"},
        {"--plugin=p", "action:1:n=0x100000000"},
        {"--plugin=p", "action:1:t*-2=a"},
        {"--plugin=p", "sim-port:1"},
        {"--plugin=p", "thread-cpu:1"},
        {"--plugin=p", "hang:1"},
        {"--plugin=p", "bare-poller"},
        {"--plugin=p", "bare-poller:-1"},
        {"--plugin=p", "open", "--show"}, // options only before the steps
    };
    for (const auto& args : bad) {
        HostOptions options;
        std::string error;
        EXPECT_FALSE(ParseHostCommandLine(args, &options, &error)) << args.back();
        EXPECT_FALSE(error.empty());
    }
}

TEST(HostCommandLine, OpenKeepsTheWholeNameOrNone) {
    struct Case {
        const char* token;
        std::optional<std::string> name;
    } cases[] = {
        {"open", std::nullopt},
        {"open:", ""},
        {"open:Living room: TV", "Living room: TV"},
    };
    for (const auto& c : cases) {
        Step step = OneStep(c.token);
        EXPECT_EQ(step.kind, StepKind::Open);
        EXPECT_EQ(step.text, c.name) << c.token;
    }
}

TEST(HostCommandLine, ActionParametersKeepTheirTypes) {
    Step step = OneStep("action:0xFFFFFFFF:t=SetDataPort|t=Data|n=0xA5|n=-1|tnull|t*3=ab|t=");
    EXPECT_EQ(step.kind, StepKind::Action);
    EXPECT_EQ(step.a, 0xFFFFFFFFll);
    EXPECT_FALSE(step.count.has_value());
    struct Expected {
        bool isNumber;
        bool nullText;
        uint32_t number;
        const char* text;
    } expected[] = {
        {false, false, 0, "SetDataPort"},
        {false, false, 0, "Data"},
        {true, false, 0xA5, ""},
        {true, false, 0xFFFFFFFF, ""},
        {false, true, 0, ""},
        {false, false, 0, "ababab"},
        {false, false, 0, ""},
    };
    ASSERT_EQ(step.args.size(), std::size(expected));
    for (size_t i = 0; i < step.args.size(); ++i) {
        EXPECT_EQ(step.args[i].isNumber, expected[i].isNumber) << i;
        EXPECT_EQ(step.args[i].nullText, expected[i].nullText) << i;
        EXPECT_EQ(step.args[i].number, expected[i].number) << i;
        EXPECT_EQ(step.args[i].text, expected[i].text) << i;
    }
    Step empty = OneStep("action:7:");
    EXPECT_EQ(empty.a, 7);
    EXPECT_TRUE(empty.args.empty());
    Step counted = OneStep("action:7:count=0|t=GetDataPort|t=Data");
    EXPECT_EQ(counted.count, 0);
    EXPECT_EQ(counted.args.size(), 2u);
}

TEST(HostCommandLine, StepArgumentsAndDefaults) {
    struct Case {
        const char* token;
        StepKind kind;
        int64_t a;
        int64_t b;
    } cases[] = {
        {"setup", StepKind::Setup, 200, 0},
        {"setup:1500", StepKind::Setup, 1500, 0},
        {"wait:250", StepKind::Wait, 250, 0},
        {"sleep:0x10", StepKind::Sleep, 16, 0},
        {"sim-port:0xFF,3", StepKind::SimPort, 255, 3},
        {"sim-fail:1,-7", StepKind::SimFail, 1, -7},
        {"action-null:9", StepKind::ActionNull, 9, 0},
        {"queue-status", StepKind::QueueStatus, 0, 0},
        {"thread-cpu", StepKind::ThreadCpu, 0, 0},
        {"bare-poller:100", StepKind::BarePoller, 100, 0},
        {"hang", StepKind::Hang, 0, 0},
    };
    for (const auto& c : cases) {
        Step step = OneStep(c.token);
        EXPECT_EQ(step.kind, c.kind) << c.token;
        EXPECT_EQ(step.a, c.a) << c.token;
        EXPECT_EQ(step.b, c.b) << c.token;
    }
    EXPECT_EQ(OneStep("host-version:null").version, std::nullopt);
    EXPECT_EQ(OneStep("host-version:0x0207FFFF").version, 0x0207FFFFu);
    EXPECT_EQ(OneStep("sim-script:send 1*36;wait 100").text, "send 1*36;wait 100");
}

namespace {

std::vector<std::string> VerbsOf(const HostOptions& options) {
    std::vector<std::string> verbs;
    for (const Step& step : options.steps)
        verbs.push_back(step.verb + (step.a != 0 ? ":" + std::to_string(step.a) : ""));
    return verbs;
}

} // namespace

TEST(HostCommandLine, RepeatExpandsItsStepsInPlace) {
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> verbs;
    } cases[] = {
        {{"open", "repeat:2", "start", "wait:5", "stop", "end", "close"},
         {"open", "start", "wait:5", "stop", "start", "wait:5", "stop", "close"}},
        {{"repeat:0", "start", "end", "close"}, {"close"}},
        {{"repeat:3", "end", "close"}, {"close"}},
        {{"repeat:2", "open", "repeat:2", "wait:1", "end", "close", "end"},
         {"open", "wait:1", "wait:1", "close", "open", "wait:1", "wait:1", "close"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VerbsOf(Parsed(c.args)), c.verbs) << c.args.front();
    }
    EXPECT_EQ(Parsed({"repeat:1000", "start", "stop", "end"}).steps.size(), 2000u);
}

TEST(HostCommandLine, RefusesRepeatsThatDoNotClose) {
    const std::vector<std::string> bad[] = {
        {"--plugin=p", "repeat:2", "start"},
        {"--plugin=p", "start", "end"},
        {"--plugin=p", "repeat:2", "start", "end", "end"},
        {"--plugin=p", "repeat:-1", "start", "end"},
        {"--plugin=p", "repeat:x", "start", "end"},
        {"--plugin=p", "repeat", "start", "end"},
        {"--plugin=p", "repeat:2", "fly", "end"},
        {"--plugin=p", "repeat:1000", "repeat:1000", "wait:1", "end", "end"},
    };
    for (const auto& args : bad) {
        HostOptions options;
        std::string error;
        EXPECT_FALSE(ParseHostCommandLine(args, &options, &error)) << args[1] << " " << args.back();
        EXPECT_FALSE(error.empty());
    }
}

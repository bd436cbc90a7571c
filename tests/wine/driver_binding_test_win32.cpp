// Binding the receiver driver at Open and letting it go at Close, with the simulator, with a
// driver that lacks one function, and with none at all.
#include <gtest/gtest.h>

#include "tests/wine/host_run_win32.h"
#include "tests/wine/scenario_checks_win32.h"

namespace {

struct DriverCase {
    const char* name;
    Driver driver;
    std::vector<std::string> boxes;
    int64_t attachesAfterOpen; // loads of the simulator
    int64_t detachesAfterOpen;
    bool workers; // Start starts the two threads
};

class DriverBinding : public testing::TestWithParam<DriverCase> {};

} // namespace

TEST_P(DriverBinding, ReportsOnceAtOpenAndStartsOnlyWithAFullDriver) {
    const DriverCase& c = GetParam();
    HostRun run =
        RunHost({c.driver, {}, {"open", "sim", "start", "wait:150", "sim", "stop", "close", "sim"}});
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    ExpectBoxes(run, c.boxes);
    // Any box belongs to Open.
    EXPECT_EQ(LinesBetween(run, "box", -1, 0).size(), c.boxes.size());
    EXPECT_EQ(run.Step(0)->Get("result"), kPluginName);
    std::vector<const ParsedLine*> sim = SimStates(run);
    ASSERT_EQ(sim.size(), 3u);
    EXPECT_EQ(sim[0]->Number("loaded"), c.attachesAfterOpen > c.detachesAfterOpen ? 1 : 0);
    EXPECT_EQ(sim[0]->Number("attaches"), c.attachesAfterOpen);
    EXPECT_EQ(sim[0]->Number("detaches"), c.detachesAfterOpen);
    EXPECT_EQ(PluginThreadsAfter(run, 2), c.workers ? 2 : 0);
    EXPECT_EQ(PluginThreadsAfter(run, 6), 0);
    // After Close no driver stays loaded.
    EXPECT_EQ(sim[2]->Number("loaded"), 0);
    EXPECT_EQ(sim[2]->Number("attaches"), sim[2]->Number("detaches"));
}

INSTANTIATE_TEST_SUITE_P(
    Drivers, DriverBinding,
    testing::Values(DriverCase{"simulator", Driver::Simulator, {}, 1, 0, true},
                    DriverCase{"four_exports", Driver::FourExports, {kInvalidDriver}, 1, 1, false},
                    DriverCase{"none", Driver::None, {kErrorLoading}, 0, 0, false}),
    [](const testing::TestParamInfo<DriverCase>& info) { return info.param.name; });

// The first Close comes while the threads run: it must stop them before it unloads the driver
// they call.
TEST(DriverBinding, OpenCloseOpenLoadsTheDriverTwice) {
    HostRun run =
        RunHost({Driver::Simulator,
                 {},
                 {"open", "sim", "start", "wait:100", "close", "sim", "open", "sim", "close", "sim"}});
    PrintOnFailure print(run);
    ASSERT_TRUE(run.Finished());
    ExpectBoxes(run, {});
    EXPECT_EQ(PluginThreadsAfter(run, 2), 2);
    EXPECT_EQ(PluginThreadsAfter(run, 4), 0);
    std::vector<const ParsedLine*> sim = SimStates(run);
    ASSERT_EQ(sim.size(), 4u);
    const int64_t loaded[] = {1, 0, 1, 0};
    const int64_t attaches[] = {1, 1, 2, 2};
    const int64_t detaches[] = {0, 1, 1, 2};
    for (size_t i = 0; i < sim.size(); ++i) {
        EXPECT_EQ(sim[i]->Number("loaded"), loaded[i]) << "sim line " << i;
        EXPECT_EQ(sim[i]->Number("attaches"), attaches[i]) << "sim line " << i;
        EXPECT_EQ(sim[i]->Number("detaches"), detaches[i]) << "sim line " << i;
    }
}

// A person trying the plug-in in the test host answers its boxes: with --user-dialogs the box of
// a missing driver stays open (Open waits in it) until the host's watchdog ends the run.
TEST(DriverBinding, WithUserDialogsTheHostLeavesTheBoxOpen) {
    HostRun run = RunHost({Driver::None, {"--user-dialogs", "--timeout=2500"}, {"open", "close"}});
    PrintOnFailure print(run);
    EXPECT_FALSE(run.Finished());
    EXPECT_TRUE(run.Of("dismiss").empty());
    ASSERT_EQ(run.Of("user-dialog").size(), 1u);
    EXPECT_EQ(run.Of("user-dialog")[0]->Get("text"), kErrorLoading);
    EXPECT_EQ(run.Of("timeout").size(), 1u);
}

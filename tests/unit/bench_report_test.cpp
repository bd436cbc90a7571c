// The end-to-end benchmark's arithmetic: which press answers which hand-over, the percentiles,
// and processor time per second from two snapshots of the plug-in's threads.
#include "tools/latency_bench/bench_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<ParsedLine> Lines(const std::vector<std::string>& texts) {
    std::vector<ParsedLine> lines;
    for (const std::string& text : texts) {
        ParsedLine line;
        std::string error;
        EXPECT_TRUE(ParseEventLine(text, &line, &error)) << text << ": " << error;
        lines.push_back(line);
    }
    return lines;
}

} // namespace

TEST(BenchReport, PercentilesByNearestRank) {
    // 1 to 200 in a shuffled order: the p-th percentile of n values is the value of rank ceil(p n / 100).
    std::vector<double> values;
    for (int i = 1; i <= 200; ++i)
        values.push_back(i);
    std::shuffle(values.begin(), values.end(), std::mt19937(3));
    const Distribution d = Summarise(values);
    EXPECT_EQ(d.count, 200u);
    EXPECT_EQ(d.median, 100);
    EXPECT_EQ(d.p90, 180);
    EXPECT_EQ(d.p99, 198);
    EXPECT_EQ(d.max, 200);

    struct Case {
        std::vector<double> sorted;
        double percent;
        double expected;
    } cases[] = {
        {{}, 50, 0},        {{4.5}, 99, 4.5},  {{1, 2}, 50, 1},
        {{1, 2, 3}, 50, 2}, {{1, 2, 3}, 0, 1}, {{1, 2, 3}, 100, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Percentile(c.sorted, c.percent), c.expected) << c.sorted.size() << " values, " << c.percent;
}

TEST(BenchReport, EachHandOverIsAnsweredByTheFirstPressAfterIt) {
    struct Case {
        const char* what;
        std::vector<double> handOvers, presses;
        std::vector<double> latencies;
        int unanswered, stray;
    } cases[] = {
        {"one press each", {100, 400, 700}, {100.5, 401, 702.25}, {0.5, 1, 2.25}, 0, 0},
        {"a frame that gave no press", {100, 400, 700}, {100.5, 702}, {0.5, 2}, 1, 0},
        {"a press before any hand-over", {100, 400}, {50, 101, 402}, {1, 2}, 0, 1},
        {"two presses after one hand-over", {100, 400}, {101, 150, 402}, {1, 2}, 0, 1},
        {"a press at the hand-over's own time", {100}, {100}, {0}, 0, 0},
        {"nothing handed over", {}, {10, 20}, {}, 0, 2},
        {"no press at all", {100, 400}, {}, {}, 2, 0},
    };
    for (const Case& c : cases) {
        const PressLatencies result = PairPresses(c.handOvers, c.presses);
        EXPECT_EQ(result.ms, c.latencies) << c.what;
        EXPECT_EQ(result.unanswered, c.unanswered) << c.what;
        EXPECT_EQ(result.strayPresses, c.stray) << c.what;
    }
}

TEST(BenchReport, PressTimesComeFromTheHostsLines) {
    const std::vector<ParsedLine> lines = Lines({
        R"(msg t=310.500 n=1025 w=0x0 l=0x0 how=sent lparam=0 event=press key="Power" remote="Bench")",
        R"(msg t=520.000 n=1025 w=0x0 l=0xFFFFFFFF how=sent lparam=-1 event=release key="Power" remote="Bench")",
        R"(msg t=620.250 n=1025 w=0x0 l=0x0 how=sent lparam=0 event=press key="1000E0000000304D" remote="<undefined>")",
        R"(msg t=700.000 n=1026 w=0x0 l=0x0 how=posted id=0 result=0)",
        R"(step t=900.000 i=3 do=sim-log threads=5 plugin_threads=2)",
        R"(simlog t=310.000 index=0 kind=out value=3 on=worker)",
        R"(simlog t=620.000 index=2 kind=handover value=1 status=0 count=28 on=worker)",
        R"(simlog t=309.900 index=1 kind=handover value=0 status=0 count=67 on=worker)",
        R"(simlog t=650.000 index=3 kind=handover value=2 status=2 count=0 on=worker)",
        R"(simlog t=660.000 index=4 kind=handover value=3 status=0 count=0 on=worker)",
    });
    const PressTimes times = CollectPressTimes(lines);
    EXPECT_EQ(times.handOvers, (std::vector<double>{309.9, 620}));
    EXPECT_EQ(times.presses, (std::vector<double>{310.5, 620.25}));
    EXPECT_EQ(times.undefinedPresses, 1);
}

TEST(BenchReport, IdleCpuIsTheDifferenceOfTwoSnapshotsPerSecond) {
    const std::vector<ParsedLine> lines = Lines({
        "step t=100.000 i=1 do=start ms=0.5 threads=5 plugin_threads=2",
        "thread-cpu t=1000.000 id=264 start=0x00002670 priority=15 kernel_us=0 user_us=10000",
        "thread-cpu t=1000.000 id=268 start=0x000029D0 priority=0 kernel_us=0 user_us=0",
        "thread-cpu t=1000.000 id=300 start=0x000029D0 priority=0 kernel_us=0 user_us=0",
        "step t=999.000 i=3 do=thread-cpu threads=5 plugin_threads=3",
        "thread-cpu t=11000.000 id=264 start=0x00002670 priority=15 kernel_us=20000 user_us=30000",
        "thread-cpu t=11000.000 id=268 start=0x000029D0 priority=0 kernel_us=0 user_us=5000",
        "step t=10999.000 i=5 do=thread-cpu threads=5 plugin_threads=2",
        "thread-cpu t=12000.000 id=264 start=0x00002670 priority=15 kernel_us=90000 user_us=90000",
        "step t=11999.000 i=6 do=thread-cpu threads=5 plugin_threads=1",
    });
    IdleCpu cpu;
    std::string error;
    ASSERT_TRUE(MeasureIdleCpu(lines, &cpu, &error)) << error;
    EXPECT_DOUBLE_EQ(cpu.seconds, 10);
    ASSERT_EQ(cpu.threads.size(), 2u); // the thread that ended between the snapshots is left out
    EXPECT_EQ(cpu.threads[0].id, 264);
    EXPECT_EQ(cpu.threads[0].priority, 15);
    EXPECT_DOUBLE_EQ(cpu.threads[0].msPerSecond, 4);
    EXPECT_DOUBLE_EQ(cpu.threads[1].msPerSecond, 0.5);
    EXPECT_DOUBLE_EQ(cpu.TotalMsPerSecond(), 4.5);
}

TEST(BenchReport, TheBarePollerIsCountedApartFromThePlugIn) {
    const std::vector<ParsedLine> lines = Lines({
        "thread-cpu t=1000.000 id=264 start=0x00002670 priority=15 kernel_us=0 user_us=0",
        "thread-cpu t=1000.000 id=40 who=bare-poller priority=15 kernel_us=0 user_us=0",
        "step t=999.000 i=3 do=thread-cpu threads=5 plugin_threads=3",
        "thread-cpu t=3000.000 id=264 start=0x00002670 priority=15 kernel_us=3000 user_us=3000",
        "thread-cpu t=3000.000 id=40 who=bare-poller priority=15 kernel_us=4000 user_us=1000",
        "step t=2999.000 i=5 do=thread-cpu threads=5 plugin_threads=2",
    });
    IdleCpu cpu;
    std::string error;
    ASSERT_TRUE(MeasureIdleCpu(lines, &cpu, &error)) << error;
    EXPECT_DOUBLE_EQ(cpu.TotalMsPerSecond(), 3);
    EXPECT_DOUBLE_EQ(cpu.BarePollerMsPerSecond(), 2.5);
}

TEST(BenchReport, IdleCpuNeedsTwoSnapshotsOfTheSameThreads) {
    const std::vector<std::string> bad[] = {
        {"thread-cpu t=1.000 id=1 priority=0 kernel_us=0 user_us=0", "step t=1.000 i=0 do=thread-cpu"},
        {"step t=1.000 i=0 do=thread-cpu", "step t=2.000 i=1 do=thread-cpu"},
        {"thread-cpu t=1.000 id=1 priority=0 kernel_us=0 user_us=0", "step t=1.000 i=0 do=thread-cpu",
         "thread-cpu t=2.000 id=2 priority=0 kernel_us=0 user_us=0", "step t=2.000 i=1 do=thread-cpu"},
        {"thread-cpu t=1.000 id=1 priority=0 error=6", "step t=1.000 i=0 do=thread-cpu",
         "step t=2.000 i=1 do=thread-cpu"},
    };
    for (const auto& texts : bad) {
        IdleCpu cpu;
        std::string error;
        EXPECT_FALSE(MeasureIdleCpu(Lines(texts), &cpu, &error)) << texts[0];
        EXPECT_FALSE(error.empty());
    }
}

#include "tools/receiver_simulator/sim_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

SimScript Parsed(const std::string& text) {
    SimScript script;
    std::string error;
    EXPECT_TRUE(ParseSimScript(text, &script, &error)) << text << ": " << error;
    return script;
}

} // namespace

TEST(SimScriptParse, RefusesFaultyScriptsNamingTheLine) {
    struct Case {
        const char* text;
        const char* why; // part of the error message
    } cases[] = {
        {"send 256", "line 1: not a byte: 256"},
        {"send -1", "not a byte"},
        {"send 1\nsend x", "line 2: not a byte: x"},
        {"send 1*513", "more than 512 bytes"},
        {"send 0*300 0*300", "more than 512 bytes"},
        {"send 1*-2", "bad repeat count"},
        {"send count=abc", "bad count"},
        {"send status=", "bad status"},
        {"wait", "expected one number after wait"},
        {"wait -5", "out of range"},
        {"wait 5 6", "expected one number"},
        {"idle 0x100000000", "out of range"},
        {"loop 2; send 1", "loop without end"},
        {"end", "end without loop"},
        {"loop 1; end 3", "end takes no argument"},
        {"loop 0; send 1; end", "needs a wait"},
        {"loop 1;loop 1;loop 1;loop 1;loop 1;loop 1;loop 1;loop 1;loop 1", "nested too deep"},
        {"blink 3", "unknown step"},
        {"hostmsg -1", "out of range"},
        {"hostmsg", "expected one number"},
        {"portdelay -1", "out of range"},
        {"portdelay 1001", "out of range"},
    };
    for (const auto& c : cases) {
        SimScript script;
        std::string error;
        EXPECT_FALSE(ParseSimScript(c.text, &script, &error)) << c.text;
        EXPECT_NE(error.find(c.why), std::string::npos) << c.text << " gave: " << error;
    }
}

TEST(SimScriptParse, ReadsBatchesWithTheirStatusCountAndBytes) {
    struct Case {
        const char* text;
        int32_t status;
        int32_t count;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"send 10 0 2 250 40", 0, 5, {10, 0, 2, 250, 40}},
        {"send 7*3 0x10", 0, 4, {7, 7, 7, 16}},
        {"send 0xff*0", 0, 0, {}},
        {"  send   1\t2  # comment 3", 0, 2, {1, 2}},
        {"send count=600 1 2", 0, 600, {1, 2}},
        {"send count=-3", 0, -3, {}},
        {"send status=1", 1, 0, {}},
        {"send status=7 count=2 9 9", 7, 2, {9, 9}},
        {"send 200*512", 0, 512, std::vector<uint8_t>(512, 200)},
    };
    for (const auto& c : cases) {
        SimScript script = Parsed(c.text);
        ASSERT_EQ(script.batches.size(), 1u) << c.text;
        EXPECT_EQ(script.batches[0].status, c.status) << c.text;
        EXPECT_EQ(script.batches[0].count, c.count) << c.text;
        EXPECT_EQ(script.batches[0].bytes, c.bytes) << c.text;
    }
}

// A poll at a time (ms after the first poll) and the batch it should get (-1: idle answer).
struct Poll {
    double atMs;
    int batch;
    int32_t status;
};

TEST(SimTimeline, HandsOverEachBatchAtTheFirstPollAtOrAfterItsTime) {
    struct Case {
        const char* text;
        std::vector<Poll> polls;
    } cases[] = {
        {"", {{0, -1, 2}, {1000, -1, 2}}},
        {"idle 0; send 1 2 3", {{0, 0, 0}, {1, -1, 0}}},
        {"idle 1; wait 100; send 5; idle 0",
         {{0, -1, 1}, {50, -1, 1}, {99.999, -1, 1}, {100, 0, 0}, {101, -1, 0}}},
        {"send 1; send 2; send status=2 3", {{0, 0, 0}, {0, 1, 0}, {0, 2, 2}, {0, -1, 2}}},
        // Polls slower than the batches: they queue and come one per poll.
        {"send 1; wait 10; send 2; wait 10; send 3", {{0, 0, 0}, {25, 1, 0}, {26, 2, 0}, {27, -1, 2}}},
        {"loop 3; send 1; wait 10; end",
         {{0, 0, 0}, {5, -1, 2}, {10, 0, 0}, {15, -1, 2}, {20, 0, 0}, {30, -1, 2}, {1000, -1, 2}}},
        // Waits add up on the script's own clock, so late polls do not shift later batches.
        {"loop 0; wait 100; send 9; end", {{0, -1, 2}, {130, 0, 0}, {200, 0, 0}, {290, -1, 2}, {300, 0, 0}}},
        {"loop 2; loop 2; send 1; end; send 2; end",
         {{0, 0, 0}, {0, 0, 0}, {0, 1, 0}, {0, 0, 0}, {0, 0, 0}, {0, 1, 0}, {0, -1, 2}}},
    };
    for (const auto& c : cases) {
        SimScript script = Parsed(c.text);
        SimTimeline timeline(&script);
        const int64_t origin = 5'000'000'000; // the clock need not start at zero
        for (const Poll& p : c.polls) {
            SimAnswer answer = timeline.Poll(origin + static_cast<int64_t>(p.atMs * 1000));
            EXPECT_EQ(answer.batch, p.batch) << c.text << " at " << p.atMs;
            EXPECT_EQ(answer.status, p.status) << c.text << " at " << p.atMs;
            if (p.batch >= 0)
                EXPECT_EQ(answer.count, script.batches[static_cast<size_t>(p.batch)].count);
            else
                EXPECT_EQ(answer.count, 0);
        }
    }
}

TEST(SimTimeline, DropsWhatDoesNotFitTheQueueAndReportsTheEnd) {
    SimScript script = Parsed("loop 70; send 1; end; wait 50; send 2");
    SimTimeline timeline(&script);
    EXPECT_EQ(timeline.Poll(0).batch, 0);
    EXPECT_EQ(timeline.Dropped(), 70 - 64);
    EXPECT_FALSE(timeline.Finished());
    int taken = 1;
    SimAnswer answer;
    while ((answer = timeline.Poll(1'000'000)).batch == 0)
        ++taken;
    EXPECT_EQ(taken, 64);
    // The batch after the wait queued behind the others and ends the script.
    EXPECT_EQ(answer.batch, 1);
    EXPECT_TRUE(timeline.Finished());
}

TEST(SimTimeline, ForeverLoopKeepsStreamingWithoutEnding) {
    SimScript script = Parsed("idle 0; loop 0; send 1*36; wait 20; end");
    SimTimeline timeline(&script);
    int batches = 0;
    for (int ms = 0; ms < 10'000; ms += 10)
        batches += timeline.Poll(ms * 1000).batch >= 0 ? 1 : 0;
    EXPECT_EQ(batches, 500);
    EXPECT_FALSE(timeline.Finished());
    EXPECT_EQ(timeline.Dropped(), 0);
}

TEST(SimTimeline, HostMessagesFallDueWithTheScriptAndAreTakenOnce) {
    SimScript script = Parsed("hostmsg 1124; wait 100; hostmsg 1125; hostmsg 1126");
    SimTimeline timeline(&script);
    uint32_t message = 0;
    timeline.Poll(0);
    ASSERT_TRUE(timeline.TakeHostMessage(&message));
    EXPECT_EQ(message, 1124u);
    EXPECT_FALSE(timeline.TakeHostMessage(&message));
    timeline.Poll(99'000);
    EXPECT_FALSE(timeline.TakeHostMessage(&message));
    timeline.Poll(100'000);
    EXPECT_FALSE(timeline.Finished()); // two messages wait to be taken
    ASSERT_TRUE(timeline.TakeHostMessage(&message));
    EXPECT_EQ(message, 1125u);
    ASSERT_TRUE(timeline.TakeHostMessage(&message));
    EXPECT_EQ(message, 1126u);
    EXPECT_FALSE(timeline.TakeHostMessage(&message));
    EXPECT_TRUE(timeline.Finished());
}

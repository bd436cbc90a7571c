// The decoder, the raw signature builder and the key table's indexed lookups against the plain
// versions they replaced (tests/support/reference_*): the same result on every real capture, on
// random trains and on random tables, to the bit. RC-6 frames are checked against the RC-6 rules
// written out apart (reference_rc6), every other train against the decoder before the speed work.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "capture_import/receiver_model.h"
#include "config/key_table.h"
#include "decoding/pulse_train_decoder.h"
#include "decoding/raw_signature.h"
#include "receiver/receiver.h"
#include "support/ir_captures.h"
#include "support/ir_trains.h"
#include "support/reference_decoding.h"
#include "support/reference_key_table.h"
#include "support/reference_rc6.h"

namespace {

// Decodes copies with both versions and compares the codes. The trains they leave behind are not
// compared: both may rearrange a train in place, each in its own way, and nothing reads a train
// after it was decoded (the dialog's copy is taken before).
void ExpectSameDecoding(const Durations& train, KeyCode previous, const std::string& where) {
    Durations mine = train;
    Durations theirs = train;
    const int32_t count = static_cast<int32_t>(train.size());
    const KeyCode code = DecodePulseTrain(mine.data(), count, previous);
    ASSERT_EQ(code, reference::DecodeWithRc6(theirs.data(), count, previous)) << where;
}

void ExpectSameSignature(const Durations& train, const std::string& where) {
    uint8_t mine[kRawSignatureCapacity];
    uint8_t theirs[kRawSignatureCapacity];
    const int32_t count = static_cast<int32_t>(train.size());
    const int32_t length = BuildRawSignature(train.data(), count, mine);
    ASSERT_EQ(length, reference::BuildRawSignature(train.data(), count, theirs)) << where;
    ASSERT_EQ(std::memcmp(mine, theirs, static_cast<size_t>(length)), 0) << where;
}

TEST(Differential, EveryRealCapture) {
    std::vector<IrCapture> captures;
    std::string error;
    if (!ReadIrCaptures(IrCapturesPath(ORVIK_TESTDATA_DIR), captures, error))
        GTEST_SKIP() << "real captures not available: " << error;
    KeyCode previous = 0;
    for (const IrCapture& capture : captures) {
        const std::string where = capture.file + " / " + capture.button;
        for (const Durations& train :
             {capture.durations, AsReceived(capture), Stretched(capture.durations, 11, 10)}) {
            ExpectSameDecoding(train, previous, where);
            ExpectSameSignature(train, where);
        }
        Durations mine = AsReceived(capture);
        previous = DecodePulseTrain(mine.data(), static_cast<int32_t>(mine.size()), previous);
    }
}

// Random trains: frames of the three codings with jitter, and trains around a few lengths, with
// outliers, separators, zeros and extremes, so that every branch of both versions is taken often.
int32_t Jittered(std::mt19937& random, int32_t d, int32_t jitter) {
    return jitter == 0 ? d : d + std::uniform_int_distribution<int32_t>(-jitter, jitter)(random);
}

Durations RandomFrame(std::mt19937& random) {
    std::uniform_int_distribution<int> pick(0, 99);
    std::string bits = "1";
    const int length = 4 + pick(random) % 60;
    for (int i = 1; i < length; ++i)
        bits += pick(random) % 2 ? '1' : '0';
    const int kind = pick(random) % 3;
    Durations frame = kind == 0   ? PulseDistanceTrain({9000, 4500}, bits)
                      : kind == 1 ? PulseLengthTrain(2400, bits)
                                  : BiPhaseTrain(bits, 400 + pick(random) * 10);
    if (pick(random) < 30)
        frame = Joined(Joined(frame, {40000}), frame);
    const int32_t jitter = pick(random) % 3 == 0 ? 0 : pick(random) * 2;
    for (int32_t& d : frame)
        d = std::max(Jittered(random, d, jitter), 1);
    return frame;
}

Durations RandomTrain(std::mt19937& random) {
    std::uniform_int_distribution<int> pick(0, 99);
    if (pick(random) < 50)
        return RandomFrame(random);
    const int32_t unit = std::uniform_int_distribution<int32_t>(50, 3000)(random);
    const int length = std::uniform_int_distribution<int>(0, 600)(random);
    const int lengths = std::uniform_int_distribution<int>(1, 6)(random);
    const int32_t jitter = pick(random) % 4 == 0 ? 0 : unit / (2 + pick(random) % 8);
    Durations train;
    for (int i = 0; i < length; ++i) {
        int32_t d = Jittered(random, unit * (1 + pick(random) % lengths), jitter);
        const int odd = pick(random);
        if (odd == 0)
            d = 0;
        else if (odd == 1)
            d = -d;
        else if (odd == 2)
            d = std::uniform_int_distribution<int32_t>(1, INT32_MAX)(random);
        else if (odd < 5)
            d = 10000 + pick(random) * 300; // gaps and separators
        train.push_back(d);
    }
    return train;
}

TEST(Differential, RandomTrains) {
    std::mt19937 random(20261207);
    KeyCode previous = 0;
    int decoded = 0;
    for (int n = 0; n < 40000; ++n) {
        const Durations train = RandomTrain(random);
        const std::string where = "random train " + std::to_string(n);
        ExpectSameDecoding(train, previous, where);
        ExpectSameSignature(train, where);
        Durations mine = train;
        previous = DecodePulseTrain(mine.data(), static_cast<int32_t>(mine.size()), previous);
        decoded += previous != 0;
    }
    // Most of the frames must decode, or the comparison above says little.
    EXPECT_GT(decoded, 10000) << decoded;
}

// RC-6 frames of every mode and of 8 to 48 payload bits, at units around 444 us, with the marks
// lengthened or shortened, jitter up to and beyond half a unit, durations put on the edges of the
// unit bands, cut anywhere, followed by a gap and more, and as receivers of models 0 and 1 deliver
// them.
Durations RandomRc6Train(std::mt19937& random) {
    std::uniform_int_distribution<int> pick(0, 99);
    const int lengths[] = {16, 16, 20, 24, 32, 32, 8 + pick(random) % 41};
    const int payload = lengths[pick(random) % 7];
    std::string bits;
    for (int i = 0; i < payload; ++i)
        bits += pick(random) % 2 ? '1' : '0';
    const int modes[] = {0, 0, 6, 6, pick(random) % 8};
    const int32_t unit = 380 + pick(random) * 14 / 10;
    Durations train = Rc6Train(modes[pick(random) % 5], pick(random) % 2 == 0, bits, unit);
    const int32_t stretch = std::uniform_int_distribution<int32_t>(-unit * 6 / 10, unit * 6 / 10)(random);
    const int32_t jitters[] = {0, unit / 8, unit / 3, unit / 2 + 20};
    const int32_t jitter = jitters[pick(random) % 4];
    for (size_t i = 0; i < train.size(); ++i)
        train[i] = Jittered(random, train[i] + (i % 2 == 0 ? stretch : -stretch), jitter);
    if (pick(random) < 30) {
        // One duration on the edge of a unit band (in sixteenths of a unit: 8, 24, 40, 56, 88).
        const int32_t eight = train[0] + train[1];
        const int32_t sixteenStretch = 4 * train[0] - 12 * train[1];
        const size_t i = 2 + static_cast<size_t>(pick(random)) % (train.size() - 2);
        const int edges[] = {1, 3, 5, 7, 11};
        const int32_t at =
            (edges[pick(random) % 5] * eight + (i % 2 == 0 ? sixteenStretch : -sixteenStretch)) / 16;
        train[i] = at - pick(random) % 2;
    }
    if (pick(random) < 25)
        train.resize(3 + static_cast<size_t>(pick(random)) % train.size());
    if (pick(random) < 20)
        train = Joined(Joined(train, {std::uniform_int_distribution<int32_t>(1500, 60000)(random)}), train);
    for (int32_t& d : train)
        d = std::max(d, 1);
    if (pick(random) < 30)
        train = AsModelDelivers(train, pick(random) % 2, pick(random) % 2 ? 8533 : 2133);
    return train;
}

TEST(Differential, RandomRc6Trains) {
    std::mt19937 random(20261208);
    int rc6Codes = 0;
    int notWhole = 0;
    int written = 0;
    for (int n = 0; n < 30000; ++n) {
        Durations train = RandomRc6Train(random);
        const KeyCode previous = n % 3 == 0 ? 0x0220000020DF10EFull : 0;
        ExpectSameDecoding(train, previous, "random RC-6 train " + std::to_string(n));
        const int32_t odd = static_cast<int32_t>(train.size() - (train.size() + 1) % 2);
        const std::optional<KeyCode> rc6 = odd >= 7 ? reference::DecodeRc6(train.data(), odd) : std::nullopt;
        rc6Codes += rc6 && *rc6 != 0;
        notWhole += rc6 && *rc6 == 0;
        written += !rc6;
    }
    // Every outcome is met often, or the comparison above says little.
    EXPECT_GT(rc6Codes, 5000);
    EXPECT_GT(notWhole, 4000);
    EXPECT_GT(written, 10000);
}

// Codes that collide without regard to case, duplicates, entries without '=', and raw texts that
// agree in class numbers but not in centres, looked up by hits and misses alike.
TEST(Differential, KeyTableLookups) {
    std::mt19937 random(7);
    const char* const codes[] = {"0220000020DF10EF", "0220000020df10ef", "ABCDE", "",
                                 "00000000000abcde", "0000000000000001", "x",     "0000000000000002"};
    const char* const raws[] = {"2284030807840308070410",
                                "2284030807840308070411",
                                "228403080784030807",
                                "22F401E803E803D0070100",
                                "2200000000000000000410",
                                "11",
                                "1",
                                "ZZ",
                                "",
                                "2284030807840308070410FF",
                                "a2"};
    for (int round = 0; round < 200; ++round) {
        StringList table;
        std::vector<std::string> texts;
        const int entries = std::uniform_int_distribution<int>(0, 60)(random);
        for (int i = 0; i < entries; ++i) {
            const int which = std::uniform_int_distribution<int>(0, 9)(random);
            std::string text = which < 8 ? std::string(codes[which]) + "=Key " + std::to_string(i)
                                         : raws[std::uniform_int_distribution<int>(0, 10)(random)];
            if (which == 9)
                text += "=" + std::to_string(i); // '=' inside a raw text
            table.Add(text, i);
        }
        for (const char* code : codes) {
            EXPECT_EQ(FindCodeEntryIn(table, code), reference::FindCodeEntryIn(table, code)) << code;
            EXPECT_EQ(FindCodeEntryIn(table, std::string(code) + "=x"), -1);
        }
        for (const char* raw : raws) {
            const int32_t expected = reference::FindRawEntryIn(table, raw);
            EXPECT_EQ(table.FirstSameRawSignature(raw), expected) << raw;
        }
    }
}

} // namespace

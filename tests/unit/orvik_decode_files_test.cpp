// orvik-decode on the capture formats people have: Flipper .ir files and LIRC mode2 recordings of
// real remotes, receiver models, and remote definition files written from captures.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "config/configuration.h"
#include "config/remote_files.h"
#include "support/ir_captures.h"
#include "support/ir_trains.h"
#include "support/key_table_fixture.h"
#include "support/memory_file_system.h"
#include "support/train_results.h"
#include "capture_import/import_rows.h"
#include "capture_import/receiver_model.h"
#include "tools/orvik_decode/decode_report.h"
#include "tools/orvik_decode/remote_file_writer.h"
#include "tools/orvik_decode/remote_lookup.h"
#include "tools/orvik_decode/remotes_to_write.h"

namespace {

const std::string kCaptures = ORVIK_SOURCE_DIR "/tests/data/captures/";

std::vector<DecodedTrain> DecodeText(const std::string& text, DecodeSession session = {}) {
    std::istringstream in(text);
    return DecodeInput(in, session);
}

std::string FileText(const std::string& path) {
    std::string text;
    EXPECT_EQ(StdFileSystem().ReadFile(path, &text), ReadResult::Ok) << path;
    return text;
}

// The real captures of one collection file, from the shared test data.
std::vector<IrCapture> CapturesOf(const std::string& file) {
    std::vector<IrCapture> all;
    std::vector<IrCapture> found;
    std::string error;
    if (ReadIrCaptures(IrCapturesPath(ORVIK_TESTDATA_DIR), all, error)) {
        for (const IrCapture& capture : all) {
            if (capture.file == file)
                found.push_back(capture);
        }
    }
    return found;
}

TEST(OrvikDecodeFiles, FlipperFileGivesEveryRawButtonWithItsName) {
    const std::vector<IrCapture> captures = CapturesOf("LED_Lighting/Unknown/Light_Strip.ir");
    if (captures.empty())
        GTEST_SKIP() << "real captures not available";
    const std::vector<DecodedTrain> trains = DecodeText(FileText(kCaptures + "Light_Strip.ir"));
    ASSERT_EQ(trains.size(), captures.size());
    for (size_t k = 0; k < trains.size(); ++k) {
        EXPECT_EQ(trains[k].name, captures[k].button);
        EXPECT_EQ(trains[k].error, "");
        EXPECT_EQ(trains[k].report.code,
                  DecodeCopy(AsReceived(captures[k]), k == 0 ? 0 : trains[k - 1].report.code));
    }
}

TEST(OrvikDecodeFiles, Mode2RecordingOfRealCapturesGivesTheirTrains) {
    const std::vector<IrCapture> captures = CapturesOf("Miscellaneous/OREI HDMI Switcher/OREI HD-401MV.ir");
    if (captures.empty())
        GTEST_SKIP() << "real captures not available";
    // As a LIRC receiver records them: silence first, a timeout after each burst. A space above
    // 30 ms (the gap before a repeat frame) ends a train there too.
    std::string mode2 = "space 3000000\n";
    std::vector<Durations> expected;
    for (const IrCapture& capture : captures) {
        expected.emplace_back();
        for (size_t k = 0; k < capture.durations.size(); ++k) {
            const int32_t d = capture.durations[k];
            mode2 += (k % 2 == 0 ? "pulse " : "space ") + std::to_string(d) + "\n";
            if (k % 2 == 1 && d > 30000)
                expected.emplace_back();
            else
                expected.back().push_back(d);
        }
        mode2 += "timeout 125000\n";
    }
    const std::vector<DecodedTrain> trains = DecodeText(mode2);
    ASSERT_EQ(trains.size(), expected.size());
    KeyCode previous = 0;
    for (size_t k = 0; k < trains.size(); ++k) {
        previous = DecodeCopy(expected[k], previous);
        EXPECT_EQ(trains[k].report.code, previous) << "train " << k;
        EXPECT_EQ(trains[k].error, "");
    }
}

TEST(OrvikDecodeFiles, BadLinesAndDurationsAreReportedAndTheRestIsDecoded) {
    const std::string nec = "9000 4500 560 1690 560 560 560 1690 560 560 560 1690 560 560 560 1690 560";
    struct Case {
        const char* name;
        std::string input;
        std::string error; // part of the message for the first train
    } cases[] = {
        {"zero", "9000 0 560", "duration 0 is not above 0 (duration 2"},
        {"negative pulse", "-9000 4500 560", "negative duration"},
        {"pause marked as a pulse", "9000 +4500 560", "a pause marked as a pulse"},
        {"beyond the receiver", "9000 170000 560", "longer than any receiver delivers (169892 us)"},
        {"negative in a Flipper file", "name: A\ntype: raw\ndata: 9000 -4500 560", "negative duration"},
        {"data outside a raw signal", "name: A\ndata: 9000 4500 560", "\"data:\" outside a raw signal"},
        {"parsed signal without command", "name: A\ntype: parsed\nprotocol: NEC\naddress: 04 00 00 00",
         "parsed signal without \"command:\""},
        {"unknown key", "nme: A", "unknown key \"nme\""},
        {"negative in mode2", "pulse -560", "negative duration"},
    };
    for (const Case& c : cases) {
        DecodeSession session;
        const std::vector<DecodedTrain> trains = DecodeText(c.input + "\n" + nec, session);
        ASSERT_EQ(trains.size(), 2u) << c.name;
        EXPECT_NE(trains[0].error.find(c.error), std::string::npos) << c.name << ": " << trains[0].error;
        EXPECT_EQ(trains[0].report.code, 0u) << c.name;
        EXPECT_EQ(trains[1].error, "") << c.name;
        EXPECT_NE(trains[1].report.code, 0u) << c.name;
    }
}

TEST(OrvikDecodeFiles, ReceiverModelsDeliverTicksWithinTheirByteLimits) {
    struct Case {
        int model;
        std::vector<int32_t> durations;
        std::vector<int32_t> delivered;
    } cases[] = {
        // 85.33 us ticks, rounded; model 0 ends at 255 ticks and raises 1 and 2 to 3.
        {0, {9000, 4500, 100}, {8959, 4522, 255}},
        {0, {30000, 560, 560}, {21759, 597, 597}},
        // Model 1: two bytes from 249 ticks; the even byte count is ended with a 0.
        {1, {30000, 560, 560}, {30036, 597, 597}},   // 352 ticks
        {1, {200000, 560, 560}, {169892, 597, 597}}, // 1991 ticks
        // Model 2: three bytes first, so an odd train is an even count: the plug-in adds 235 ticks.
        {2, {9000, 4500, 560}, {20052, 8959, 4522, 597}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AsModelDelivers(c.durations, c.model, kDefaultScaler), c.delivered) << "model " << c.model;
}

DecodedTrain Decoded(const std::string& name, KeyCode code, const std::string& raw = "", size_t length = 67) {
    DecodedTrain train;
    train.name = name;
    train.report.code = code;
    train.report.rawSignature = raw;
    train.repeatFrame = length <= 6;
    return train;
}

// A button of a protocol with a toggle bit: its frame and the frame of the other toggle state.
DecodedTrain Toggling(const std::string& name, DecodeReport frame, DecodeReport other) {
    DecodedTrain train = Decoded(name, frame.code, frame.rawSignature);
    train.hasToggled = true;
    train.toggled = other;
    return train;
}

// The reasons of the buttons left out, in button order.
std::vector<std::string> LeftOut(const ImportRows& remote) {
    std::vector<std::string> reasons;
    for (const ButtonOutcome& outcome : remote.outcomes) {
        if (outcome.fate != ButtonOutcome::Fate::Added)
            reasons.push_back(outcome.reason);
    }
    return reasons;
}

TEST(OrvikDecodeFiles, RemoteRowsKeepTheFirstButtonOfACodeAndReportTheOther) {
    const std::vector<DecodedTrain> trains = {
        Decoded("Power", 0x0220000000FF00FFull),
        Decoded("Power", 0x0220000000FF00FFull, "", 3), // its repeat frame
        Decoded("Power", 0x0220000000FF00FFull),        // a second capture
        Decoded("Standby", 0x0220000000FF00FFull),
        Decoded("Mode", 0x0220000000FF807Full),
        Decoded("Mode", 0x0220000000FF40BFull), // another code of the same button
        Decoded("Odd", 0, "2284030807840308070410"),
        Decoded("Odder", 0, "2284030807840308070410"),
        Decoded("Mute", 0, "22F401E803E803D0070100"),
        Decoded("Mute", 0x0220000000FF18E7ull), // one of its captures decodes: no raw pattern
        Decoded("Noise", 0),
        Decoded("Held", 0, "2130022823CA0840", 3), // a repeat frame alone: no key
        // Both toggle states: two codes, or, not decoding, two raw patterns.
        Toggling("Rc6", {0x0314000000008008ull, ""}, {0x0314000000008009ull, ""}),
        Toggling("Twin", {0, "22000100020003000401"}, {0, "22000100020003000402"}),
    };
    const ImportRows remote = BuildImportRows(trains, "Switch", false);
    std::vector<std::string> rows;
    for (const KeyListRow& row : remote.rows)
        rows.push_back(row.keyName + "=" + row.codeText + "/" + row.rawText);
    const std::vector<std::string> expected = {
        "Power=0220000000FF00FF/",     "Mode=0220000000FF807F/",     "Mode=0220000000FF40BF/",
        "Mute=0220000000FF18E7/",      "Rc6=0314000000008008/",      "Rc6=0314000000008009/",
        "Odd=/2284030807840308070410", "Twin=/22000100020003000401", "Twin=/22000100020003000402"};
    EXPECT_EQ(rows, expected);
    const std::vector<std::string> problems = LeftOut(remote);
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_NE(problems[0].find("\"Power\" and \"Standby\" give one code"), std::string::npos);
    EXPECT_NE(problems[1].find("\"Odd\" and \"Odder\" give one raw pattern"), std::string::npos);
    EXPECT_NE(problems[2].find("\"Noise\" gives neither"), std::string::npos);
    EXPECT_EQ(problems[3], "button \"Held\": repeat frame only");
}

TEST(OrvikDecodeFiles, WrittenRemoteLoadsBackWithTheSameNamesAndCodes) {
    for (const int model : {-1, 0, 1}) {
        DecodeSession session;
        session.model = model;
        const std::vector<DecodedTrain> trains = DecodeText(FileText(kCaptures + "Light_Strip.ir"), session);
        const ImportRows remote = BuildImportRows(trains, "Light strip", false);
        MemoryFileSystem fs;
        // Another remote's file in the folder keeps its keys: only the written file changes.
        const std::string other = "[Main]\r\nName=TV\r\n[Code]\r\n0220000020DF10EF=Power\r\n";
        fs.Put("/m/TV.cfg", other);
        std::string path;
        ASSERT_TRUE(WriteRemoteFile(fs, "/m/", "Light strip", remote.rows, &path));
        EXPECT_EQ(path, "/m/Light_strip.cfg");
        EXPECT_EQ(fs.Get("/m/TV.cfg"), other);
        fs.Remove("/m/TV.cfg");

        ScopedKeyTable table;
        LoadConfiguration(fs, "/m/OrvikPlug.dll");
        LoadedRemotes loaded;
        LoadRemoteFiles(fs, {"/m/Light_strip.cfg"}, loaded);
        EXPECT_EQ(DumpKeyTable(table.names, table.codes, table.raws),
                  DumpKeyTable(loaded.names, loaded.codes, loaded.raws));
        int named = 0;
        for (const DecodedTrain& train : trains) {
            const std::string byCode = KeyForCode(loaded, train.report.code);
            const std::string byRaw = KeyForRawSignature(loaded, train.report.rawSignature);
            if (byCode.empty() && byRaw.empty())
                continue;
            // Every button written is named back, by code or (not decoding) by its raw pattern.
            EXPECT_EQ(byCode.empty() ? byRaw : byCode, train.name + " (Light strip)") << "model " << model;
            ++named;
        }
        EXPECT_EQ(named + static_cast<int>(LeftOut(remote).size()), static_cast<int>(trains.size()));
    }
}

TEST(OrvikDecodeFiles, ADurationNoReceiverDeliversEndsTheTrainAfterTheFrameOnly) {
    const Durations nec = PulseDistanceTrain({9000, 4500}, BitsOf(0x20DF10EF, 32));
    const auto with = [&](size_t position, int32_t value) {
        Durations train = nec;
        train[position] = value;
        return train;
    };
    struct Case {
        const char* what;
        Durations durations;
        size_t delivered; // 0: refused
        std::string error;
    } cases[] = {
        {"a last pause longer than any receiver delivers", Joined(nec, {200000}), 67, ""},
        {"a last pause of 0", Joined(nec, {0}), 67, ""},
        {"a 0 in the repeat frame after the gap", Joined(nec, {40000, 9000, 2250, 560, 0, 560}), 71, ""},
        {"a pulse of 0 after the gap: the gap goes too", Joined(nec, {40000, 0, 2250, 560}), 67, ""},
        {"a pause from position 11 on is a gap", with(13, 200000), 13, ""},
        {"a long pause among the first ten belongs to the frame", with(5, 200000), 0,
         "duration 200000 is longer than any receiver delivers"},
        {"a 0 inside the frame", with(21, 0), 0, "duration 0 is not above 0 (duration 22 of the train)"},
    };
    for (const Case& c : cases) {
        ImportedButton button;
        button.durations = c.durations;
        DecodeSession session;
        const DecodedTrain train = DecodeButton(button, session);
        EXPECT_EQ(train.delivered, c.delivered) << c.what;
        EXPECT_NE(train.error.find(c.error), std::string::npos) << c.what << ": " << train.error;
        EXPECT_EQ(train.error.empty(), c.error.empty()) << c.what;
        if (c.delivered >= 67) {
            EXPECT_EQ(train.report.code, 0x0220000020DF10EFull) << c.what;
        }
    }
}

TEST(OrvikDecodeFiles, SeveralLircRemotesAreWrittenEachUnderItsOwnNameInTheCodePage) {
    const auto train = [](const std::string& name, KeyCode code, const std::string& block) {
        return TrainOfRemote{Decoded(name, code), block};
    };
    // "Гостиная" in UTF-8 and in 1251; a name with a character 1251 has not.
    const std::string hall = "\xD0\x93\xD0\xBE\xD1\x81\xD1\x82\xD0\xB8\xD0\xBD\xD0\xB0\xD1\x8F";
    const std::string hall1251 = "\xC3\xEE\xF1\xF2\xE8\xED\xE0\xFF";
    struct Case {
        std::vector<TrainOfRemote> trains;
        std::vector<std::string> remotes; // name: keys
        size_t renamed;
    } cases[] = {
        {{train("Up", 1, "A"), train("Up", 2, "B"), train("Down", 3, "")}, {"A: Up", "B: Up", "TV: Down"}, 0},
        {{train("Up", 1, "A"), train("Down", 3, "")}, {"TV: Up Down"}, 0},
        {{train("Up", 1, hall), train("Vol\xE2\x96\xB2", 2, "B")}, {hall1251 + ": Up", "B: Vol{U+25B2}"}, 1},
    };
    for (const Case& c : cases) {
        std::vector<RenamedText> renamed;
        std::vector<std::string> remotes;
        for (const RemoteToWrite& remote : RemotesToWrite(c.trains, "TV", false, {1251, nullptr}, renamed)) {
            std::string keys = remote.name + ":";
            for (const KeyListRow& row : remote.rows.rows)
                keys += " " + row.keyName;
            remotes.push_back(keys);
        }
        EXPECT_EQ(remotes, c.remotes);
        EXPECT_EQ(renamed.size(), c.renamed);
    }
}

} // namespace

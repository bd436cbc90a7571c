// The import path from file to key rows: one button written in three formats gives one code, the
// rows the dialog and --write-cfg get, and the encoders' frames against real captures of the same
// buttons.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "capture_import/capture_reader.h"
#include "capture_import/import_rows.h"
#include "capture_import/protocol_encoders.h"
#include "config/file_system.h"
#include "support/ir_captures.h"
#include "support/train_results.h"

namespace {

const std::string kImport = ORVIK_SOURCE_DIR "/tests/data/import/";

std::vector<ImportedButton> ButtonsOf(const std::string& file) {
    std::string text;
    EXPECT_EQ(StdFileSystem().ReadFile(kImport + file, &text), ReadResult::Ok) << file;
    return ReadCaptureText(text).buttons;
}

// Name -> every code its buttons decode to, each train by itself.
std::map<std::string, std::set<KeyCode>> CodesByName(const std::vector<ImportedButton>& buttons) {
    std::map<std::string, std::set<KeyCode>> codes;
    for (const ImportedButton& button : buttons) {
        EXPECT_EQ(button.skipped, "") << button.name;
        codes[button.name].insert(DecodeCopy(button.durations, 0));
    }
    return codes;
}

TEST(CaptureImport, OneButtonInEveryFormatGivesOneCode) {
    // The example TV: NEC device 04 (Power, Mute, Volume+), an RC5 and an RC6 button, as Flipper
    // parsed signals, lircd.conf remotes (one also with REVERSE) and Pronto codes (learned, repeat
    // only, and the NEC, RC5 and RC6 short forms).
    const auto flipper = CodesByName(ButtonsOf("example_tv.ir"));
    const auto lirc = CodesByName(ButtonsOf("example_tv.lircd.conf"));
    const auto pronto = CodesByName(ButtonsOf("example_tv.pronto.txt"));
    ASSERT_EQ(flipper.size(), 5u);
    for (const auto& [name, codes] : flipper) {
        ASSERT_EQ(codes.size(), 1u) << name;
        EXPECT_NE(*codes.begin(), 0u) << name;
        EXPECT_EQ(lirc.at(name), codes) << name;
        EXPECT_EQ(pronto.at(name), codes) << name;
    }
    EXPECT_EQ(flipper.at("Power"), std::set<KeyCode>{0x0220000020DF10EFull});
    EXPECT_EQ(flipper.at("Standby"), std::set<KeyCode>{0x010E00000000314Cull});
}

TEST(CaptureImport, FileReadingKeepsAtMostSoManyButtonsAndNamesTheRemote) {
    struct Case {
        std::string text;
        size_t maxButtons;
        size_t buttons; // read
        bool truncated; // and more left unread
        std::string path;
        std::string remote;
    } cases[] = {
        {"500 500 500\n600 600 600\n", 2, 2, false, "C:\\ir\\Living room.txt", "Living room"},
        {"500 500 500\n600 600 600\n700 700 700", 2, 2, true, "/ir/TV.ir", "TV"},
        {"500 500 500\n600 600 600\n\n# end\n", 2, 2, false, "/ir/TV.ir", "TV"},
        {"pulse 500\nspace 500\npulse 500\n", 1, 1, false, "mode2", "mode2"},
        {"# x\nbegin remote\n name Hall\nend remote\nbegin remote\n name B\n", 5, 0, false, "/ir/a.conf",
         "Hall"},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.text);
        const CaptureText read = ReadCaptureStream(in, c.maxButtons);
        ASSERT_EQ(read.buttons.size(), c.buttons) << c.text;
        EXPECT_EQ(read.truncated, c.truncated) << c.text;
        for (const ImportedButton& button : read.buttons)
            EXPECT_EQ(button.skipped, "") << c.text;
        EXPECT_EQ(ImportRemoteName(c.path, read), c.remote);
    }
}

TEST(CaptureImport, RowsPerModeWithoutCodesTheRemoteHasAndWithTheReasonForEachButtonLeftOut) {
    const std::vector<ImportedButton> buttons = ButtonsOf("example_tv.pronto.txt");
    const std::vector<KeyListRow> existing = {
        {"Mute", "Living room", "0220000020DF906F", ""}, // the remote has Mute's code already
        {"Power", "Bedroom", "0220000020DF10EF", ""},    // another remote's row does not count
        {"Old", "Living room", "", SignatureTextOf(buttons.back().durations)}, // Menu's raw pattern
    };
    struct Case {
        ImportSettings settings;
        std::vector<std::string> rows;    // key=code/raw pattern, raw patterns shortened to "raw"
        std::vector<std::string> leftOut; // part of each reason, in button order
    } cases[] = {
        {{-1, kDefaultScaler, false},
         {"Power=0220000020DF10EF/", "Volume+=0220000020DF40BF/", "Standby=010E00000000314C/",
          "Menu=041500000010000C/"},
         {"\"Mute\" and \"Mute\" give one code"}},
        // As a model 0 receiver delivers them: the same codes.
        {{0, kDefaultScaler, false},
         {"Power=0220000020DF10EF/", "Volume+=0220000020DF40BF/", "Standby=010E00000000314C/",
          "Menu=041500000010000C/"},
         {"give one code"}},
        // Raw mode: the pattern of each button's first train; Menu's is the remote's "Old" already.
        {{-1, kDefaultScaler, true},
         {"Power=/raw", "Mute=/raw", "Volume+=/raw", "Standby=/raw"},
         {"\"Old\" and \"Menu\" give one raw pattern"}},
    };
    for (const Case& c : cases) {
        const ImportRows result = ConvertButtons(buttons, "Living room", c.settings, existing);
        std::vector<std::string> rows;
        for (const KeyListRow& row : result.rows) {
            EXPECT_EQ(row.remoteName, "Living room");
            rows.push_back(row.keyName + "=" + row.codeText + "/" + (row.rawText.empty() ? "" : "raw"));
        }
        EXPECT_EQ(rows, c.rows) << "model " << c.settings.model;
        std::vector<std::string> leftOut;
        for (const ButtonOutcome& outcome : result.outcomes) {
            if (outcome.fate != ButtonOutcome::Fate::Added)
                leftOut.push_back(outcome.reason);
        }
        ASSERT_EQ(leftOut.size(), c.leftOut.size()) << "model " << c.settings.model;
        for (size_t k = 0; k < leftOut.size(); ++k)
            EXPECT_NE(leftOut[k].find(c.leftOut[k]), std::string::npos)
                << leftOut[k] << " / " << c.leftOut[k];
        EXPECT_EQ(result.outcomes.size(), 5u); // Standby, in two lines, is one button
    }
}

TEST(CaptureImport, ButtonsWithoutATrainAreLeftOutWithTheReaderReason) {
    const ImportRows result =
        ConvertButtons(ReadCaptureText("A: 0000 0064 0002 0000 0010\n500\n").buttons, "R", {});
    ASSERT_EQ(result.outcomes.size(), 2u);
    EXPECT_EQ(result.outcomes[0].fate, ButtonOutcome::Fate::Unreadable);
    EXPECT_EQ(result.outcomes[0].reason, "button \"A\": Pronto code of 5 words; its header announces 8");
    EXPECT_EQ(result.outcomes[1].button, "Line 2");
    EXPECT_EQ(result.outcomes[1].fate, ButtonOutcome::Fate::NoCodeNorRaw);
    EXPECT_TRUE(result.rows.empty());
}

KeyCode EncodedCode(const std::string& protocol, uint32_t address, uint32_t command) {
    Durations frame;
    std::string error;
    EXPECT_TRUE(EncodeProtocolFrame(protocol, address, command, frame, error)) << error;
    return DecodeCopy(frame, 0);
}

TEST(CaptureImport, EncodedFramesDecodeAsTheRealCapturesOfTheSameButtons) {
    std::vector<IrCapture> captures;
    std::vector<IrProtocolEntry> entries;
    std::string error;
    if (!ReadIrCaptures(IrCapturesPath(ORVIK_TESTDATA_DIR), captures, error) ||
        !ReadIrProtocols(IrProtocolsPath(ORVIK_TESTDATA_DIR), entries, error))
        GTEST_SKIP() << "real captures not available: " << error;

    // The scans' expected decodes, in the meaning of the scanner's protocols, as Flipper protocols:
    // NEC with a 16-bit address is NECext with the command and its inverse; RC5 above command 63 is
    // RC5X; 12-bit SIRC codes are given as address << 7 | command.
    std::map<std::pair<std::string, std::string>, int> named; // buttons named by one entry only
    for (const IrProtocolEntry& entry : entries)
        ++named[{entry.file, entry.button}];
    int compared = 0;
    for (const IrProtocolEntry& entry : entries) {
        std::string protocol;
        uint32_t address = entry.address;
        uint32_t command = entry.command;
        if (entry.protocol == "NEC (IRMP 2)") {
            protocol = "NECext";
            command = command | (~command & 0xFF) << 8;
        } else if (entry.protocol == "RC5 (IRMP 7)") {
            protocol = command > 63 ? "RC5X" : "RC5";
        } else if (entry.protocol == "SIRCS (IRMP 1)" && address == 0 && command < 0x1000) {
            protocol = "SIRC";
            address = command >> 7;
            command &= 0x7F;
        } else {
            continue;
        }
        if (named[{entry.file, entry.button}] != 1)
            continue;
        const KeyCode encoded = EncodedCode(protocol, address, command);
        for (const IrCapture& capture : captures) {
            if (capture.file != entry.file || capture.button != entry.button)
                continue;
            EXPECT_EQ(DecodeCopy(AsReceived(capture), 0), encoded) << entry.file << " / " << entry.button;
            ++compared;
        }
    }
    EXPECT_GE(compared, 80);

    // The Flipper files give parsed entries beside raw captures of other buttons of the same remote:
    // the frames share the captures' coding, length and address bits (the code's first 16 data bits).
    // Expected per file: whether it has a raw capture that decodes with that address.
    const std::map<std::string, bool> sameAddress = {
        {"LED_Lighting/Unknown/44_Button_Generic_LED.ir", true},
        {"LED_Lighting/Unknown/44_Button_LED.ir", false}, // its raw captures do not decode
        {"LED_Lighting/Unknown/LED_Cat.ir", true},
        {"LED_Lighting/Unknown/Light_Strip.ir", true},
        {"LED_Lighting/Unknown/RGB_Lightbulb_NoName.ir", true},
        {"LED_Lighting/Unknown/Sunlamp.ir", true},
        {"SoundBars/Ultimea/Ultimea_Poseidon_M20.ir", true},
        {"Streaming_Devices/Kaleidescape/Kaleidescape_Strato_V.ir", true},
        {"TVs/Vizio/Vizio_VX32L.ir", true},
        {"Audio_and_Video_Receivers/Pioneer/Pioneer_XXD3089.ir", true}, // device A5; A4 was not captured
    };
    int flipperEntries = 0;
    for (const IrProtocolEntry& entry : entries) {
        if (entry.source.find("Flipper") == std::string::npos)
            continue;
        std::set<KeyCode> addresses;
        for (const IrCapture& capture : captures) {
            if (capture.file == entry.file)
                addresses.insert(DecodeCopy(AsReceived(capture), 0) >> 16);
        }
        const KeyCode encoded = EncodedCode(entry.protocol, entry.address, entry.command);
        const bool expected = sameAddress.at(entry.file) && entry.addressBytes != "A4 00 00 00";
        EXPECT_EQ(addresses.count(encoded >> 16) == 1, expected) << entry.file << " / " << entry.button;
        ++flipperEntries;
    }
    EXPECT_EQ(flipperEntries, 137);
}

} // namespace

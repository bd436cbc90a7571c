// Properties that must hold over every real capture in the test data folder.
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "capture_import/receiver_model.h"
#include "decoding/pulse_train_decoder.h"
#include "decoding/raw_signature.h"
#include "receiver/receiver.h"
#include "support/code_checks.h"
#include "support/ir_captures.h"
#include "support/ir_trains.h"
#include "support/train_results.h"

namespace {

const std::vector<IrCapture>& Captures(std::string& error) {
    static std::vector<IrCapture> captures;
    static std::string loadError;
    static const bool loaded = ReadIrCaptures(IrCapturesPath(ORVIK_TESTDATA_DIR), captures, loadError);
    error = loaded ? "" : loadError;
    return captures;
}

class RealCaptures : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        captures_ = &Captures(error);
        if (!error.empty())
            GTEST_SKIP() << "real captures not available: " << error;
    }
    const std::vector<IrCapture>* captures_ = nullptr;
};

std::string Where(const IrCapture& c) {
    return c.file + " / " + c.button + " #" + std::to_string(c.capture);
}

TEST_F(RealCaptures, DecodingGivesWellFormedCodesAndIsRepeatable) {
    KeyCode previous = 0;
    for (const IrCapture& capture : *captures_) {
        // In full (some captures are longer than a receiver's train) and as a receiver delivers them.
        for (const Durations& train : {capture.durations, AsReceived(capture)}) {
            const KeyCode code = DecodeCopy(train, 0);
            EXPECT_TRUE(IsWellFormedCode(code)) << Where(capture) << " gives " << std::hex << code;
            EXPECT_EQ(DecodeCopy(train, 0), code) << Where(capture);
        }
        // Chained as the sampling thread does: a train either decodes by itself or repeats.
        const KeyCode alone = DecodeCopy(AsReceived(capture), 0);
        const KeyCode chained = DecodeCopy(AsReceived(capture), previous);
        EXPECT_TRUE(chained == alone || (alone == 0 && chained == previous)) << Where(capture);
        previous = chained;
    }
}

// The RC-6 remotes of the scans (a mode 0 remote and the Xbox 360 remote in mode 6), as captured
// and as receivers of models 0 and 1 deliver them: every capture gives an RC-6 code, all captures
// of a button (its expected decode) give one code, and no two buttons share one.
TEST_F(RealCaptures, Rc6RemotesGiveOneCodePerButton) {
    std::vector<IrProtocolEntry> entries;
    std::string error;
    ASSERT_TRUE(ReadIrProtocols(IrProtocolsPath(ORVIK_TESTDATA_DIR), entries, error)) << error;
    std::map<std::string, std::string> rc6Buttons; // file and button name -> file and expected decode
    for (const IrProtocolEntry& e : entries) {
        if (e.protocol.rfind("RC6", 0) == 0)
            rc6Buttons[e.file + " / " + e.button] = e.file + " / " + e.decode;
    }
    std::map<std::string, std::set<KeyCode>> codesOfButton;
    std::map<KeyCode, std::set<std::string>> buttonsOfCode;
    int captures = 0;
    for (const IrCapture& capture : *captures_) {
        const auto button = rc6Buttons.find(capture.file + " / " + capture.button);
        if (button == rc6Buttons.end())
            continue;
        ++captures;
        const Durations received = AsReceived(capture);
        for (const Durations& train :
             {received, AsModelDelivers(received, 0, 8533), AsModelDelivers(received, 1, 2133)}) {
            const KeyCode code = DecodeCopy(train, 0);
            EXPECT_EQ(CodingKindOf(code), CodingBiPhaseRc6) << Where(capture);
            codesOfButton[button->second].insert(code);
            buttonsOfCode[code].insert(button->second);
        }
    }
    EXPECT_EQ(captures, 139);
    EXPECT_EQ(codesOfButton.size(), 53u);
    for (const auto& [button, codes] : codesOfButton)
        EXPECT_EQ(codes.size(), 1u) << button;
    for (const auto& [code, buttons] : buttonsOfCode)
        EXPECT_EQ(buttons.size(), 1u) << std::hex << code;
}

TEST_F(RealCaptures, RawSignatureMatchesItselfAndAStretchedCopy) {
    int withSignature = 0;
    std::vector<std::string> crossings;
    for (const IrCapture& capture : *captures_) {
        const Durations train = AsReceived(capture);
        uint8_t signature[kRawSignatureCapacity];
        const int32_t count = static_cast<int32_t>(train.size());
        EXPECT_TRUE(
            IsWellFormedSignature(signature, BuildRawSignature(train.data(), count, signature), count))
            << Where(capture);
        const std::string text = SignatureTextOf(train);
        // The full capture too: longer than a receiver's train, but still within the signature limit.
        const std::string full = SignatureTextOf(capture.durations);
        EXPECT_TRUE(full.empty() || SameRawSignature(full.c_str(), full.c_str())) << Where(capture);
        if (text.empty())
            continue;
        ++withSignature;
        EXPECT_TRUE(SameRawSignature(text.c_str(), text.c_str())) << Where(capture);

        const Durations stretched = Stretched(train, 11, 10);
        const std::string stretchedText = SignatureTextOf(stretched);
        if (NeighbourRatioCrossesTheLine(train, stretched)) {
            crossings.push_back(Where(capture));
            continue;
        }
        EXPECT_TRUE(SameRawSignature(text.c_str(), stretchedText.c_str()))
            << Where(capture) << "\n  " << text << "\n  " << stretchedText;
    }
    EXPECT_GT(withSignature, 0);
    std::cout << withSignature << " of " << captures_->size() << " captures give a raw signature; "
              << crossings.size() << " change class when stretched by 10 %:\n";
    for (const std::string& where : crossings)
        std::cout << "  " << where << "\n";
}

} // namespace

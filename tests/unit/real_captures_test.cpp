// Properties that must hold over every real capture in the test data folder.
#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

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

#include "decoding/raw_signature_text.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "support/test_thread.h"

namespace {

TEST(RawSignatureTextBuffer, KeepsAtMostTheBufferLessItsTerminator) {
    struct {
        std::string stored;
        size_t expectedLength;
    } cases[] = {
        {"", 0},
        {"12AB", 4},
        {std::string(2046, 'C'), 2046},
        {std::string(2047, 'D'), 2047},
        {std::string(5000, 'E'), kRawSignatureTextSize - 1},
    };
    for (const auto& c : cases) {
        RawSignatureTextBuffer buffer;
        buffer.Store("stale");
        buffer.Store(c.stored.c_str());
        char copy[kRawSignatureTextSize];
        buffer.CopyTo(copy);
        EXPECT_EQ(std::string(copy), c.stored.substr(0, c.expectedLength));
        EXPECT_EQ(buffer.Text().size(), c.expectedLength);
    }
    RawSignatureTextBuffer buffer;
    buffer.Store("12AB");
    buffer.Store(nullptr);
    EXPECT_EQ(buffer.Text(), "");
}

TEST(RawSignatureTextBuffer, ReaderSeesOneWholeTextWhileItIsReplaced) {
    RawSignatureTextBuffer buffer;
    const std::string textA(2046, 'A');
    const std::string textB(2046, 'B');
    buffer.Store(textB.c_str());
    std::atomic<bool> done{false};
    int mixtures = 0;
    int reads = 0;
    const auto writer = [&] {
        for (int i = 0; i < 20000; ++i)
            buffer.Store(i % 2 ? textA.c_str() : textB.c_str());
        done = true;
    };
    const auto reader = [&] {
        while (!done || reads == 0) {
            char copy[kRawSignatureTextSize];
            buffer.CopyTo(copy);
            const std::string text(copy);
            if (text != textA && text != textB)
                ++mixtures;
            ++reads;
        }
    };
    RunBeside(writer, reader);
    EXPECT_EQ(mixtures, 0) << "of " << reads << " reads";
}

} // namespace

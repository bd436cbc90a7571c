#include "config/replace_recovery.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kAccessDenied = 5;
constexpr uint32_t kSharingViolation = 32;
constexpr uint32_t kUnableToRemoveReplaced = 1175;

// Every error against every state of the two names: the temporary file is deleted only while the
// old file stands in its place, and moved there whenever nothing does.
TEST(RecoverFailedReplace, LooksAtWhatExists) {
    using S = RecoveryStep;
    using W = WriteResult;
    const struct {
        uint32_t error;
        bool target, temporary;
        ReplaceRecovery expected;
    } cases[] = {
        // The old file is gone and the new content waits under the temporary name.
        {kErrorUnableToMoveReplacement,
         false,
         true,
         {S::MoveTemporaryIntoPlace, W::Written, W::InTemporaryFile}},
        {kErrorUnableToMoveReplacement2,
         false,
         true,
         {S::MoveTemporaryIntoPlace, W::Written, W::InTemporaryFile}},
        {kAccessDenied, false, true, {S::MoveTemporaryIntoPlace, W::Written, W::InTemporaryFile}},
        // Nothing left under either name.
        {kErrorUnableToMoveReplacement, false, false, {S::None, W::Lost, W::Lost}},
        {kErrorUnableToMoveReplacement2, false, false, {S::None, W::Lost, W::Lost}},
        {kSharingViolation, false, false, {S::None, W::Lost, W::Lost}},
        // The system says the old file has left its name: what stands there is not it, and the
        // temporary file holds the only copy of the new content.
        {kErrorUnableToMoveReplacement, true, true, {S::None, W::InTemporaryFile, W::InTemporaryFile}},
        {kErrorUnableToMoveReplacement2, true, true, {S::None, W::InTemporaryFile, W::InTemporaryFile}},
        {kErrorUnableToMoveReplacement2, true, false, {S::None, W::NotWritten, W::NotWritten}},
        // Any other error: the old file is as it was.
        {kAccessDenied, true, true, {S::DeleteTemporary, W::NotWritten, W::NotWritten}},
        {kSharingViolation, true, true, {S::DeleteTemporary, W::NotWritten, W::NotWritten}},
        {kUnableToRemoveReplaced, true, true, {S::DeleteTemporary, W::NotWritten, W::NotWritten}},
        {kUnableToRemoveReplaced, true, false, {S::None, W::NotWritten, W::NotWritten}},
    };
    for (const auto& c : cases) {
        const ReplaceRecovery r = RecoverFailedReplace(c.error, c.target, c.temporary);
        const std::string what = std::to_string(c.error) + (c.target ? " target" : " no target") +
                                 (c.temporary ? ", temporary" : ", no temporary");
        EXPECT_EQ(r.step, c.expected.step) << what;
        EXPECT_EQ(r.done, c.expected.done) << what;
        EXPECT_EQ(r.failed, c.expected.failed) << what;
    }
}

} // namespace

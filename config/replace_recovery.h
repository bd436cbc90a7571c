#pragma once
// What to do once the system's replacement of an existing file by its written temporary file has
// failed. ReplaceFile without a backup name may fail half-way: with ERROR_UNABLE_TO_MOVE_REPLACEMENT
// (1176) the old file is already gone and the new content sits under the temporary name; with
// ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 (1177) the old file lives on under a name of the system's
// choosing. So the decision looks at what exists, not at the error alone: the temporary file is
// deleted only while the old file still stands in its place, and moved there when nothing does.
#include <cstdint>

#include "config/file_system.h"

constexpr uint32_t kErrorUnableToMoveReplacement = 1176;
constexpr uint32_t kErrorUnableToMoveReplacement2 = 1177;

enum class RecoveryStep {
    None,
    DeleteTemporary,        // the old file is in place: the new content is dropped
    MoveTemporaryIntoPlace, // nothing is in place: the new content goes there
};

struct ReplaceRecovery {
    RecoveryStep step;
    WriteResult done;   // what became of the file when the step succeeds (or there is none)
    WriteResult failed; // when the step fails
};

// error: the system's error code of the failed replacement; targetExists, temporaryExists: whether
// something stands under the file's name and under the temporary name now.
ReplaceRecovery RecoverFailedReplace(uint32_t error, bool targetExists, bool temporaryExists);

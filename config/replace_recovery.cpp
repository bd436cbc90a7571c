#include "config/replace_recovery.h"

ReplaceRecovery RecoverFailedReplace(uint32_t error, bool targetExists, bool temporaryExists) {
    if (!targetExists) {
        // The old content has left the name: the new content takes its place, or stays where it is.
        if (temporaryExists)
            return {RecoveryStep::MoveTemporaryIntoPlace, WriteResult::Written, WriteResult::InTemporaryFile};
        return {RecoveryStep::None, WriteResult::Lost, WriteResult::Lost};
    }
    const bool oldLeftItsName =
        error == kErrorUnableToMoveReplacement || error == kErrorUnableToMoveReplacement2;
    if (oldLeftItsName && temporaryExists) {
        // What stands in the file's place is not the old file, which the system says has gone:
        // the new content is the only copy left.
        return {RecoveryStep::None, WriteResult::InTemporaryFile, WriteResult::InTemporaryFile};
    }
    if (temporaryExists)
        return {RecoveryStep::DeleteTemporary, WriteResult::NotWritten, WriteResult::NotWritten};
    return {RecoveryStep::None, WriteResult::NotWritten, WriteResult::NotWritten};
}

#pragma once
// What a save could not do, file by file. The dialog reports it in one box once it has gone.
#include <string>
#include <vector>

#include "config/file_system.h"

struct SaveProblem {
    enum class Kind {
        // Could not be written, or could not be read and so was not replaced: it keeps its
        // previous content.
        NotWritten,
        // Deliberately not written: its keys were to move into a file that could not be written,
        // so it keeps them for the next load.
        LeftUnchanged,
        // The previous content has gone; the new content is in TemporaryPathFor(path).
        InTemporaryFile,
        // The previous content has gone, and the new content too.
        Lost,
        // Not written: it would be larger than kMaxConfigFileBytes. It keeps its previous content.
        TooLarge,
        // Not written while the rescue copy TemporaryPathFor(path) exists. It keeps its previous
        // content (or stays missing), and the copy is untouched.
        RescueCopyExists,
    };
    std::string path;
    Kind kind;
};

// The problem a failed write is; the result must not be Written.
inline SaveProblem ProblemOf(const std::string& path, WriteResult result) {
    switch (result) {
    case WriteResult::InTemporaryFile:
        return {path, SaveProblem::Kind::InTemporaryFile};
    case WriteResult::Lost:
        return {path, SaveProblem::Kind::Lost};
    case WriteResult::TooLarge:
        return {path, SaveProblem::Kind::TooLarge};
    case WriteResult::RescueCopyInTheWay:
        return {path, SaveProblem::Kind::RescueCopyExists};
    default:
        return {path, SaveProblem::Kind::NotWritten};
    }
}

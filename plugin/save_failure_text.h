#pragma once
// The texts of the boxes about the plug-in's files. After a save of the dialog that did not write
// every file: what became of each file (not written and why, left unchanged because of those, new
// content only under the temporary name, gone). After a load that found files missing while their
// rescue copy stands beside them: where their content is.
#include <string>
#include <vector>

#include "config/save_problems.h"

std::string SaveFailureText(const std::vector<SaveProblem>& problems);

// paths: the files found missing (FilesOnlyInRescueCopies).
std::string RescueCopyText(const std::vector<std::string>& paths);

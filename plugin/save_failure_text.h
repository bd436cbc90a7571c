#pragma once
// The text of the box that reports a save of the dialog that did not write every file. It says
// what became of each file: not written (previous content kept), left unchanged because of those,
// new content only under the temporary name, or gone.
#include <string>
#include <vector>

#include "config/save_problems.h"

std::string SaveFailureText(const std::vector<SaveProblem>& problems);

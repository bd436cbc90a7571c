#pragma once
// The prompt that asks where an import goes, before anything is added to the list. For each remote
// of the file it shows a line: a box holding the remote proposed for it, where the user types
// another name or picks one of the list's remotes, and under it what the import will do (a new
// remote, or the remote the buttons join). "Импортировать" stays disabled while a name cannot be
// stored.
#include <windows.h>

#include <vector>

#include "config/key_table.h"
#include "setup_dialog/import_target.h"

// The ANSI code page of this system, as the dialog shows and stores names.
AnsiText SystemAnsiText();

// Shows the prompt, owned by owner, for choice's lines; true, with the remotes chosen in the lines'
// targets, when the user imports; false when the user cancels.
bool AskImportTargets(HWND owner, ImportChoice& choice, const std::vector<KeyListRow>& rows);

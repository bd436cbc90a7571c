#pragma once
// The user's commands on the key list as one history, taken back last first (Ctrl+Z and the list
// menu's undo item): a removed row comes back where it stood, an import or an added key goes as a
// whole, a renamed or replaced row gets its earlier content back. Commands are done through the
// history, so what it keeps always matches the rows: rows are found again by their identity,
// wherever sorting has moved them.
#include <cstdint>
#include <string>
#include <vector>

#include "setup_dialog/key_rows.h"

enum class ListCommand { None, Add, Import, Remove, Rename, Replace };

class ListHistory {
  public:
    // Appends added as one command, Add or Import; the index of the first row, -1 when there is
    // none (then nothing is kept).
    int32_t Append(KeyRows& rows, std::vector<KeyListRow> added, ListCommand kind);
    // Removes row index; false when there is no such row.
    bool Remove(KeyRows& rows, int32_t index);
    // Row index takes changed, as a Rename or a Replace. The first name given to a row just added
    // is part of adding it: taking back the add takes the name with it.
    bool Change(KeyRows& rows, int32_t index, KeyListRow changed, ListCommand kind);

    struct Undone {
        ListCommand command = ListCommand::None;
        // The row to select afterwards: the one brought back or changed back, or, where rows went,
        // the one that took the place of the first of them (the one before it at the end); -1 for
        // none.
        int32_t select = -1;
    };
    // Takes back the last command still in the history.
    Undone Undo(KeyRows& rows);

    ListCommand Last() const { return steps_.empty() ? ListCommand::None : steps_.back().command; }
    // The remotes the last command's rows belong to, each once, in the rows' order (an import's
    // targets).
    const std::vector<std::string>& LastRemotes() const;
    void Clear() { steps_.clear(); }

  private:
    struct Step {
        ListCommand command = ListCommand::None;
        std::vector<RowId> ids; // Add, Import: the rows added; the others: the one row
        int32_t index = -1;     // Remove: where the row stood
        KeyListRow row;         // Remove: the row; Rename, Replace: its content before
        std::vector<std::string> remotes;
        bool named = false; // Add: its row has been given its first name
    };
    std::vector<Step> steps_;
};

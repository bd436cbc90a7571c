#include "setup_dialog/list_history.h"

#include <algorithm>

namespace {

const std::vector<std::string> kNoRemotes;

// Where the first of the rows that went stood, on the rows that stay: the row there now, or the
// last one.
int32_t PlaceAfterGoing(const KeyRows& rows, int32_t index) {
    if (rows.Count() == 0)
        return -1;
    return std::min(index, rows.Count() - 1);
}

} // namespace

int32_t ListHistory::Append(KeyRows& rows, std::vector<KeyListRow> added, ListCommand kind) {
    Step step;
    step.command = kind;
    int32_t first = -1;
    for (KeyListRow& row : added) {
        const int32_t index = rows.Append(std::move(row));
        first = first < 0 ? index : first;
        step.ids.push_back(rows.IdAt(index));
        const std::string& remote = rows[index].remoteName;
        if (std::find(step.remotes.begin(), step.remotes.end(), remote) == step.remotes.end())
            step.remotes.push_back(remote);
    }
    if (first >= 0)
        steps_.push_back(std::move(step));
    return first;
}

bool ListHistory::Remove(KeyRows& rows, int32_t index) {
    if (index < 0 || index >= rows.Count())
        return false;
    Step step;
    step.command = ListCommand::Remove;
    step.ids = {rows.IdAt(index)};
    step.index = index;
    step.row = rows[index];
    step.remotes = {step.row.remoteName};
    rows.Remove(index);
    steps_.push_back(std::move(step));
    return true;
}

bool ListHistory::Change(KeyRows& rows, int32_t index, KeyListRow changed, ListCommand kind) {
    if (index < 0 || index >= rows.Count())
        return false;
    const RowId id = rows.IdAt(index);
    Step* added = steps_.empty() ? nullptr : &steps_.back();
    const bool namingTheAdded = kind == ListCommand::Rename && added && added->command == ListCommand::Add &&
                                !added->named && added->ids.size() == 1 && added->ids[0] == id;
    if (namingTheAdded) {
        added->named = true;
    } else {
        Step step;
        step.command = kind;
        step.ids = {id};
        step.row = rows[index];
        step.remotes = {step.row.remoteName};
        steps_.push_back(std::move(step));
    }
    rows[index] = std::move(changed);
    return true;
}

ListHistory::Undone ListHistory::Undo(KeyRows& rows) {
    Undone undone;
    if (steps_.empty())
        return undone;
    Step step = std::move(steps_.back());
    steps_.pop_back();
    undone.command = step.command;
    switch (step.command) {
    case ListCommand::Add:
    case ListCommand::Import:
        undone.select = PlaceAfterGoing(rows, rows.RemoveIds(step.ids));
        break;
    case ListCommand::Remove:
        undone.select = rows.PutBack(step.index, step.ids[0], std::move(step.row));
        break;
    case ListCommand::Rename:
    case ListCommand::Replace:
        undone.select = rows.IndexOf(step.ids[0]);
        if (undone.select >= 0)
            rows[undone.select] = std::move(step.row);
        break;
    case ListCommand::None:
        break;
    }
    return undone;
}

const std::vector<std::string>& ListHistory::LastRemotes() const {
    return steps_.empty() ? kNoRemotes : steps_.back().remotes;
}

#include "setup_dialog/list_history.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Names(const KeyRows& rows) {
    std::vector<std::string> names;
    for (const KeyListRow& row : rows.Rows())
        names.push_back(row.keyName + ":" + row.codeText);
    return names;
}

// The user's commands, then Ctrl+Z again and again: what each takes back, the row it selects (the
// row brought or changed back, or the one that took the place of rows that went) and the rows left.
TEST(ListHistory, TakesBackTheUsersCommandsLastFirstAsWholes) {
    KeyRows rows;
    rows.Assign({{"a", "TV", "1", ""}, {"b", "TV", "2", ""}, {"c", "TV", "3", ""}});
    ListHistory h;
    EXPECT_TRUE(h.Remove(rows, 1));
    EXPECT_EQ(h.Append(rows, {{"x", "Kit", "7", ""}, {"w", "Hall", "8", ""}}, ListCommand::Import), 2);
    EXPECT_EQ(h.LastRemotes(), (std::vector<std::string>{"Kit", "Hall"}));
    rows.Sort(); // the import sorted in among the others still goes as a whole
    const auto change = [&](int32_t i, std::string KeyListRow::*field, const char* value, ListCommand kind) {
        KeyListRow changed = rows[i];
        changed.*field = value;
        return h.Change(rows, i, changed, kind);
    };
    EXPECT_TRUE(change(2, &KeyListRow::keyName, "z", ListCommand::Rename));
    EXPECT_TRUE(change(3, &KeyListRow::codeText, "9", ListCommand::Replace));
    // A row added and given its name is one command; a second name is another.
    EXPECT_EQ(h.Append(rows, {{"<new key>", "TV", "5", ""}}, ListCommand::Add), 4);
    change(4, &KeyListRow::keyName, "n", ListCommand::Rename);
    change(4, &KeyListRow::keyName, "m", ListCommand::Rename);
    EXPECT_FALSE(h.Remove(rows, 5));
    EXPECT_FALSE(h.Change(rows, -1, rows[0], ListCommand::Rename));
    EXPECT_EQ(h.Append(rows, {}, ListCommand::Import), -1) << "nothing added: nothing to take back";
    const struct {
        ListCommand command;
        int32_t select;
        std::vector<std::string> names;
    } undos[] = {
        {ListCommand::Rename, 4, {"w:8", "x:7", "z:1", "c:9", "n:5"}},
        {ListCommand::Add, 3, {"w:8", "x:7", "z:1", "c:9"}},
        {ListCommand::Replace, 3, {"w:8", "x:7", "z:1", "c:3"}},
        {ListCommand::Rename, 2, {"w:8", "x:7", "a:1", "c:3"}},
        {ListCommand::Import, 0, {"a:1", "c:3"}},
        {ListCommand::Remove, 1, {"a:1", "b:2", "c:3"}},
        {ListCommand::None, -1, {"a:1", "b:2", "c:3"}},
    };
    for (const auto& undo : undos) {
        EXPECT_EQ(h.Last(), undo.command);
        const ListHistory::Undone undone = h.Undo(rows);
        EXPECT_EQ(undone.command, undo.command);
        EXPECT_EQ(undone.select, undo.select) << static_cast<int>(undo.command);
        EXPECT_EQ(Names(rows), undo.names) << static_cast<int>(undo.command);
    }
    h.Append(rows, {{"y", "TV", "6", ""}}, ListCommand::Import);
    EXPECT_EQ(h.Undo(rows).select, 2) << "rows gone from the end: the one before them";
}

} // namespace

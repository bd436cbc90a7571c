#pragma once
// The dialog's key list as a model: rows of ANSI text that the list view only displays and the
// remote-file writer reads, so names are saved byte for byte and a raw pattern longer than a list
// cell can show is kept whole.
//
// Every row has an identity that no sort, insertion or removal changes: a command names the row
// it was chosen for by it, and acts on nothing once that row has gone.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/key_table.h"

using RowId = uint32_t;
constexpr RowId kNoRow = 0;

// Why a code text cannot become a row: it would be dropped, or read back as something else, when
// the remote files are written.
enum class CodeProblem {
    None,
    Empty,      // nothing to store (raw mode: no pattern)
    NotStorable // holds '=' or a line break, or starts with '[', ';' or '#'
};
CodeProblem CheckCodeText(std::string_view text, bool rawMode);

class KeyRows {
  public:
    // The key table as it is, in table order, then sorted.
    void FillFromKeyTable();
    void Assign(std::vector<KeyListRow> rows);

    // By remote name, then key name, both as unsigned bytes (case-sensitive, a prefix first).
    // Stable: rows with equal names keep their order, so which duplicate a save keeps never
    // changes from run to run.
    void Sort();
    // The same, and where the row that stood at index stands now (-1 stays -1).
    int32_t SortKeeping(int32_t index);

    // First row whose code text equals text without regard to ASCII letter case, as the key table
    // compares codes; -1 when none.
    int32_t FindByCode(std::string_view text) const;
    // First row with a raw pattern that is the same signature as the captured text; -1 when none.
    int32_t FindByRaw(const char* capturedText) const;
    // True when another row of the same remote (its file: names equal without regard to ASCII
    // case) has the key name of row index. Two raw keys of one name become one at the next load.
    bool SharesKeyName(int32_t index) const;

    int32_t Count() const { return static_cast<int32_t>(rows_.size()); }
    const KeyListRow& operator[](int32_t i) const { return rows_[static_cast<size_t>(i)]; }
    KeyListRow& operator[](int32_t i) { return rows_[static_cast<size_t>(i)]; }
    const std::vector<KeyListRow>& Rows() const { return rows_; }

    RowId IdAt(int32_t index) const;
    // Where the row stands now; -1 when it has gone (or for kNoRow).
    int32_t IndexOf(RowId id) const;

    // Appends a row and returns its index.
    int32_t Append(KeyListRow row);
    // Removes the row (ListHistory keeps what the user removes, to bring it back).
    void Remove(int32_t i);
    // Removes every row with one of the identities, in one pass (an import of thousands of keys
    // taken back); where the first of them stood, or Count() when none was there.
    int32_t RemoveIds(const std::vector<RowId>& ids);
    // A row back with the identity it had, at index (at the end, if the list is shorter now); its
    // index.
    int32_t PutBack(int32_t index, RowId id, KeyListRow row);

  private:
    RowId NewId() { return ++lastId_; }

    std::vector<KeyListRow> rows_;
    std::vector<RowId> ids_; // beside rows_, so the writer still takes plain rows
    RowId lastId_ = kNoRow;
};

// The sort order of two rows: -1, 0 or 1.
int CompareKeyRows(const KeyListRow& a, const KeyListRow& b);

#pragma once
// The dialog's key list as a model: rows of ANSI text that the list view only displays and the
// remote-file writer reads, so names are saved byte for byte and a raw pattern longer than a list
// cell can show is kept whole.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/key_table.h"

class KeyRows {
  public:
    // The key table as it is, in table order, then sorted.
    void FillFromKeyTable();
    void Assign(std::vector<KeyListRow> rows) { rows_ = std::move(rows); }

    // By remote name, then key name, both as unsigned bytes (case-sensitive, a prefix first).
    // Stable: rows with equal names keep their order, so which duplicate a save keeps never
    // changes from run to run.
    void Sort();
    // The same, and where the row that stood at index stands now (-1 stays -1).
    int32_t SortKeeping(int32_t index);

    // First row whose code text equals text exactly; -1 when none.
    int32_t FindByCode(std::string_view text) const;
    // First row with a raw pattern that is the same signature as the captured text; -1 when none.
    int32_t FindByRaw(const char* capturedText) const;

    int32_t Count() const { return static_cast<int32_t>(rows_.size()); }
    const KeyListRow& operator[](int32_t i) const { return rows_[static_cast<size_t>(i)]; }
    KeyListRow& operator[](int32_t i) { return rows_[static_cast<size_t>(i)]; }
    const std::vector<KeyListRow>& Rows() const { return rows_; }

    // Appends a row and returns its index.
    int32_t Append(KeyListRow row);
    void Remove(int32_t i);

  private:
    std::vector<KeyListRow> rows_;
};

// The sort order of two rows: -1, 0 or 1.
int CompareKeyRows(const KeyListRow& a, const KeyListRow& b);

#include "setup_dialog/key_rows.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "config/ascii_text.h"
#include "config/ini_document.h"
#include "decoding/raw_signature.h"

namespace {

int CompareBytes(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    const int c = n == 0 ? 0 : std::memcmp(a.data(), b.data(), n); // memcmp compares unsigned bytes
    if (c != 0)
        return c < 0 ? -1 : 1;
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

} // namespace

CodeProblem CheckCodeText(std::string_view text, bool rawMode) {
    // A pattern is a value in the file, trimmed when written: only an empty one is lost. A code is
    // a key there.
    if (TrimBlanks(text).empty())
        return CodeProblem::Empty;
    if (!rawMode && !IniDocument::IsStorableKey(text))
        return CodeProblem::NotStorable;
    return CodeProblem::None;
}

int CompareKeyRows(const KeyListRow& a, const KeyListRow& b) {
    const int byRemote = CompareBytes(a.remoteName, b.remoteName);
    return byRemote != 0 ? byRemote : CompareBytes(a.keyName, b.keyName);
}

void KeyRows::FillFromKeyTable() {
    Assign(ListKeyTable());
    Sort();
}

void KeyRows::Assign(std::vector<KeyListRow> rows) {
    rows_ = std::move(rows);
    ids_.resize(rows_.size());
    for (RowId& id : ids_)
        id = NewId();
}

void KeyRows::Sort() {
    SortKeeping(-1);
}

int32_t KeyRows::SortKeeping(int32_t index) {
    std::vector<int32_t> order(rows_.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int32_t>(i);
    std::stable_sort(order.begin(), order.end(), [this](int32_t a, int32_t b) {
        return CompareKeyRows(rows_[static_cast<size_t>(a)], rows_[static_cast<size_t>(b)]) < 0;
    });
    std::vector<KeyListRow> sorted;
    std::vector<RowId> sortedIds;
    sorted.reserve(rows_.size());
    sortedIds.reserve(rows_.size());
    int32_t moved = -1;
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] == index)
            moved = static_cast<int32_t>(i);
        sorted.push_back(std::move(rows_[static_cast<size_t>(order[i])]));
        sortedIds.push_back(ids_[static_cast<size_t>(order[i])]);
    }
    rows_ = std::move(sorted);
    ids_ = std::move(sortedIds);
    return moved;
}

int32_t KeyRows::FindByCode(std::string_view text) const {
    if (text.empty()) // raw rows have no code
        return -1;
    for (size_t i = 0; i < rows_.size(); ++i)
        if (SameIgnoringAsciiCase(rows_[i].codeText, text))
            return static_cast<int32_t>(i);
    return -1;
}

int32_t KeyRows::FindByRaw(const char* capturedText) const {
    if (capturedText == nullptr)
        return -1;
    for (size_t i = 0; i < rows_.size(); ++i)
        if (!rows_[i].rawText.empty() && SameRawSignature(rows_[i].rawText.c_str(), capturedText))
            return static_cast<int32_t>(i);
    return -1;
}

bool KeyRows::SharesKeyName(int32_t index) const {
    if (index < 0 || index >= Count())
        return false;
    const KeyListRow& row = rows_[static_cast<size_t>(index)];
    for (int32_t i = 0; i < Count(); ++i) {
        const KeyListRow& other = rows_[static_cast<size_t>(i)];
        if (i != index && other.keyName == row.keyName &&
            SameIgnoringAsciiCase(other.remoteName, row.remoteName))
            return true;
    }
    return false;
}

RowId KeyRows::IdAt(int32_t index) const {
    return index >= 0 && index < Count() ? ids_[static_cast<size_t>(index)] : kNoRow;
}

int32_t KeyRows::IndexOf(RowId id) const {
    if (id == kNoRow)
        return -1;
    const auto found = std::find(ids_.begin(), ids_.end(), id);
    return found == ids_.end() ? -1 : static_cast<int32_t>(found - ids_.begin());
}

int32_t KeyRows::Append(KeyListRow row) {
    rows_.push_back(std::move(row));
    ids_.push_back(NewId());
    return Count() - 1;
}

void KeyRows::Remove(int32_t i) {
    if (i < 0 || i >= Count())
        return;
    rows_.erase(rows_.begin() + i);
    ids_.erase(ids_.begin() + i);
}

int32_t KeyRows::RemoveIds(const std::vector<RowId>& ids) {
    const std::unordered_set<RowId> going(ids.begin(), ids.end());
    int32_t first = Count();
    size_t kept = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (going.count(ids_[i]) != 0) {
            first = std::min(first, static_cast<int32_t>(i));
            continue;
        }
        if (kept != i) {
            rows_[kept] = std::move(rows_[i]);
            ids_[kept] = ids_[i];
        }
        ++kept;
    }
    rows_.resize(kept);
    ids_.resize(kept);
    return first;
}

int32_t KeyRows::PutBack(int32_t index, RowId id, KeyListRow row) {
    const int32_t at = std::max(0, std::min(index, Count()));
    rows_.insert(rows_.begin() + at, std::move(row));
    ids_.insert(ids_.begin() + at, id);
    return at;
}

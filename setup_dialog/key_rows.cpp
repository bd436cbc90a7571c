#include "setup_dialog/key_rows.h"

#include <algorithm>
#include <cstring>

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

int CompareKeyRows(const KeyListRow& a, const KeyListRow& b) {
    const int byRemote = CompareBytes(a.remoteName, b.remoteName);
    return byRemote != 0 ? byRemote : CompareBytes(a.keyName, b.keyName);
}

void KeyRows::FillFromKeyTable() {
    rows_ = ListKeyTable();
    Sort();
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
    sorted.reserve(rows_.size());
    int32_t moved = -1;
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] == index)
            moved = static_cast<int32_t>(i);
        sorted.push_back(std::move(rows_[static_cast<size_t>(order[i])]));
    }
    rows_ = std::move(sorted);
    return moved;
}

int32_t KeyRows::FindByCode(std::string_view text) const {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].codeText == text)
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

int32_t KeyRows::Append(KeyListRow row) {
    rows_.push_back(std::move(row));
    return Count() - 1;
}

void KeyRows::Remove(int32_t i) {
    if (i >= 0 && i < Count())
        rows_.erase(rows_.begin() + i);
}

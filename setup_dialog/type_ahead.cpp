#include "setup_dialog/type_ahead.h"

#include <string>

#include "setup_dialog/dialog_keys.h"

namespace {

bool StartsWith(std::wstring_view name, std::wstring_view typed) {
    if (name.size() < typed.size())
        return false;
    for (size_t i = 0; i < typed.size(); ++i)
        if (!SameLetter(name[i], typed[i]))
            return false;
    return true;
}

int32_t FindFrom(const std::vector<KeyListRow>& rows, std::wstring_view typed, int32_t start,
                 ShowBytes show) {
    const int32_t count = static_cast<int32_t>(rows.size());
    if (count == 0 || typed.empty())
        return -1;
    const int32_t first = start >= 0 && start < count ? start : 0;
    for (int32_t step = 0; step < count; ++step) {
        const int32_t i = (first + step) % count;
        if (StartsWith(show(rows[static_cast<size_t>(i)].keyName), typed))
            return i;
    }
    return -1;
}

bool OneLetterRepeated(std::wstring_view typed) {
    if (typed.size() < 2)
        return false;
    for (wchar_t c : typed)
        if (!SameLetter(c, typed[0]))
            return false;
    return true;
}

} // namespace

int32_t FindTypedRow(const std::vector<KeyListRow>& rows, std::wstring_view typed, int32_t start,
                     int32_t focused, ShowBytes show) {
    const int32_t found = FindFrom(rows, typed, start, show);
    if (found >= 0 || !OneLetterRepeated(typed))
        return found;
    return FindFrom(rows, typed.substr(0, 1), focused + 1, show);
}

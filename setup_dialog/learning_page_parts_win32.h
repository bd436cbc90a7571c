#pragma once
// What the files of the learning page share among themselves: its posted messages, the list's
// columns and the limits of what a cell shows. Only those files include it.
#include <windows.h>

#include <cstddef>
#include <iterator>

#include "setup_dialog/dialog_texts.h"

namespace learning_page {

struct Column {
    const wchar_t* header;
    int width;
    int minimum; // the user cannot make it narrower; 0: no minimum
};
inline constexpr Column kColumns[] = {
    {dialog_texts::kColumnKeyName, 120, 80},
    {dialog_texts::kColumnRemoteName, 120, 80},
    {dialog_texts::kColumnCode, 120, 80},
    {dialog_texts::kColumnRaw, 120, 0},
};

// The re-sort after an accepted key name; a command chosen from the pop-up menu (wParam the
// command, lParam the row it was chosen for); a column brought back to its minimum width (wParam).
inline constexpr UINT kMsgResortKeys = WM_APP + 10;
inline constexpr UINT kMsgRowCommand = WM_APP + 11;
inline constexpr UINT kMsgColumnMinimum = WM_APP + 12;

// A list-view cell shows about 259 characters; longer texts are cut for display only.
inline constexpr size_t kCellChars = 259;

inline constexpr wchar_t kCtrlZ = 0x1A; // the character Ctrl+Z types

} // namespace learning_page

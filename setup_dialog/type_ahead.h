#pragma once
// Type-ahead in the key list, as in every Windows list: the letters typed in quick succession lead
// to the next row whose key name starts with them. The list view gathers the letters and asks for
// the row (it holds no texts of its own); names are compared as the list shows them, letters
// without regard to case.
#include <cstdint>
#include <string_view>
#include <vector>

#include "config/key_table.h"
#include "setup_dialog/show_bytes.h"

// The first row from start on, wrapping around to the rows before it, whose key name (shown with
// show) starts with typed; -1 when none does. One letter typed again and again ("ppp") that no
// name starts with moves on to the next row after focused that starts with that letter, so
// pressing it repeatedly steps through those rows.
int32_t FindTypedRow(const std::vector<KeyListRow>& rows, std::wstring_view typed, int32_t start,
                     int32_t focused, ShowBytes show);

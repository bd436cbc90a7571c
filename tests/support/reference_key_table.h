#pragma once
// The key table's lookups as linear first-match scans over the whole list: the reference that the
// differential tests and the benchmarks compare the indexed lookups with.
#include <cstdint>
#include <string_view>

#include "config/key_table.h"

namespace reference {

int32_t FindCodeEntryIn(const StringList& table, std::string_view text);
int32_t FindRawEntryIn(const StringList& table, const char* capturedText);

} // namespace reference

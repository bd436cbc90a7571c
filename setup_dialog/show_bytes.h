#pragma once
// How texts from files (ANSI bytes) are shown: with the ANSI code page on Windows, through a table
// in the tests.
#include <string>
#include <string_view>

using ShowBytes = std::wstring (*)(std::string_view bytes);

#pragma once
// The about page's version label.
#include <cstddef>
#include <optional>
#include <string>

// "Версия " followed by the module's FileVersion text, as the version resource returns it (at
// most `length` units, up to the first NUL). No caption for an empty text: the label then keeps
// its design text.
std::optional<std::u16string> VersionCaption(const char16_t* value, size_t length);

#include "setup_dialog/version_caption.h"

#include <string_view>

#include "setup_dialog/about_texts.h"

std::optional<std::u16string> VersionCaption(const char16_t* value, size_t length) {
    if (value == nullptr)
        return std::nullopt;
    std::u16string_view text(value, length);
    text = text.substr(0, text.find(u'\0'));
    if (text.empty())
        return std::nullopt;
    return std::u16string(kVersionPrefix) + std::u16string(text);
}

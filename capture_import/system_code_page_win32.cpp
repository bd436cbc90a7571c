#include "capture_import/system_code_page_win32.h"

#include <windows.h>

#include "capture_import/code_pages.h"

namespace {

// WideCharToMultiByte(CP_ACP) for one character, refusing the system's best fit ('a' for 'å'
// would silently make another name) and its default character.
bool SystemAnsiOf(char32_t character, std::string& bytes) {
    wchar_t wide[2];
    int units = 1;
    if (character >= 0x10000) {
        wide[0] = static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10));
        wide[1] = static_cast<wchar_t>(0xDC00 + ((character - 0x10000) & 0x3FF));
        units = 2;
    } else {
        wide[0] = static_cast<wchar_t>(character);
    }
    char out[8];
    BOOL usedDefault = FALSE;
    // A UTF-8 code page takes no default character (the call would fail), and holds every one.
    const bool utf8 = GetACP() == CP_UTF8;
    const int length =
        WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide, units, out,
                            static_cast<int>(sizeof out), nullptr, utf8 ? nullptr : &usedDefault);
    if (length <= 0 || usedDefault)
        return false;
    bytes.append(out, static_cast<size_t>(length));
    return true;
}

} // namespace

NameCodePage SystemNameCodePage() {
    const int codePage = static_cast<int>(GetACP());
    if (IsTableCodePage(codePage))
        return NameCodePage{codePage, nullptr};
    return NameCodePage{codePage, &SystemAnsiOf};
}

#include "setup_dialog/dialog_keys.h"

namespace {

wchar_t UpperCase(wchar_t c) {
    if (c >= L'a' && c <= L'z')
        return static_cast<wchar_t>(c - L'a' + L'A');
    if (c >= 0x00E0 && c <= 0x00FE && c != 0x00F7) // à..þ, not ÷
        return static_cast<wchar_t>(c - 0x20);
    if (c >= 0x0430 && c <= 0x044F) // а..я
        return static_cast<wchar_t>(c - 0x20);
    if (c >= 0x0450 && c <= 0x045F) // ѐ..џ, ё among them
        return static_cast<wchar_t>(c - 0x50);
    return c;
}

} // namespace

wchar_t AcceleratorOf(std::wstring_view caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&')
            continue;
        if (caption[i + 1] != L'&')
            return caption[i + 1];
        ++i; // "&&"
    }
    return 0;
}

bool SameLetter(wchar_t a, wchar_t b) {
    return UpperCase(a) == UpperCase(b);
}

int FindAccelerator(const std::vector<AcceleratorControl>& controls, int focus, wchar_t letter) {
    const int count = static_cast<int>(controls.size());
    if (letter == 0 || count == 0)
        return -1;
    const int start = focus >= 0 && focus < count ? focus + 1 : 0;
    for (int step = 0; step < count; ++step) {
        const int i = (start + step) % count;
        const AcceleratorControl& control = controls[static_cast<size_t>(i)];
        const wchar_t accelerator = control.available ? AcceleratorOf(control.caption) : 0;
        if (accelerator != 0 && SameLetter(accelerator, letter))
            return i;
    }
    return -1;
}

int NextPage(int current, int count, bool forward) {
    if (count <= 0)
        return 0;
    const int next = current + (forward ? 1 : -1);
    return (next % count + count) % count;
}

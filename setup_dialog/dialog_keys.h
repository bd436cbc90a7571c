#pragma once
// Keyboard rules of the dialog that the system's dialog manager gets wrong or lacks. Its label
// accelerators compare letters as ASCII only (under Wine a lower-case Cyrillic letter never finds
// "&Период" or "&Масштаб"), and it has no keys that switch pages.
#include <string>
#include <string_view>
#include <vector>

// The letter a caption's accelerator marks (the character after "&"; "&&" is a plain ampersand),
// or 0 when it has none.
wchar_t AcceleratorOf(std::wstring_view caption);

// The same letter whatever its case, in the Latin (Latin-1 included) and the Cyrillic alphabet.
bool SameLetter(wchar_t a, wchar_t b);

// A control of the dialog as the accelerator search sees it, in the dialog's order.
struct AcceleratorControl {
    std::wstring caption;
    bool available = false; // a visible, enabled label, group box or button
};

// The control whose accelerator is letter: the first one after focus (an index into controls, -1
// for none) in the dialog's order, wrapping around and the focused one last, so that a second
// press reaches the next label with the same letter. -1 when no control has it.
int FindAccelerator(const std::vector<AcceleratorControl>& controls, int focus, wchar_t letter);

// The page that Ctrl+Tab and Ctrl+PgDn (forward), Ctrl+Shift+Tab and Ctrl+PgUp lead to, wrapping
// around as tabs do.
int NextPage(int current, int count, bool forward);

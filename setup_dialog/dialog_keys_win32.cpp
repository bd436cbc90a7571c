#include "setup_dialog/dialog_keys_win32.h"

#include <commctrl.h>

#include <vector>

#include "setup_dialog/dialog_keys.h"

namespace {

bool IsInside(HWND dialog, HWND window) {
    return window && (window == dialog || IsChild(dialog, window));
}

std::wstring CaptionOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Labels and buttons take accelerators, as the dialog manager has it; a label that shows its
// "&" as it stands (SS_NOPREFIX) has none.
bool TakesAccelerators(HWND control) {
    if (!IsWindowVisible(control) || !IsWindowEnabled(control))
        return false;
    if (!(SendMessageW(control, WM_GETDLGCODE, 0, 0) & (DLGC_STATIC | DLGC_BUTTON)))
        return false;
    wchar_t name[16] = L"";
    GetClassNameW(control, name, 16);
    return lstrcmpiW(name, L"Static") != 0 || !(GetWindowLongW(control, GWL_STYLE) & SS_NOPREFIX);
}

} // namespace

bool TakePageSwitchKey(HWND dialog, HWND pages, const MSG& message) {
    if (message.message != WM_KEYDOWN || !IsInside(dialog, message.hwnd) || GetKeyState(VK_CONTROL) >= 0 ||
        GetKeyState(VK_MENU) < 0)
        return false;
    bool forward;
    if (message.wParam == VK_TAB)
        forward = GetKeyState(VK_SHIFT) >= 0;
    else if (message.wParam == VK_NEXT || message.wParam == VK_PRIOR)
        forward = message.wParam == VK_NEXT;
    else
        return false;
    const int count = static_cast<int>(SendMessageW(pages, TCM_GETITEMCOUNT, 0, 0));
    const int current = static_cast<int>(SendMessageW(pages, TCM_GETCURSEL, 0, 0));
    SendMessageW(pages, TCM_SETCURFOCUS, static_cast<WPARAM>(NextPage(current, count, forward)), 0);
    return true;
}

bool TakeLabelAccelerator(HWND dialog, const MSG& message) {
    if ((message.message != WM_SYSCHAR && message.message != WM_CHAR) || message.wParam < L' ' ||
        !IsInside(dialog, message.hwnd))
        return false;
    // A plain letter is an accelerator only where the focused control does not take characters.
    if (message.message == WM_CHAR &&
        (SendMessageW(message.hwnd, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message)) &
         (DLGC_WANTCHARS | DLGC_WANTMESSAGE)))
        return false;
    // The dialog's controls are its direct children; the focus may be inside one (a combo box's
    // edit field).
    HWND focused = message.hwnd;
    while (focused && focused != dialog && GetParent(focused) != dialog)
        focused = GetParent(focused);
    std::vector<HWND> windows;
    std::vector<AcceleratorControl> controls;
    int focus = -1;
    for (HWND w = GetWindow(dialog, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == focused)
            focus = static_cast<int>(windows.size());
        windows.push_back(w);
        const bool available = TakesAccelerators(w);
        controls.push_back({available ? CaptionOf(w) : std::wstring(), available});
    }
    const int found = FindAccelerator(controls, focus, static_cast<wchar_t>(message.wParam));
    if (found < 0)
        return false;
    HWND target = windows[static_cast<size_t>(found)];
    const LRESULT code = SendMessageW(target, WM_GETDLGCODE, 0, 0);
    if ((code & DLGC_STATIC) || (GetWindowLongW(target, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) {
        // As the dialog manager does: the label, then on to the control after it.
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
        SendMessageW(dialog, WM_NEXTDLGCTL, 0, FALSE);
    } else {
        SendMessageW(target, BM_CLICK, 0, 0);
    }
    return true;
}

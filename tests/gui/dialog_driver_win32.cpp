#include "tests/gui/dialog_driver_win32.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "decoding/raw_signature_text.h"
#include "setup_dialog/setup_form_ids.h"

namespace {

constexpr UINT kMsgSync = WM_APP + 1;

struct WindowSearch {
    const wchar_t* className;
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    wchar_t name[64] = L"";
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
        lstrcmpW(name, search->className) == 0 &&
        (!search->owner || GetWindow(window, GW_OWNER) == search->owner)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FirstEdit(HWND window, LPARAM param) {
    wchar_t name[16] = L"";
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    if (lstrcmpiW(name, L"Edit") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

// Where a click on the row's label lands, in the list's client coordinates.
LPARAM RowPoint(HWND list, int row) {
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    return MAKELPARAM(r.left + 4, (r.top + r.bottom) / 2);
}

std::wstring TextOf(HWND window) {
    const int length = static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    std::vector<wchar_t> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

} // namespace

HWND FindProcessWindow(const wchar_t* className, HWND owner) {
    WindowSearch search{className, owner, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsFileDialog(HWND dialog) {
    return FindWindowExW(dialog, nullptr, L"ComboBox", nullptr) != nullptr;
}

DialogDriver::DialogDriver(HWND form, HWND syncWindow) : form_(form), sync_(syncWindow) {
    container_ = GetWindow(form, GW_CHILD);
    // The pointer of the virtual screen rests at its centre, over the dialog: its hints would
    // pop up at random moments, and without a window manager a pop-up can take the activation
    // (and with it a caption editor's focus). Keep it in a corner.
    SetCursorPos(0, 0);
    // The form is visible before its modal loop runs: start once the loop takes messages.
    Sync();
}

HWND DialogDriver::Control(int id) const {
    return GetDlgItem(container_, id);
}

std::wstring DialogDriver::Text(int id) const {
    return TextOf(Control(id));
}

std::wstring DialogDriver::Caption(HWND window) const {
    return TextOf(window);
}

std::wstring DialogDriver::Panel(int panel) const {
    HWND bar = Control(IDC_STATBAR);
    // SB_GETTEXTW copies the whole text without a size, and the dialog's thread may show a longer
    // one between the two messages ("Не нажата" after "Нажата"): a buffer of the measured length
    // was overrun then. This one also holds the longest text the form shows, a raw pattern.
    const size_t length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel), 0));
    std::vector<wchar_t> buffer(std::max<size_t>(length, kRawSignatureTextSize) + 1, L'\0');
    SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

std::wstring DialogDriver::Notice() const {
    // In simple mode every panel index reads the one text (SB_SIMPLEID itself is refused).
    if (!SendMessageW(Control(IDC_STATBAR), SB_ISSIMPLE, 0, 0))
        return L"";
    return Panel(0);
}

std::wstring DialogDriver::PageCaption(int page) const {
    wchar_t text[128] = L"";
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    SendMessageW(Control(IDC_SETUPPAGES), TCM_GETITEMW, static_cast<WPARAM>(page),
                 reinterpret_cast<LPARAM>(&item));
    return text;
}

int DialogDriver::CurrentPage() const {
    return static_cast<int>(SendMessageW(Control(IDC_SETUPPAGES), TCM_GETCURSEL, 0, 0));
}

bool DialogDriver::Checked(int id) const {
    return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool DialogDriver::Enabled(int id) const {
    return IsWindowEnabled(Control(id)) != FALSE;
}

bool DialogDriver::Visible(int id) const {
    return IsWindowVisible(Control(id)) != FALSE;
}

HWND DialogDriver::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(form_, nullptr), &info);
    return info.hwndFocus;
}

void DialogDriver::Click(int id) {
    SendMessageW(Control(id), BM_CLICK, 0, 0);
    Sync();
}

void DialogDriver::SelectPage(int page) {
    SendMessageW(Control(IDC_SETUPPAGES), TCM_SETCURFOCUS, static_cast<WPARAM>(page), 0);
    Sync();
}

void DialogDriver::FocusControl(int id) {
    PostMessageW(container_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(id)), TRUE);
    Sync();
}

void DialogDriver::Type(int id, const std::wstring& text) {
    FocusControl(id);
    PostMessageW(Control(id), EM_SETSEL, 0, -1);
    for (wchar_t c : text)
        PostMessageW(Control(id), WM_CHAR, c, 1);
    Sync();
}

void DialogDriver::Key(HWND target, UINT virtualKey) {
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(target, WM_KEYUP, virtualKey, 0xC0000001);
    Sync();
}

void DialogDriver::AltKey(wchar_t letter) {
    HWND focus = Focus();
    PostMessageW(focus ? focus : container_, WM_SYSCHAR, letter, 0x20000001); // bit 29: Alt is down
    Sync();
}

void DialogDriver::Chord(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs(2 * keys.size());
    size_t down = 0;
    size_t up = inputs.size();
    for (WORD key : keys) {
        inputs[down].type = inputs[--up].type = INPUT_KEYBOARD;
        inputs[down++].ki.wVk = inputs[up].ki.wVk = key;
        inputs[up].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sync();
}

void DialogDriver::Step(int buddyId, bool up) {
    FocusControl(buddyId);
    Key(Control(buddyId), up ? VK_UP : VK_DOWN);
}

bool DialogDriver::Sync(bool paint) {
    // Posted messages are taken in order: once the host window (same thread) has handled this
    // one, everything posted before it has been handled too.
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    PostMessageW(sync_, kMsgSync, paint ? reinterpret_cast<WPARAM>(form_) : 0,
                 reinterpret_cast<LPARAM>(done));
    if (WaitForSingleObject(done, 5000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the dialog's thread did not take a message within 5 s";
        return false; // the event stays open: the dialog's thread may still set it
    }
    CloseHandle(done);
    return true;
}

HWND DialogDriver::CaptionEditor() const {
    return reinterpret_cast<HWND>(SendMessageW(Control(IDC_LISTVIEW), LVM_GETEDITCONTROL, 0, 0));
}

HWND DialogDriver::TypeCaption(const std::wstring& text) {
    HWND editor = nullptr;
    WaitFor([&] { return (editor = CaptionEditor()) != nullptr; }, 3000);
    if (!editor)
        return nullptr;
    PostMessageW(editor, EM_SETSEL, 0, -1);
    for (wchar_t c : text)
        PostMessageW(editor, WM_CHAR, c, 1);
    Sync(); // a click is sent, and would overtake the posted characters
    return editor;
}

void DialogDriver::EditCaption(const std::wstring& text, bool accept) {
    HWND editor = TypeCaption(text);
    if (!editor)
        return;
    Key(editor, accept ? VK_RETURN : VK_ESCAPE);
    WaitFor([&] { return CaptionEditor() == nullptr; }, 3000);
    Sync(); // the re-sort is posted after the edit
}

void DialogDriver::TypeRemote(const std::wstring& text) {
    HWND field = FindWindowExW(Control(IDC_REMOTEEDIT), nullptr, L"Edit", nullptr);
    PostMessageW(container_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(IDC_REMOTEEDIT)), TRUE);
    PostMessageW(field, EM_SETSEL, 0, -1);
    for (wchar_t c : text)
        PostMessageW(field, WM_CHAR, c, 1);
    Sync();
}

int DialogDriver::ListCount() const {
    return static_cast<int>(SendMessageW(Control(IDC_LISTVIEW), LVM_GETITEMCOUNT, 0, 0));
}

int DialogDriver::SelectedRow() const {
    return static_cast<int>(
        SendMessageW(Control(IDC_LISTVIEW), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int DialogDriver::FocusedRow() const {
    return static_cast<int>(
        SendMessageW(Control(IDC_LISTVIEW), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

void DialogDriver::TypeInList(const std::wstring& letters) {
    for (wchar_t c : letters)
        PostMessageW(Control(IDC_LISTVIEW), WM_CHAR, c, 1);
    Sync();
}

std::wstring DialogDriver::Cell(int row, int column) const {
    std::vector<wchar_t> text(4096, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    SendMessageW(Control(IDC_LISTVIEW), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
    return text.data();
}

void DialogDriver::SelectRow(int row) {
    HWND list = Control(IDC_LISTVIEW);
    const LPARAM at = RowPoint(list, row);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    Sync();
}

HWND DialogDriver::OpenMenu(int row) {
    HWND list = Control(IDC_LISTVIEW);
    if (row < 0) {
        FocusControl(IDC_LISTVIEW);
        PostMessageW(list, WM_KEYDOWN, VK_APPS, 1);
        PostMessageW(list, WM_KEYUP, VK_APPS, 0xC0000001);
    } else {
        const LPARAM at = RowPoint(list, row);
        PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, at);
        PostMessageW(list, WM_RBUTTONUP, 0, at);
    }
    HWND menu = nullptr;
    if (!WaitFor(
            [&] {
                menu = FindProcessWindow(L"#32768");
                return menu != nullptr;
            },
            3000))
        ADD_FAILURE() << "no pop-up menu opened for row " << row;
    return menu;
}

void DialogDriver::ChooseMenuItem(HWND menu, int item) {
    if (!menu)
        return;
    for (int i = 0; i <= item; ++i)
        PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 1);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 1);
    WaitFor([&] { return !IsWindowVisible(menu); }, 3000);
    Sync();
}

void DialogDriver::PickMenuItem(int item, int row) {
    ChooseMenuItem(OpenMenu(row), item);
}

bool DialogDriver::ChooseFile(int buttonId, const std::wstring& path) {
    // Posted: the click runs the file dialog's own modal loop and returns only when it closes.
    PostMessageW(Control(buttonId), BM_CLICK, 0, 0);
    HWND dialog = nullptr;
    if (!WaitFor([&] { return (dialog = FindProcessWindow(L"#32770", form_)) && IsFileDialog(dialog); })) {
        ADD_FAILURE() << "no file dialog opened";
        return false;
    }
    // The file name box: an edit in the combo box cmb13 of the explorer style, or edt1.
    constexpr int kNameCombo = 0x47C;
    constexpr int kNameEdit = 0x480;
    HWND name = GetDlgItem(dialog, kNameEdit);
    if (HWND combo = GetDlgItem(dialog, kNameCombo))
        EnumChildWindows(combo, FirstEdit, reinterpret_cast<LPARAM>(&name));
    if (!name) {
        ADD_FAILURE() << "the file dialog has no file name box";
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return false;
    }
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    if (!WaitFor([&] { return !IsWindow(dialog); })) {
        ADD_FAILURE() << "the file dialog did not take the name";
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return false;
    }
    Sync();
    return true;
}

HWND DialogDriver::ImportPrompt() {
    HWND prompt = nullptr;
    if (!WaitFor([&] {
            return (prompt = FindProcessWindow(L"#32770", form_)) && GetDlgItem(prompt, IDC_PROMPT_TARGET);
        }))
        ADD_FAILURE() << "no import prompt opened";
    Sync();
    return prompt;
}

std::vector<std::wstring> DialogDriver::PromptRemotes(HWND prompt) const {
    std::vector<std::wstring> remotes;
    for (int i = 0; i < SendDlgItemMessageW(prompt, IDC_PROMPT_TARGET, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t text[256] = L"";
        SendDlgItemMessageW(prompt, IDC_PROMPT_TARGET, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        remotes.push_back(text);
    }
    return remotes;
}

void DialogDriver::TypeTarget(HWND prompt, const std::wstring& text) {
    HWND field = FindWindowExW(GetDlgItem(prompt, IDC_PROMPT_TARGET), nullptr, L"Edit", nullptr);
    PostMessageW(field, EM_SETSEL, 0, -1);
    for (wchar_t c : L"\b" + text)
        PostMessageW(field, WM_CHAR, c, 1);
    Sync();
}

void DialogDriver::AnswerPrompt(HWND prompt, bool import) {
    PostMessageW(GetDlgItem(prompt, import ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
    if (!WaitFor([&] { return !IsWindow(prompt); }))
        ADD_FAILURE() << "the import prompt stayed open";
    Sync();
}

std::vector<std::wstring> DialogDriver::MenuItems(HWND menu) const {
    std::vector<std::wstring> items;
    HMENU handle = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
    for (UINT i = 0; handle && i < static_cast<UINT>(GetMenuItemCount(handle)); ++i) {
        wchar_t text[256] = L"";
        if (GetMenuStringW(handle, i, text, 256, MF_BYPOSITION) > 0)
            items.push_back(
                text + std::wstring(GetMenuState(handle, i, MF_BYPOSITION) & MF_GRAYED ? L" (off)" : L""));
    }
    return items;
}

void DialogDriver::CloseMenu(HWND menu) {
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
    WaitFor([&] { return !IsWindowVisible(menu); });
    Sync();
}

std::wstring DialogDriver::Balloon() const {
    for (HWND tip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); tip;
         tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(tip, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(tip) &&
            (GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON))
            return TextOf(tip);
    }
    return {};
}

#include "setup_dialog/import_prompt_win32.h"

#include <algorithm>
#include <string>

#include "plugin/plugin_win32.h"
#include "setup_dialog/ansi_text_win32.h"
#include "setup_dialog/dialog_texts.h"
#include "setup_dialog/file_operations.h"
#include "setup_dialog/setup_form_ids.h"

namespace {

// Layout in dialog units, so that it grows with the font and the dpi.
constexpr int kMargin = 7;
constexpr int kWidth = 250;
constexpr int kIntroHeight = 34;
constexpr int kLabelHeight = 9;
constexpr int kBoxHeight = 12;
constexpr int kBoxDropHeight = 90;
constexpr int kNoteHeight = 18;
constexpr int kLineHeight = kLabelHeight + 2 + kBoxHeight + 2 + kNoteHeight + 4;
constexpr int kButtonWidth = 64;
constexpr int kButtonHeight = 14;

struct PromptState {
    ImportChoice* choice;
    const std::vector<KeyListRow>* rows;
    AnsiText ansi;
};

RECT DialogUnits(HWND dialog, int x, int y, int width, int height) {
    RECT r{x, y, x + width, y + height};
    MapDialogRect(dialog, &r);
    return r;
}

HWND AddControl(HWND dialog, const wchar_t* className, const std::wstring& text, DWORD style, int id,
                const RECT& at) {
    HWND control =
        CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                        at.right - at.left, at.bottom - at.top, dialog,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), PluginInstance, nullptr);
    SendMessageW(control, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
    return control;
}

std::wstring LabelOf(const ImportTargetLine& line) {
    return line.source.empty() ? std::wstring(dialog_texts::kImportPromptLabel)
                               : FillIn(dialog_texts::kImportPromptLabelNamed, {line.source});
}

// The box's text: while a pick from its list is under way the edit field does not hold it yet.
std::wstring TargetText(HWND box, bool picked) {
    if (picked) {
        const LRESULT item = SendMessageW(box, CB_GETCURSEL, 0, 0);
        const LRESULT length = item == CB_ERR ? CB_ERR : SendMessageW(box, CB_GETLBTEXTLEN, item, 0);
        if (length != CB_ERR) {
            std::wstring text(static_cast<size_t>(length) + 1, L'\0');
            SendMessageW(box, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<size_t>(length));
            return text;
        }
    }
    return WindowTextW(box);
}

// Every line's note afresh, and Import enabled only while every target can be stored.
void Review(HWND dialog, const PromptState& state, int pickedLine) {
    bool all = true;
    for (size_t i = 0; i < state.choice->lines.size(); ++i) {
        const int line = static_cast<int>(i);
        const TargetCheck check =
            CheckTarget(TargetText(GetDlgItem(dialog, IDC_PROMPT_TARGET + line), line == pickedLine),
                        *state.rows, state.ansi);
        SetDlgItemTextW(dialog, IDC_PROMPT_NOTE + line, TargetNote(check, state.ansi.toWide).c_str());
        all = all && Accepted(check);
    }
    EnableWindow(GetDlgItem(dialog, IDOK), all);
}

void Build(HWND dialog, const PromptState& state) {
    const ImportChoice& choice = *state.choice;
    size_t buttons = 0;
    for (const ImportTargetLine& line : choice.lines)
        buttons += line.buttons;
    AddControl(dialog, L"Static",
               FillIn(dialog_texts::kImportPromptIntro, {choice.fileName, std::to_wstring(buttons)}),
               SS_LEFT | SS_NOPREFIX, IDC_PROMPT_INTRO,
               DialogUnits(dialog, kMargin, kMargin, kWidth, kIntroHeight));
    int y = kMargin + kIntroHeight + 4;
    for (size_t i = 0; i < choice.lines.size(); ++i) {
        const int line = static_cast<int>(i);
        AddControl(dialog, L"Static", LabelOf(choice.lines[i]), SS_LEFT, IDC_PROMPT_LABEL + line,
                   DialogUnits(dialog, kMargin, y, kWidth, kLabelHeight));
        y += kLabelHeight + 2;
        HWND box =
            AddControl(dialog, L"ComboBox", L"", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
                       IDC_PROMPT_TARGET + line, DialogUnits(dialog, kMargin, y, kWidth, kBoxDropHeight));
        for (const std::string& remote : choice.remotes)
            SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromAnsi(remote).c_str()));
        SetWindowTextW(box, WideFromAnsi(choice.lines[i].target).c_str());
        y += kBoxHeight + 2;
        AddControl(dialog, L"Static", L"", SS_LEFT | SS_NOPREFIX, IDC_PROMPT_NOTE + line,
                   DialogUnits(dialog, kMargin, y, kWidth, kNoteHeight));
        y += kNoteHeight + 4;
    }
    const int right = kMargin + kWidth;
    AddControl(dialog, L"Button", dialog_texts::kImportPromptOk, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP,
               IDOK, DialogUnits(dialog, right - 2 * kButtonWidth - 4, y, kButtonWidth, kButtonHeight));
    AddControl(dialog, L"Button", dialog_texts::kImportPromptCancel, BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL,
               DialogUnits(dialog, right - kButtonWidth, y, kButtonWidth, kButtonHeight));
    y += kButtonHeight + kMargin;

    // The window around that client area, over the middle of the form and inside the work area.
    RECT client = DialogUnits(dialog, 0, 0, kMargin + kWidth + kMargin, y);
    AdjustWindowRectEx(&client, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)));
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    RECT owner{};
    GetWindowRect(GetWindow(dialog, GW_OWNER), &owner);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(GetWindow(dialog, GW_OWNER), MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int x =
        std::max<int>(work.left, std::min<int>((owner.left + owner.right - width) / 2, work.right - width));
    const int top =
        std::max<int>(work.top, std::min<int>((owner.top + owner.bottom - height) / 2, work.bottom - height));
    SetWindowPos(dialog, nullptr, x, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK PromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            const auto& state = *reinterpret_cast<const PromptState*>(lParam);
            Build(dialog, state);
            Review(dialog, state, -1);
            // The first name, all of it selected: typing replaces it.
            HWND first = GetDlgItem(dialog, IDC_PROMPT_TARGET);
            SetFocus(first);
            SendMessageW(first, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
            return FALSE;
        }
        auto* state = reinterpret_cast<PromptState*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (!state || message != WM_COMMAND)
            return FALSE;
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        const int line = id - IDC_PROMPT_TARGET;
        if (line >= 0 && line < static_cast<int>(state->choice->lines.size()) &&
            (code == CBN_EDITCHANGE || code == CBN_SELCHANGE)) {
            Review(dialog, *state, code == CBN_SELCHANGE ? line : -1);
            return TRUE;
        }
        if (id == IDOK && code == BN_CLICKED) {
            std::vector<std::string> chosen;
            for (size_t i = 0; i < state->choice->lines.size(); ++i) {
                const TargetCheck check =
                    CheckTarget(WindowTextW(GetDlgItem(dialog, IDC_PROMPT_TARGET + static_cast<int>(i))),
                                *state->rows, state->ansi);
                if (!Accepted(check))
                    return TRUE; // Enter in a box whose name cannot be stored
                chosen.push_back(check.name);
            }
            for (size_t i = 0; i < chosen.size(); ++i)
                state->choice->lines[i].target = chosen[i];
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (id == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
    } catch (...) {
        // Nothing may unwind through the system's frames.
    }
    return FALSE;
}

} // namespace

AnsiText SystemAnsiText() {
    return {&WideFromAnsi, &AnsiFromWide};
}

bool AskImportTargets(HWND owner, ImportChoice& choice, const std::vector<KeyListRow>& rows) {
    if (choice.lines.empty())
        return false;
    PromptState state{&choice, &rows, SystemAnsiText()};
    return DialogBoxParamW(PluginInstance, L"IMPORTPROMPT", owner, &PromptProc,
                           reinterpret_cast<LPARAM>(&state)) == IDOK;
}

#include "tests/about_page/about_frame_win32.h"

#include <commctrl.h>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 400;
const wchar_t* const kTabs[] = {L"Настройка пульта", L"Настройка приёмника", L"О программе"};

// A dialog template with no controls.
std::vector<WORD> EmptyTemplate(DWORD style, DWORD exStyle) {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
    auto* dlg = reinterpret_cast<DLGTEMPLATE*>(words.data());
    dlg->style = style;
    dlg->dwExtendedStyle = exStyle;
    return words; // no menu, default class, no title, size set afterwards
}

INT_PTR CALLBACK FrameProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

} // namespace

AboutFrame::~AboutFrame() {
    if (frame != nullptr)
        DestroyWindow(frame);
    if (font_ != nullptr)
        DeleteObject(font_);
}

bool AboutFrame::Create(const std::string& modulePath) {
    const std::vector<WORD> frameTemplate = EmptyTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU, 0);
    frame = CreateDialogIndirectParamW(nullptr, reinterpret_cast<const DLGTEMPLATE*>(frameTemplate.data()),
                                       nullptr, FrameProc, 0);
    if (frame == nullptr)
        return false;
    SetWindowTextW(frame, L"OrvikPlug-USB");
    SetWindowPos(frame, nullptr, 40, 40, kWidth, kHeight, SWP_NOZORDER);
    RECT client;
    GetClientRect(frame, &client);
    const std::vector<WORD> childTemplate =
        EmptyTemplate(WS_CHILD | WS_VISIBLE | DS_CONTROL, WS_EX_CONTROLPARENT);
    container =
        CreateDialogIndirectParamW(nullptr, reinterpret_cast<const DLGTEMPLATE*>(childTemplate.data()), frame,
                                   ContainerProc, reinterpret_cast<LPARAM>(this));
    if (container == nullptr)
        return false;
    MoveWindow(container, 0, 0, client.right, client.bottom, FALSE);
    font_ =
        CreateFontW(-MulDiv(8, 96, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Shell Dlg");

    RECT tabsRect = {4, 4, client.right - 4, client.bottom - 4};
    HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS,
                                tabsRect.left, tabsRect.top, tabsRect.right - tabsRect.left,
                                tabsRect.bottom - tabsRect.top, container, nullptr, nullptr, nullptr);
    SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    for (int i = 0; i < 3; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(kTabs[i]);
        SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(tabs, TCM_SETCURSEL, 2, 0);
    if (!page.Create(container, font_, 96, modulePath))
        return false;
    created_ = true;
    RECT pageRect = tabsRect;
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pageRect));
    page.Layout(pageRect);
    ShowWindow(frame, SW_SHOW);
    return true;
}

void AboutFrame::Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageW(container, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

// Every message goes to the page first, as the real form forwards it.
INT_PTR CALLBACK AboutFrame::ContainerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return FALSE;
    }
    auto* self = reinterpret_cast<AboutFrame*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (self == nullptr || !self->created_)
        return FALSE;
    LRESULT result = 0;
    if (self->page.OnContainerMessage(message, wParam, lParam, &result)) {
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
            return static_cast<INT_PTR>(result);
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
        return TRUE;
    }
    if (message == WM_COMMAND)
        self->otherCommands.push_back(LOWORD(wParam));
    return FALSE;
}

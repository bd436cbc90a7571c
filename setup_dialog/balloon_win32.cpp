#include "setup_dialog/balloon_win32.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kBalloonTimer = 0xB411;
constexpr UINT kBalloonMs = 8000;
constexpr int kMaxWidth = 320;

TOOLINFOW Tool(HWND owner) {
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = owner;
    tool.uId = 1;
    return tool;
}

} // namespace

void Balloon::Create(HWND owner) {
    owner_ = owner;
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_BALLOON,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                           nullptr, nullptr);
    if (!tip_)
        return;
    TOOLINFOW tool = Tool(owner_);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, kMaxWidth);
}

void Balloon::Show(POINT tip, const wchar_t* title, const std::wstring& text, bool error) {
    MessageBeep(error ? MB_ICONERROR : MB_ICONWARNING);
    if (!tip_)
        return;
    Hide();
    TOOLINFOW tool = Tool(owner_);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip_, TTM_SETTITLEW, error ? TTI_ERROR : TTI_WARNING, reinterpret_cast<LPARAM>(title));
    SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(tip.x, tip.y));
    SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    SetTimer(owner_, kBalloonTimer, kBalloonMs, nullptr);
}

void Balloon::ShowAt(HWND control, const wchar_t* title, const std::wstring& text, bool error) {
    RECT r{};
    GetWindowRect(control, &r);
    Show({(r.left + r.right) / 2, r.bottom}, title, text, error);
}

void Balloon::Hide() {
    if (!tip_)
        return;
    KillTimer(owner_, kBalloonTimer);
    TOOLINFOW tool = Tool(owner_);
    SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

bool Balloon::OnTimer(WPARAM timer) {
    if (timer != kBalloonTimer)
        return false;
    Hide();
    return true;
}

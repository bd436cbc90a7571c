#pragma once
// A balloon tip that points at a control to say why something was refused or needs a second look,
// with a beep, as Windows' own edit boxes do. It closes by itself after a while, or at the next
// balloon.
#include <windows.h>

#include <string>

class Balloon {
  public:
    // owner: the window whose timer hides the balloon (its WM_TIMER goes to OnTimer).
    void Create(HWND owner);
    // Shows text under title, its tip at the point (screen coordinates); warning or error icon.
    void Show(POINT tip, const wchar_t* title, const std::wstring& text, bool error);
    // Below the middle of a control.
    void ShowAt(HWND control, const wchar_t* title, const std::wstring& text, bool error);
    void Hide();
    bool OnTimer(WPARAM timer);

  private:
    HWND owner_ = nullptr;
    HWND tip_ = nullptr;
};

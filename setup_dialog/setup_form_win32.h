#pragma once
// The configuration dialog. Created by Setup, shown modally, owned by the host window.
#include <windows.h>

#include <cstdint>

class TSetupForm {
public:
    explicit TSetupForm(HWND owner);
    ~TSetupForm();
    TSetupForm(const TSetupForm&) = delete;
    TSetupForm& operator=(const TSetupForm&) = delete;

    // Runs the modal loop until the dialog is closed; the owner is disabled meanwhile.
    int ShowModal();
    HWND Handle() const { return handle_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND owner_;
    HWND handle_ = nullptr;
    bool modalDone_ = false;
};

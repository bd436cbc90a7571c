#include "setup_dialog/setup_form_win32.h"

namespace {

const wchar_t kClassName[] = L"TSetupForm";
constexpr int kWidth = 640;
constexpr int kHeight = 400;

bool RegisterFormClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(instance, kClassName, &wc))
        return true;
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW; // replaced per window below
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
}

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

} // namespace

TSetupForm::TSetupForm(HWND owner) : owner_(owner) {
    HINSTANCE instance = ThisModule();
    RegisterFormClass(instance);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    handle_ = CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, L"OrvikPlug-USB",
                              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, x, y, kWidth, kHeight,
                              owner, nullptr, instance, nullptr);
    if (handle_) {
        SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TSetupForm::WindowProc));
    }
}

TSetupForm::~TSetupForm() {
    if (handle_) {
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
}

int TSetupForm::ShowModal() {
    if (!handle_)
        return 0;
    const bool ownerWasEnabled = owner_ && IsWindowEnabled(owner_);
    if (ownerWasEnabled)
        EnableWindow(owner_, FALSE);
    ShowWindow(handle_, SW_SHOW);
    modalDone_ = false;
    MSG message;
    while (!modalDone_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // Keep the quit request for the host's own loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got < 0)
            break;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // Re-enable the owner before hiding, so the activation goes back to it.
    if (ownerWasEnabled)
        EnableWindow(owner_, TRUE);
    ShowWindow(handle_, SW_HIDE);
    return 2; // mrCancel: the result is not used
}

void TSetupForm::CopyPulseTrain(const int32_t* durations, int32_t count) {
    std::lock_guard<std::mutex> hold(displayLock_);
    DisplayValid = false;
    const int32_t n = count < kDisplayCapacity ? count : kDisplayCapacity;
    DisplayCount = 0;
    for (int32_t i = 0; i < n; ++i)
        DisplayDurations[DisplayCount++] = durations[i];
    DisplayValid = true;
    RepaintPending = true;
}

LRESULT CALLBACK TSetupForm::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<TSetupForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!form)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return form->HandleMessage(message, wParam, lParam);
}

LRESULT TSetupForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        modalDone_ = true;
        // A close sent from another thread is handled inside GetMessage: wake the loop.
        PostMessageW(handle_, WM_NULL, 0, 0);
        return 0;
    default:
        return DefWindowProcW(handle_, message, wParam, lParam);
    }
}

#include "setup_dialog/ansi_text_win32.h"

#include <vector>

std::wstring WideFromAnsi(std::string_view bytes) {
    if (bytes.empty())
        return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    return text;
}

std::string AnsiFromWide(std::wstring_view text) {
    if (text.empty())
        return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr,
                            nullptr);
    return bytes;
}

std::wstring WindowTextW(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::vector<wchar_t> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int got = GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::wstring(buffer.data(), static_cast<size_t>(got > 0 ? got : 0));
}

void AnsiTextBox::SetBytes(std::string bytes) {
    bytes_ = std::move(bytes);
    shown_ = WideFromAnsi(bytes_);
    if (box_)
        SetWindowTextW(box_, shown_.c_str());
}

std::string AnsiTextBox::Bytes() const {
    if (!box_)
        return bytes_;
    const std::wstring now = WindowTextW(box_);
    return now == shown_ ? bytes_ : AnsiFromWide(now);
}

DpiScale::DpiScale() : dpi_(96) {
    if (HDC screen = GetDC(nullptr)) {
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        if (dpi > 0)
            dpi_ = dpi;
        ReleaseDC(nullptr, screen);
    }
}

void PlaceControl(HWND control, const DpiScale& px, POINT origin, int x, int y, int width, int height) {
    if (control)
        MoveWindow(control, origin.x + px(x), origin.y + px(y), px(width), px(height), FALSE);
}

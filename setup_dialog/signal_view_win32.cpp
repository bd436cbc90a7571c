#include "setup_dialog/signal_view_win32.h"

#include "setup_dialog/dialog_texts.h"
#include "setup_dialog/signal_geometry.h"

namespace {

constexpr COLORREF kBackground = RGB(0, 0, 0);
constexpr COLORREF kGrid = RGB(0, 0x80, 0);
constexpr COLORREF kLabel = RGB(0, 0xFF, 0);
constexpr COLORREF kTrace = RGB(0xFF, 0xFF, 0);
constexpr int kCapacity = 512;

void Line(HDC dc, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void Draw(HDC dc, const RECT& clip, const SignalGeometry& g) {
    HBRUSH black = CreateSolidBrush(kBackground);
    FillRect(dc, &clip, black);
    DeleteObject(black);

    HPEN grid = CreatePen(PS_SOLID, 1, kGrid);
    HGDIOBJ oldPen = SelectObject(dc, grid);
    for (int32_t y : g.gridY)
        Line(dc, 1, y, g.gridRight, y);
    Line(dc, g.axisX, 1, g.axisX, g.axisBottom);
    for (int32_t x : g.tickX)
        Line(dc, x, 1, x, g.tickBottom);

    if (g.hasTrace) {
        const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
        HFONT font = CreateFontW(-MulDiv(8, dpi > 0 ? dpi : 96, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                 DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 FIXED_PITCH | FF_MODERN, L"Lucida Console");
        HGDIOBJ oldFont = SelectObject(dc, font);
        SetTextColor(dc, kLabel);
        SetBkColor(dc, kBackground);
        SetBkMode(dc, OPAQUE);
        TextOutW(dc, 1, 1, dialog_texts::kSignalLabel, lstrlenW(dialog_texts::kSignalLabel));
        SelectObject(dc, oldFont);
        DeleteObject(font);

        HPEN trace = CreatePen(PS_SOLID, 2, kTrace);
        SelectObject(dc, trace);
        MoveToEx(dc, g.trace.front().x, g.trace.front().y, nullptr);
        for (size_t i = 1; i < g.trace.size(); ++i)
            LineTo(dc, g.trace[i].x, g.trace[i].y);
        SelectObject(dc, grid);
        DeleteObject(trace);
    }
    SelectObject(dc, oldPen);
    DeleteObject(grid);
}

void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (!dc)
        return;
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right;
    const int height = client.bottom;
    int32_t durations[kCapacity];
    int32_t count = 0;
    if (auto* source = reinterpret_cast<SignalSource*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
        count = source->CopyDisplayTrain(durations, kCapacity);
    // Drawn outside the form's lock, into a memory bitmap so the view does not flicker.
    const SignalGeometry geometry = ComputeSignalGeometry(durations, count, width, height);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap =
        memory ? CreateCompatibleBitmap(dc, width > 0 ? width : 1, height > 0 ? height : 1) : nullptr;
    if (memory && bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        Draw(memory, client, geometry);
        BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
    } else {
        Draw(dc, ps.rcPaint, geometry);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    EndPaint(window, &ps);
}

LRESULT CALLBACK SignalViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_ERASEBKGND:
            return 1; // the paint fills everything
        default:
            break;
        }
    } catch (...) {
        // Nothing may unwind through the system's frames.
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

bool RegisterSignalViewClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(instance, kSignalViewClass, &wc))
        return true;
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = SignalViewProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kSignalViewClass;
    return RegisterClassExW(&wc) != 0;
}

void AttachSignalSource(HWND view, SignalSource* source) {
    if (view)
        SetWindowLongPtrW(view, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(source));
}

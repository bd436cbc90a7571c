#include "tests/gui/screen_capture_win32.h"

int ScreenImage::CountInRow(int y, int x0, int x1, uint32_t rgb) const {
    int n = 0;
    if (y < 0 || y >= height)
        return 0;
    for (int x = x0 < 0 ? 0 : x0; x < x1 && x < width; ++x)
        n += At(x, y) == rgb ? 1 : 0;
    return n;
}

int ScreenImage::CountOtherThan(const RECT& area, const std::vector<RECT>& holes, uint32_t rgb) const {
    int n = 0;
    for (int y = area.top < 0 ? 0 : area.top; y < area.bottom && y < height; ++y)
        for (int x = area.left < 0 ? 0 : area.left; x < area.right && x < width; ++x) {
            const POINT at{x, y};
            bool inHole = false;
            for (const RECT& hole : holes)
                inHole = inHole || PtInRect(&hole, at);
            n += !inHole && At(x, y) != rgb ? 1 : 0;
        }
    return n;
}

ScreenImage CaptureWindow(HWND window) {
    ScreenImage image;
    RECT r;
    if (!GetWindowRect(window, &r))
        return image;
    image.width = r.right - r.left;
    image.height = r.bottom - r.top;
    // The window's own pixels, as its threads have drawn them: Wine draws into a surface of the
    // window and copies it to the X screen only when the drawing thread next waits, so the screen
    // can still show the picture before the last paint.
    HDC screen = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, image.width, image.height, screen, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* p = static_cast<const uint32_t*>(bits);
        image.pixels.assign(p, p + static_cast<size_t>(image.width) * image.height);
        for (uint32_t& px : image.pixels)
            px &= 0x00FFFFFF;
        SelectObject(memory, old);
    }
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return image;
}

void PutOver(ScreenImage& below, HWND belowWindow, const ScreenImage& above, HWND aboveWindow) {
    RECT b{}, a{};
    GetWindowRect(belowWindow, &b);
    GetWindowRect(aboveWindow, &a);
    for (int y = 0; y < above.height; ++y)
        for (int x = 0; x < above.width; ++x) {
            const int bx = a.left - b.left + x;
            const int by = a.top - b.top + y;
            if (bx >= 0 && by >= 0 && bx < below.width && by < below.height)
                below.pixels[static_cast<size_t>(by) * below.width + bx] = above.At(x, y);
        }
}

bool SaveBitmap(const ScreenImage& image, const std::string& path) {
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = image.width;
    info.biHeight = -image.height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    const DWORD dataSize = static_cast<DWORD>(image.pixels.size() * sizeof(uint32_t));
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + dataSize;
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(out, &file, sizeof(file), &written, nullptr) &&
              WriteFile(out, &info, sizeof(info), &written, nullptr) &&
              WriteFile(out, image.pixels.data(), dataSize, &written, nullptr);
    CloseHandle(out);
    return ok;
}

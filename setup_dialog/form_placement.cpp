#include "setup_dialog/form_placement.h"

#include <algorithm>

int32_t ScaleForDpi(int32_t pixels96, int32_t dpi) {
    const int64_t d = dpi > 0 ? dpi : 96;
    // Rounded to nearest, as MulDiv does.
    const int64_t scaled = (static_cast<int64_t>(pixels96) * d * 2 + (pixels96 >= 0 ? 96 : -96)) / (2 * 96);
    return static_cast<int32_t>(scaled);
}

void MinimumFormSize(const ScreenRect& workArea, int32_t dpi, int32_t* width, int32_t* height) {
    *width = ScaleForDpi(kFormWidth96, dpi);
    *height = ScaleForDpi(kFormHeight96, dpi);
    // No screen information: the laid-out size.
    if (workArea.Width() <= 0 || workArea.Height() <= 0)
        return;
    *width = std::min(*width, workArea.Width());
    *height = std::min(*height, workArea.Height());
}

FormPlacement PlaceForm(const ScreenRect& workArea, int32_t dpi) {
    FormPlacement placement;
    const int32_t width = ScaleForDpi(kFormWidth96, dpi);
    const int32_t height = ScaleForDpi(kFormHeight96, dpi);
    MinimumFormSize(workArea, dpi, &placement.minWidth, &placement.minHeight);
    // The minimum is also the size: the form opens at its laid-out size wherever that fits.
    const int32_t w = placement.minWidth;
    const int32_t h = placement.minHeight;
    placement.fullSize = w == width && h == height;
    const int32_t spareX = std::max(workArea.Width() - w, 0);
    const int32_t spareY = std::max(workArea.Height() - h, 0);
    placement.window.left = workArea.left + spareX / 2;
    placement.window.top = workArea.top + spareY / 2;
    placement.window.right = placement.window.left + w;
    placement.window.bottom = placement.window.top + h;
    return placement;
}

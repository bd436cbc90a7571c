#include "setup_dialog/form_placement.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

TEST(FormPlacement, CentredInTheWorkAreaAndNeverOutsideIt) {
    const auto text = [](const FormPlacement& p) {
        return std::to_string(p.window.left) + "," + std::to_string(p.window.top) + " " +
               std::to_string(p.window.Width()) + "x" + std::to_string(p.window.Height()) + " min " +
               std::to_string(p.minWidth) + "x" + std::to_string(p.minHeight);
    };
    const struct {
        ScreenRect work;
        int32_t dpi;
        const char* placed;
    } cases[] = {
        {{0, 0, 1024, 768}, 96, "192,184 640x400 min 640x400"},
        {{0, 0, 800, 600}, 144, "0,0 800x600 min 800x600"},       // once at x = -80, at least 960x600
        {{0, 0, 1024, 560}, 120, "112,30 800x500 min 800x500"},   // a netbook, less its task bar
        {{0, 30, 1366, 768}, 144, "203,99 960x600 min 960x600"},  // task bar at the top
        {{-1280, 0, 0, 984}, 96, "-960,292 640x400 min 640x400"}, // a screen left of the main one
        {{0, 0, 0, 0}, 0, "0,0 640x400 min 640x400"},             // no work area, no dpi known
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(PlaceForm(c.work, c.dpi)), c.placed) << c.work.Width() << " at " << c.dpi << " dpi";

    // Common screens less a task bar at common dpis: inside the work area, a minimum it gives, and
    // the whole laid-out size (every control on screen) up to the dpi each must hold it at.
    for (const auto& [width, height, fullUpTo] :
         {std::tuple{800, 600, 0}, {1024, 600, 120}, {1366, 768, 144}}) {
        for (int32_t dpi : {96, 120, 144, 192}) {
            const ScreenRect work{0, 0, width, height - ScaleForDpi(40, dpi)};
            const FormPlacement p = PlaceForm(work, dpi);
            EXPECT_TRUE(
                p.window.left >= 0 && p.window.top >= 0 && p.window.right <= work.right &&
                p.window.bottom <= work.bottom && p.minWidth <= work.Width() &&
                p.minHeight <= work.Height() &&
                (dpi > fullUpTo || (p.fullSize && p.window.Height() == ScaleForDpi(kFormHeight96, dpi))))
                << width << "x" << height << " at " << dpi << " dpi: " << text(p);
        }
    }
}

} // namespace

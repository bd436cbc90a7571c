// The live signal view and the key display while a remote sends, checked on the screen's pixels.
// With ORVIK_SCREENSHOT_DIR set, each page is also saved as a picture (tools/screenshots.sh).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "setup_dialog/setup_form_ids.h"
#include "tests/gui/dialog_driver_win32.h"
#include "tests/gui/gui_files.h"
#include "tests/gui/gui_session_win32.h"
#include "tests/gui/screen_capture_win32.h"
#include "tests/wine/remote_scripts.h"
#include "tests/wine/test_paths_win32.h"

namespace {

constexpr uint32_t kGreen = 0x008000;
constexpr uint32_t kYellow = 0xFFFF00;
constexpr uint32_t kBlack = 0x000000;

std::string ReadBuiltFile(const std::string& path) {
    std::string content;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (size_t got; (got = std::fread(buffer, 1, sizeof(buffer), file)) > 0;)
            content.append(buffer, got);
        std::fclose(file);
    }
    return content;
}

std::string RepeatingButton(const Button& button) {
    ScriptText script;
    script.Step("idle 2").Step("loop 0");
    script.Hold(button, 1).Wait(400);
    script.Step("end");
    return script.Text();
}

TEST(SignalViewGui, DrawsTheGridAndTheTraceAndShowsTheKey) {
    FileList files = RemoteFiles(ReplaySettings{});
    // The shipped read-me, so the about page shows what a user sees.
    files.push_back({"readme.txt", ReadBuiltFile(WindowsPath(ORVIK_BUILT_README))});
    GuiSession session(files, RepeatingButton(kTvPower));
    ASSERT_TRUE(session.Loaded());
    const char* saveDir = std::getenv("ORVIK_SCREENSHOT_DIR");
    ScreenImage view;
    RECT viewRect{};
    std::wstring code, coding, bits;
    bool received = false;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        received = d.WaitFor([&] { return !d.Text(IDC_CODEEDIT).empty(); }, 10000);
        Sleep(300); // the paint timer's next tick
        d.Sync();
        code = d.Text(IDC_CODEEDIT);
        coding = d.Panel(2);
        bits = d.Panel(3);
        RECT form{};
        GetWindowRect(d.Form(), &form);
        GetWindowRect(d.Control(IDC_PAINTBOX), &viewRect);
        OffsetRect(&viewRect, -form.left, -form.top);
        const ScreenImage whole = CaptureWindow(d.Form());
        view = whole;
        if (saveDir) {
            const char* names[] = {"learning-page", "receiver-page", "about-page"};
            SaveBitmap(whole, std::string(saveDir) + "\\" + names[0] + ".bmp");
            for (int page = 1; page < 3; ++page) {
                d.SelectPage(page);
                Sleep(200);
                SaveBitmap(CaptureWindow(d.Form()), std::string(saveDir) + "\\" + names[page] + ".bmp");
            }
        }
    }));
    ASSERT_TRUE(received);
    char digits[CodeDigits + 1];
    CodeText(CodeOf(kTvPower), digits);
    EXPECT_EQ(code, std::wstring(digits, digits + CodeDigits));
    EXPECT_EQ(coding, L"Pulse-distance code");
    EXPECT_EQ(bits, L"32 бит");

    ASSERT_GT(view.width, 0);
    const int left = viewRect.left;
    const int right = viewRect.right;
    const int top = viewRect.top;
    const int width = right - left;
    // The grid line at y = 28 is green wherever no edge of the trace crosses it.
    EXPECT_GT(view.CountInRow(top + 28, left + 8, right - 2, kGreen), width / 2);
    // The pulses are drawn at y = 15 and the pauses at y = H - 2 - 15, both yellow.
    EXPECT_GT(view.CountInRow(top + 15, left + 8, right - 2, kYellow), 20);
    EXPECT_GT(view.CountInRow(top + 55, left + 8, right - 2, kYellow), 20);
    // Between the grid lines the view is black.
    EXPECT_GT(view.CountInRow(top + 21, left + 60, right - 2, kBlack), width / 3);
}

} // namespace

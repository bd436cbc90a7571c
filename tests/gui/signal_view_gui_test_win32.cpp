// The live signal view and the key display while a remote sends, checked on the screen's pixels.
// With ORVIK_SCREENSHOT_DIR set, each page is also saved as a picture (tools/screenshots.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "setup_dialog/setup_form_ids.h"
#include "setup_dialog/signal_geometry.h"
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

// The x of every edge of the trace the view draws for a train: where it rises or falls.
std::vector<int32_t> EdgesOf(const std::vector<int32_t>& train, int width, int height) {
    const SignalGeometry g =
        ComputeSignalGeometry(train.data(), static_cast<int32_t>(train.size()), width, height);
    std::vector<int32_t> edges;
    for (size_t i = 1; i < g.trace.size(); ++i)
        if (g.trace[i].x == g.trace[i - 1].x && g.trace[i].y != g.trace[i - 1].y)
            edges.push_back(g.trace[i].x);
    return edges;
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
    bool received = false, drawn = false;
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        received = d.WaitFor([&] { return !d.Text(IDC_CODEEDIT).empty(); }, 10000);
        RECT form{};
        GetWindowRect(d.Form(), &form);
        GetWindowRect(d.Control(IDC_PAINTBOX), &viewRect);
        OffsetRect(&viewRect, -form.left, -form.top);
        // The train is in the view's buffer once its code is shown; the paint timer draws it.
        drawn = d.WaitFor([&] {
            view = CaptureWindow(d.Form());
            return view.CountInRow(viewRect.top + 15, viewRect.left + 8, viewRect.right - 2, kYellow) > 0;
        });
        code = d.Text(IDC_CODEEDIT);
        coding = d.Panel(2);
        bits = d.Panel(3);
        if (saveDir) {
            const char* names[] = {"learning-page", "receiver-page", "about-page"};
            for (int page = 0; page < 3; ++page) {
                d.SelectPage(page);
                d.Sync(true);
                SaveBitmap(CaptureWindow(d.Form()), std::string(saveDir) + "\\" + names[page] + ".bmp");
            }
        }
    }));
    ASSERT_TRUE(received);
    ASSERT_TRUE(drawn);
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
    const int height = viewRect.bottom - top;
    // The grid line at y = 28 is green wherever no edge of the trace crosses it.
    EXPECT_GT(view.CountInRow(top + 28, left + 8, right - 2, kGreen), width / 2);
    // Between the grid lines the view is black.
    EXPECT_GT(view.CountInRow(top + 21, left + 60, right - 2, kBlack), width / 3);
    // Halfway between the high and the low level the trace is yellow exactly at the edges of the
    // pulses of the train the remote sent (the pen is 2 pixels wide), and nowhere else.
    Jitter jitter;
    const std::vector<int32_t> edges =
        EdgesOf(ReceivedTrain(FirstFrame(kTvPower, jitter), ReplaySettings{}), width, height);
    ASSERT_GT(edges.size(), 60u);
    const int middle = top + (15 + height - 2 - 15) / 2;
    std::vector<int32_t> unexplained, missing;
    for (int x = 0; x < width - 2; ++x)
        if (view.At(left + x, middle) == kYellow &&
            std::none_of(edges.begin(), edges.end(), [&](int32_t e) { return std::abs(e - x) <= 1; }))
            unexplained.push_back(x);
    for (int32_t e : edges)
        if (e < width - 3 && view.At(left + e, middle) != kYellow &&
            view.At(left + e - 1, middle) != kYellow && view.At(left + e + 1, middle) != kYellow)
            missing.push_back(e);
    EXPECT_EQ(unexplained, std::vector<int32_t>{}) << "yellow where the train has no edge";
    EXPECT_EQ(missing, std::vector<int32_t>{}) << "edges of the train not drawn";
}

} // namespace

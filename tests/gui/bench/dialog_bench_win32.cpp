// How long the configuration dialog takes with a large key list, under Wine: from Setup to a
// filled list that takes input, and from accepting a key name to the re-sorted list. A
// measurement, never a test: it prints a report and fails only when the dialog does not come.
// Usage: orvik_dialog_bench [OPENINGS [RENAMES]]    (defaults 5 and 20)
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "setup_dialog/setup_form_ids.h"
#include "tests/gui/dialog_driver_win32.h"
#include "tests/gui/gui_files.h"
#include "tests/gui/gui_session_win32.h"

namespace {

constexpr int kRemotes = 50;
constexpr int kKeysPerRemote = 100;

double Now() {
    static LARGE_INTEGER frequency{};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// 50 remote files of 100 keys each, every code and name distinct; the names of a file are
// written in reverse order, so the list is sorted for real.
FileList LargeKeyList() {
    FileList files = {{"OrvikPlug.ini", SettingsText(ReplaySettings{})}};
    for (int r = 0; r < kRemotes; ++r) {
        char remote[32];
        std::snprintf(remote, sizeof(remote), "Remote %02d", r);
        std::string text = std::string("[Main]\r\nName=") + remote + "\r\n[Code]\r\n";
        for (int k = kKeysPerRemote - 1; k >= 0; --k) {
            char line[64];
            std::snprintf(line, sizeof(line), "02200000%04X%04X=Key %03d\r\n", r, k, k);
            text += line;
        }
        files.push_back({std::string("remote") + std::to_string(r) + ".cfg", text});
    }
    return files;
}

struct Figures {
    std::vector<double> ms;
    void Add(double seconds) { ms.push_back(seconds * 1000.0); }
    void Print(const char* what) {
        if (ms.empty()) {
            std::printf("%-34s no figures\n", what);
            return;
        }
        std::sort(ms.begin(), ms.end());
        std::printf("%-34s n=%zu  min %.1f ms  median %.1f ms  max %.1f ms\n", what, ms.size(), ms.front(),
                    ms[ms.size() / 2], ms.back());
    }
};

} // namespace

int main(int argc, char** argv) {
    const int openings = argc > 1 ? std::atoi(argv[1]) : 5;
    const int renames = argc > 2 ? std::atoi(argv[2]) : 20;
    const FileList files = LargeKeyList();
    Figures open, resort;
    bool allCame = true;
    for (int run = 0; run < openings; ++run) {
        GuiSession session(files, "");
        const double start = Now();
        const bool came = session.RunSetup([&](DialogDriver& d) {
            // The driver's constructor waits until the modal loop takes messages.
            if (d.ListCount() != kRemotes * kKeysPerRemote)
                return;
            open.Add(Now() - start);
            if (run != 0)
                return;
            for (int i = 0; i < renames; ++i) {
                // Alternately to the end of its remote and back to the start: every time a move.
                const int row = (i * 997) % d.ListCount();
                d.SelectRow(row);
                d.FocusControl(IDC_LISTVIEW);
                PostMessageW(d.Control(IDC_LISTVIEW), LVM_EDITLABELW, static_cast<WPARAM>(row), 0);
                HWND editor = nullptr;
                if (!d.WaitFor([&] { return (editor = d.CaptionEditor()) != nullptr; }, 3000))
                    continue;
                const wchar_t* name = i % 2 ? L"Aa renamed" : L"Zz renamed";
                PostMessageW(editor, EM_SETSEL, 0, -1);
                for (const wchar_t* c = name; *c; ++c)
                    PostMessageW(editor, WM_CHAR, *c, 1);
                d.Sync();
                const double accepted = Now();
                PostMessageW(editor, WM_KEYDOWN, VK_RETURN, 1);
                // The first round trip covers the accept, the second the re-sort it posted.
                d.Sync();
                d.Sync();
                resort.Add(Now() - accepted);
            }
        });
        allCame = allCame && came;
    }
    std::printf("Key list: %d remote files of %d keys (%d rows)\n", kRemotes, kKeysPerRemote,
                kRemotes * kKeysPerRemote);
    open.Print("Setup to a filled list:");
    resort.Print("Accepted name to re-sorted list:");
    return allCame ? 0 : 1;
}

// about_page_preview.exe MODULE_PATH MS: shows the about page in its stand-in dialog for MS
// milliseconds, with the first link focused, for the screenshot in the docs
// (tools/about-screenshot.sh).
#include <windows.h>

#include <cstdlib>
#include <string>

#include "setup_dialog/about_texts.h"
#include "tests/about_page/about_frame_win32.h"

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    AboutFrame form;
    if (!form.Create(argv[1]))
        return 1;
    form.page.SetVisible(true);
    // Focus rectangles show from the start, as after a Tab.
    SendMessageW(form.frame, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    SetFocus(GetDlgItem(form.container, IdStaticText1));
    const DWORD end = GetTickCount() + static_cast<DWORD>(std::atoi(argv[2]));
    while (static_cast<int>(end - GetTickCount()) > 0) {
        form.Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return 0;
}

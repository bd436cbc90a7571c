#include "tests/gui/panel_texts_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace {

const wchar_t kOriginalProc[] = L"OrvikPanelTextsProc";
CRITICAL_SECTION g_lock;
bool g_lockReady = false;
std::vector<std::pair<int, std::wstring>> g_texts;

LRESULT CALLBACK RecordingProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == SB_SETTEXTW && !(wParam & SBT_OWNERDRAW) && lParam != 0) {
        EnterCriticalSection(&g_lock);
        g_texts.emplace_back(static_cast<int>(LOBYTE(LOWORD(wParam))),
                             reinterpret_cast<const wchar_t*>(lParam));
        LeaveCriticalSection(&g_lock);
    }
    return CallWindowProcW(reinterpret_cast<WNDPROC>(GetPropW(bar, kOriginalProc)), bar, message, wParam,
                           lParam);
}

} // namespace

void RecordPanelTexts(HWND statusBar) {
    if (!g_lockReady) {
        InitializeCriticalSection(&g_lock);
        g_lockReady = true;
    }
    if (GetPropW(statusBar, kOriginalProc) != nullptr)
        return; // recording already
    EnterCriticalSection(&g_lock);
    g_texts.clear();
    LeaveCriticalSection(&g_lock);
    // The original procedure is in place before the first message can reach ours.
    SetPropW(statusBar, kOriginalProc, reinterpret_cast<HANDLE>(GetWindowLongPtrW(statusBar, GWLP_WNDPROC)));
    SetWindowLongPtrW(statusBar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc));
}

std::vector<std::wstring> PanelTexts(int panel) {
    std::vector<std::wstring> texts;
    if (!g_lockReady)
        return texts;
    EnterCriticalSection(&g_lock);
    for (const auto& [which, text] : g_texts)
        if (which == panel)
            texts.push_back(text);
    LeaveCriticalSection(&g_lock);
    return texts;
}

bool ShownInTurn(int panel, size_t from, const std::wstring& first, const std::wstring& then) {
    const std::vector<std::wstring> texts = PanelTexts(panel);
    const auto shown = std::find(texts.begin() + static_cast<std::ptrdiff_t>(std::min(from, texts.size())),
                                 texts.end(), first);
    return shown != texts.end() && std::find(shown, texts.end(), then) != texts.end();
}

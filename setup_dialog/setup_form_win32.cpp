#include "setup_dialog/setup_form_win32.h"

#include <commctrl.h>

#include <iterator>

#include "config/configuration.h"
#include "config/file_system_win32.h"
#include "config/module_paths.h"
#include "config/settings.h"
#include "config/settings_file.h"
#include "decoding/raw_signature_text.h"
#include "plugin/plugin_win32.h"
#include "receiver/sampling_thread_win32.h"
#include "setup_dialog/dialog_keys_win32.h"
#include "setup_dialog/dialog_texts.h"
#include "setup_dialog/form_placement.h"
#include "setup_dialog/setup_form_ids.h"
#include "setup_dialog/status_texts.h"

namespace {

const wchar_t kFormClass[] = L"TSetupForm";
constexpr int kPaintBoxHeight = 72;
constexpr UINT_PTR kPaintTimer = 1;
constexpr UINT kPaintTimerMs = 100;
// Right edges of the status panels 0..3; the last panel extends to the right edge.
const int kPanelWidths[] = {150, 70, 150, 50};

bool RegisterFormClass(HINSTANCE instance, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(instance, kFormClass, &wc))
        return true;
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_SETUPFORM));
    wc.lpszClassName = kFormClass;
    return RegisterClassExW(&wc) != 0;
}

// The work area (the screen less the task bar) of the monitor the window is on, or of the main
// one; empty when the system gives none.
ScreenRect WorkAreaOf(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info))
        return {};
    return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

bool IsInside(HWND ancestor, HWND window) {
    return window && (window == ancestor || IsChild(ancestor, window));
}

// Modal as a dialog box is: every other window of this thread that takes input is disabled while
// the dialog runs, so that none of them can close or unload the plug-in under its loop, and each
// comes back when the dialog ends, on every way out.
class ThreadWindowsDisabled {
  public:
    explicit ThreadWindowsDisabled(HWND dialog) : dialog_(dialog) {
        EnumThreadWindows(GetCurrentThreadId(), &DisableOne, reinterpret_cast<LPARAM>(this));
    }
    ~ThreadWindowsDisabled() { EnableAgain(); }
    ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
    ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;

    void EnableAgain() {
        for (HWND window : disabled_)
            EnableWindow(window, TRUE);
        disabled_.clear();
    }

  private:
    static BOOL CALLBACK DisableOne(HWND window, LPARAM param) {
        auto* self = reinterpret_cast<ThreadWindowsDisabled*>(param);
        // The dialog's own pop-ups (hints, balloons) are owned by it.
        for (HWND owner = window; owner; owner = GetWindow(owner, GW_OWNER)) {
            if (owner == self->dialog_)
                return TRUE;
        }
        if (IsWindowEnabled(window)) {
            EnableWindow(window, FALSE);
            self->disabled_.push_back(window);
        }
        return TRUE;
    }

    HWND dialog_;
    std::vector<HWND> disabled_;
};

} // namespace

TSetupForm::TSetupForm(HWND owner) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES |
                                                        ICC_UPDOWN_CLASS | ICC_BAR_CLASSES |
                                                        ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterFormClass(PluginInstance, &TSetupForm::FormProc);
    RegisterSignalViewClass(PluginInstance);

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
    // Centred on the host's screen, inside its work area, whatever the screen and the dpi.
    const ScreenRect place = PlaceForm(WorkAreaOf(owner), px_.Dpi()).window;
    handle_ = CreateWindowExW(0, kFormClass, dialog_texts::kFormCaption, style, place.left, place.top,
                              place.Width(), place.Height(), owner, nullptr, PluginInstance, this);
    if (!handle_)
        return;
    const HICON big =
        static_cast<HICON>(LoadImageW(PluginInstance, MAKEINTRESOURCEW(IDI_SETUPFORM), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    const HICON small =
        static_cast<HICON>(LoadImageW(PluginInstance, MAKEINTRESOURCEW(IDI_SETUPFORM), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    if (big)
        SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (small)
        SendMessageW(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    bigIcon_ = big;
    smallIcon_ = small;

    container_ = CreateDialogParamW(PluginInstance, L"TSETUPFORM", handle_, &TSetupForm::ContainerProc,
                                    reinterpret_cast<LPARAM>(this));
    if (!container_)
        return;
    CreateControls();
    Layout();
    ShowPage(0);
    ShowWindow(container_, SW_SHOWNA);
    timerRunning_ = SetTimer(handle_, kPaintTimer, kPaintTimerMs, nullptr) != 0;
}

TSetupForm::~TSetupForm() {
    if (handle_) {
        if (timerRunning_)
            KillTimer(handle_, kPaintTimer);
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
        if (container_)
            SetWindowLongPtrW(container_, DWLP_USER, 0);
        AttachSignalSource(paintBox_, nullptr);
        DestroyWindow(handle_);
    }
    // Loaded for this window alone: freed with it.
    if (bigIcon_)
        DestroyIcon(bigIcon_);
    if (smallIcon_)
        DestroyIcon(smallIcon_);
}

void TSetupForm::CreateControls() {
    pages_ = GetDlgItem(container_, IDC_SETUPPAGES);
    paintBox_ = GetDlgItem(container_, IDC_PAINTBOX);
    statBar_ = GetDlgItem(container_, IDC_STATBAR);
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(container_, WM_GETFONT, 0, 0));

    for (int i = 0; i < static_cast<int>(std::size(dialog_texts::kPageCaptions)); ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(dialog_texts::kPageCaptions[i]);
        SendMessageW(pages_, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }

    int edges[std::size(kPanelWidths) + 1];
    int right = 0;
    for (size_t i = 0; i < std::size(kPanelWidths); ++i) {
        right += px_(kPanelWidths[i]);
        edges[i] = right;
    }
    edges[std::size(kPanelWidths)] = -1;
    SendMessageW(statBar_, SB_SETPARTS, std::size(edges), reinterpret_cast<LPARAM>(edges));
    for (int i = 0; i < static_cast<int>(std::size(dialog_texts::kStatusAtCreation)); ++i)
        SetPanel(i, dialog_texts::kStatusAtCreation[i]);

    AttachSignalSource(paintBox_, this);
    learningPage_.Attach(container_, px_);
    receiverPage_.Attach(container_, px_, &LastCode);
    aboutPage_.Create(container_, font, px_.Dpi(), ModulePath);
    if (HWND list = GetDlgItem(container_, IDC_LISTVIEW))
        SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void TSetupForm::Layout() {
    if (!container_)
        return;
    RECT client;
    GetClientRect(handle_, &client);
    MoveWindow(container_, 0, 0, client.right, client.bottom, FALSE);

    SendMessageW(statBar_, WM_SIZE, 0, 0); // the status bar places itself at the bottom edge
    RECT bar{};
    GetWindowRect(statBar_, &bar);
    const int barHeight = bar.bottom - bar.top;
    const int viewHeight = px_(kPaintBoxHeight);
    const int viewTop = client.bottom - barHeight - viewHeight;
    MoveWindow(paintBox_, 0, viewTop, client.right, viewHeight, FALSE);
    MoveWindow(pages_, 0, 0, client.right, viewTop > 0 ? viewTop : 0, FALSE);

    RECT page{0, 0, client.right, viewTop > 0 ? viewTop : 0};
    SendMessageW(pages_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    // The page control comes first in the tab order and so lies above the page's controls: cut
    // its interior out, or its background would paint over their borders.
    HRGN outline = CreateRectRgn(0, 0, client.right, viewTop > 0 ? viewTop : 0);
    HRGN interior = CreateRectRgn(page.left + 2, page.top + 2, page.right - 2, page.bottom - 2);
    CombineRgn(outline, outline, interior, RGN_DIFF);
    DeleteObject(interior);
    SetWindowRgn(pages_, outline, FALSE); // the window owns the region from now on
    learningPage_.Layout(page);
    receiverPage_.Layout(page);
    aboutPage_.Layout(page);
    // Everything moved without its own repaint: draw the whole form (and so the view) afresh.
    RedrawWindow(container_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TSetupForm::ShowPage(int page) {
    // A page that hides the focused control would leave the focus nowhere: the tab row takes it.
    HWND focus = GetFocus();
    learningPage_.SetVisible(page == 0);
    receiverPage_.SetVisible(page == 1);
    aboutPage_.SetVisible(page == 2);
    if (focus && IsChild(container_, focus) && !IsWindowVisible(focus))
        SetFocus(pages_);
}

void TSetupForm::SetPanel(int panel, const wchar_t* text) {
    SendMessageW(statBar_, SB_SETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text));
}

void TSetupForm::StopPaintTimer() {
    if (timerRunning_ && handle_)
        KillTimer(handle_, kPaintTimer);
    timerRunning_ = false;
}

int TSetupForm::ShowModal() {
    if (!handle_ || !container_)
        return 0;
    // The timer stops on every way out, an exception included.
    struct TimerStop {
        TSetupForm* form;
        ~TimerStop() { form->StopPaintTimer(); }
    } timerStop{this};
    FormShow();
    ThreadWindowsDisabled disabled(handle_);
    ShowWindow(handle_, SW_SHOWNORMAL);
    SetForegroundWindow(handle_);
    SetFocus(pages_);
    modalDone_ = false;
    MSG message;
    while (!modalDone_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // Keep the quit request for the host's own loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got < 0)
            break;
        if (learningPage_.TakeListKey(message) || TakePageSwitchKey(container_, pages_, message) ||
            TakeLabelAccelerator(container_, message) || IsDialogMessageW(container_, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    FormHide();
    // Enabled again before the dialog hides, so the activation goes back to the host.
    disabled.EnableAgain();
    if (handle_)
        ShowWindow(handle_, SW_HIDE);
    return 2; // mrCancel: the result is not used
}

void TSetupForm::FormShow() {
    // A signature taken over before this dialog (Setup while receiving) is not this dialog's to
    // show or learn.
    RawSignatureText.Store("");
    Filling = true;
    receiverPage_.SetFilling(true);
    receiverPage_.Fill();
    learningPage_.FillList();
    listFilled_ = true;
    keyTableShown_ = CodeTable && RawTable && RemoteNames;
    if (!keyTableShown_)
        ShowListNotSaved();
    shownFiles_ = LoadedRemoteFiles();
    if (!ModulePath.empty())
        learningPage_.RemoteEdit().SetBytes(
            ReadLastRemoteControl(Win32FileSystem(), ModulePath, learningPage_.RemoteEdit().Bytes()));
    receiverPage_.SetFilling(false);
    Filling = false;
    shown_ = true;
}

void TSetupForm::FormHide() {
    if (hidden_)
        return;
    hidden_ = true;
    StopPaintTimer();
    // What is typed counts: a number in a box that still has the focus, as if the focus had left
    // it, and a key name still in its editor, as if Enter had been pressed.
    TakeIntoModel(false);
    // Without the module's path there is no folder of ours to write into.
    if (ModulePath.empty())
        return;
    // A list that was never filled, or filled without a key table (Setup after Close), would
    // erase every key, and one that is as it was loaded would only reorder the files: then only
    // the settings are written.
    const bool saveKeyList = listFilled_ && keyTableShown_ && learningPage_.Modified();
    try {
        SaveConfiguration(Win32FileSystem(), ModulePath, Settings.Snapshot(),
                          learningPage_.RemoteEdit().Bytes(),
                          saveKeyList ? &learningPage_.Rows().Rows() : nullptr, shownFiles_, &saveFailures_);
    } catch (...) {
        // Out of memory before the files were reached: none was written, and the box says so.
        try {
            saveFailures_ = {{SettingsFileName(ModulePath), SaveProblem::Kind::NotWritten}};
            if (saveKeyList)
                saveFailures_.push_back({ModuleFolder(ModulePath) + "*.cfg", SaveProblem::Kind::NotWritten});
        } catch (...) {
        }
    }
}

void TSetupForm::TakeIntoModel(bool windowsGoing) {
    if (!container_)
        return; // taken when the windows went
    receiverPage_.CommitFocusedBox();
    learningPage_.TakeIntoModel(windowsGoing);
}

void TSetupForm::ShowListNotSaved() {
    // Said before any work is done, where the key panels would be: the receiver's state stays in
    // panel 0, the reason takes the rest of the bar.
    learningPage_.SetListSaved(false);
    int edges[] = {px_(kPanelWidths[0]), -1};
    SendMessageW(statBar_, SB_SETPARTS, std::size(edges), reinterpret_cast<LPARAM>(edges));
    SetPanel(1, dialog_texts::kPluginClosed);
}

void TSetupForm::KeyPressed(KeyCode code) {
    // Without a key table there is no receiver either (Close let it go); the bar keeps its reason.
    if (shown_ && !keyTableShown_)
        return;
    SetPanel(1, dialog_texts::kPressed);
    KeyDisplay display;
    if (Settings.RawMode.load()) {
        char text[kRawSignatureTextSize];
        RawSignatureText.CopyTo(text);
        display = RawKeyDisplay(text);
    } else {
        display = CodeKeyDisplay(code, LastCode);
        if (!display.show)
            return;
    }
    if (display.setLastCode)
        LastCode = code;
    if (display.coding)
        SetPanel(2, display.coding);
    SetPanel(3, display.bits.c_str());
    learningPage_.CodeEdit().SetBytes(display.codeText);
    SetPanel(4, WideFromAnsi(display.codeText).c_str());
    if (SendMessageW(pages_, TCM_GETCURSEL, 0, 0) == 0)
        learningPage_.FindListItem(Settings.RawMode.load(), display.codeText, display.codeText.c_str());
}

void TSetupForm::ForgetShownCode() {
    // What the code box holds was received in the other mode: added now, a code would be stored
    // as a raw pattern, or a pattern as a code.
    learningPage_.CodeEdit().SetBytes("");
    for (int panel = 2; panel <= 4; ++panel)
        SetPanel(panel, dialog_texts::kStatusAtCreation[panel]);
}

void TSetupForm::KeyReleased() {
    if (shown_ && !keyTableShown_)
        return;
    SetPanel(1, dialog_texts::kReleased);
}

void TSetupForm::PaintTimerTimer() {
    const int32_t status = DeviceStatus.load();
    if (status != LastStatus) {
        LastStatus = status;
        SetPanel(0, DeviceStatusText(status));
    }
    const auto fill = static_cast<BufferFill>(BurstFill.load(std::memory_order_relaxed));
    if (fill != ShownFill) {
        ShownFill = fill;
        ShowBufferFill(fill);
    }
    bool repaint;
    {
        const std::lock_guard hold(displayLock_);
        repaint = RepaintPending;
        RepaintPending = false;
    }
    if (repaint && paintBox_) {
        InvalidateRect(paintBox_, nullptr, FALSE);
        UpdateWindow(paintBox_);
    }
}

void TSetupForm::ShowBufferFill(BufferFill fill) {
    const wchar_t* notice = BufferFillText(fill);
    SendMessageW(statBar_, SB_SIMPLE, notice ? TRUE : FALSE, 0);
    if (notice)
        SendMessageW(statBar_, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(notice));
}

void TSetupForm::CopyPulseTrain(const int32_t* durations, int32_t count) {
    const std::lock_guard hold(displayLock_);
    DisplayValid = false;
    const int32_t n = count < kDisplayCapacity ? count : kDisplayCapacity;
    DisplayCount = 0;
    for (int32_t i = 0; i < n; ++i)
        DisplayDurations[DisplayCount++] = durations[i];
    DisplayValid = true;
    RepaintPending = true;
}

int32_t TSetupForm::CopyDisplayTrain(int32_t* durations, int32_t capacity) {
    const std::lock_guard hold(displayLock_);
    if (!DisplayValid || DisplayCount <= 0)
        return 0;
    const int32_t n = DisplayCount < capacity ? DisplayCount : capacity;
    for (int32_t i = 0; i < n; ++i)
        durations[i] = DisplayDurations[i];
    return n;
}

LRESULT CALLBACK TSetupForm::FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            static_cast<TSetupForm*>(create->lpCreateParams)->handle_ = hwnd;
        }
        if (auto* form = reinterpret_cast<TSetupForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
            return form->HandleFormMessage(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the system's frames.
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT TSetupForm::HandleFormMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kMsgCodeReceived:
        KeyPressed((static_cast<KeyCode>(static_cast<uint32_t>(wParam)) << 32) |
                   static_cast<uint32_t>(lParam));
        return 0;
    case kMsgKeyEvent: // to the dialog it means: released
        KeyReleased();
        return 0;
    case WM_CLOSE:
        // The close box, the system menu and Alt+F4 all end here, and all save alike.
        TakeIntoModel(false);
        modalDone_ = true;
        // A close sent from another thread is handled inside GetMessage: wake the loop.
        PostMessageW(handle_, WM_NULL, 0, 0);
        return 0;
    case WM_TIMER:
        if (wParam == kPaintTimer)
            PaintTimerTimer();
        return 0;
    case WM_DESTROY:
        // Destroyed from outside (the host window went, and its owned windows with it): what the
        // user saw is taken while the controls still exist, and the modal loop ends and saves it.
        TakeIntoModel(true);
        modalDone_ = true;
        return 0;
    case WM_NCDESTROY:
        handle_ = nullptr;
        container_ = nullptr;
        timerRunning_ = false; // gone with the window
        return 0;
    case WM_SIZE:
        Layout();
        return 0;
    case WM_GETMINMAXINFO: {
        // Never more than the screen it is on can give.
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        int32_t width = 0;
        int32_t height = 0;
        MinimumFormSize(WorkAreaOf(handle_), px_.Dpi(), &width, &height);
        info->ptMinTrackSize.x = width;
        info->ptMinTrackSize.y = height;
        return 0;
    }
    case WM_ACTIVATE:
        // The controls live in the child dialog: keep and give back their focus ourselves.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (IsInside(container_, focus))
                savedFocus_ = focus;
        } else if (container_) {
            SetFocus(IsInside(container_, savedFocus_) && IsWindowVisible(savedFocus_) ? savedFocus_
                                                                                       : pages_);
        }
        return 0;
    default:
        return DefWindowProcW(handle_, message, wParam, lParam);
    }
}

INT_PTR CALLBACK TSetupForm::ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
            return FALSE; // the form sets the focus when it is shown
        }
        auto* form = reinterpret_cast<TSetupForm*>(GetWindowLongPtrW(hwnd, DWLP_USER));
        if (!form)
            return FALSE;
        if (!form->container_)
            form->container_ = hwnd;
        LRESULT result = 0;
        if (!form->HandleContainerMessage(message, wParam, lParam, &result))
            return FALSE;
        // A dialog procedure returns a colour message's brush itself; other results go through
        // DWLP_MSGRESULT.
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
            return static_cast<INT_PTR>(result);
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

bool TSetupForm::HandleContainerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (aboutPage_.OnContainerMessage(message, wParam, lParam, result))
        return true;
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        // Enter and Esc reach the dialog as IDOK and IDCANCEL: the dialog has no default button
        // and does not close on Esc.
        if (id == IDOK || id == IDCANCEL)
            return true;
        if (receiverPage_.OnCommand(id, code)) {
            if (id == IDC_RAWBOX && code == BN_CLICKED && !Filling)
                ForgetShownCode();
            return true;
        }
        return learningPage_.OnCommand(id, code, Settings.RawMode.load(), &LastCode);
    }
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.hwndFrom == pages_ && header.code == TCN_SELCHANGE) {
            ShowPage(static_cast<int>(SendMessageW(pages_, TCM_GETCURSEL, 0, 0)));
            return true;
        }
        return receiverPage_.OnNotify(header, result) ||
               learningPage_.OnNotify(*reinterpret_cast<NMHDR*>(lParam), result);
    }
    case WM_CONTEXTMENU:
        return learningPage_.OnContextMenu(reinterpret_cast<HWND>(wParam), lParam);
    default:
        return learningPage_.OnMessage(message, wParam, lParam, Settings.RawMode.load(), &LastCode);
    }
}

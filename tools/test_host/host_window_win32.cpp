#include "tools/test_host/host_window_win32.h"

#include <cstdio>
#include <iterator>
#include <string>

#include "plugin/host_records.h"
#include "tools/test_host/host_output_win32.h"

namespace {

constexpr char kClassName[] = "OrvikTestHost";
// Longest 1029 text the host reads; the plug-in promises 255 characters.
constexpr size_t kMaxReportText = 4096;
int64_t g_slowSentMs = 0;
UINT g_hookedMessage = 0;
void (*g_sentHook)() = nullptr;
// The posted message our own loop is dispatching, to tell posted messages from sent ones.
const MSG* g_dispatching = nullptr;

std::string HexBytes(const uint8_t* bytes, size_t size) {
    std::string text;
    for (size_t i = 0; i < size; ++i) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", bytes[i]);
        text += digits;
    }
    return text;
}

// Text in a fixed field, up to its first zero byte (or the whole field when it has none).
std::string FieldText(const char* field, size_t size) {
    size_t n = 0;
    while (n < size && field[n] != '\0')
        ++n;
    return std::string(field, n);
}

void AddForeignText(EventLine& line, const char* key, uint32_t address, size_t max) {
    bool ok = false;
    std::string text =
        ReadForeignText(reinterpret_cast<const void*>(static_cast<uintptr_t>(address)), max, &ok);
    std::string pointerKey = std::string(key) + "ptr";
    line.Hex(pointerKey, address);
    if (ok)
        line.Text(key, text);
}

void DecodeKeyEvent(EventLine& line, WPARAM w, LPARAM l) {
    int32_t event = static_cast<int32_t>(l);
    line.Int("lparam", event);
    line.Word("event", event == kKeyReleased ? "release" : event == kKeyPressed ? "press" : "repeat");
    if (event > 0)
        line.Int("repeat", event);
    KeyEventRecord record;
    if (!ReadForeignBytes(reinterpret_cast<const void*>(w), &record, sizeof record)) {
        line.Word("record", "unreadable");
        return;
    }
    line.Text("instance", FieldText(record.instanceName, std::size(record.instanceName)))
        .Int("i63", static_cast<uint8_t>(record.instanceName[63]))
        .Text("key", FieldText(record.keyName, std::size(record.keyName)))
        .Int("k187", static_cast<uint8_t>(record.keyName[123]))
        .Text("ext", FieldText(record.ext, std::size(record.ext)))
        .Int("v192", record.value2)
        .Int("v196", record.zero196)
        .Int("v200", record.zero200)
        .Word("z204", HexBytes(record.zero204, std::size(record.zero204)))
        .Word("z220", HexBytes(record.zero220, std::size(record.zero220)));
    AddForeignText(line, "code", record.codeText, 64);
    AddForeignText(line, "remote", record.remoteName, 128);
}

void DecodeActionValues(EventLine& line, WPARAM w, LPARAM l) {
    line.Int("id", static_cast<uint32_t>(w));
    ActionParams reply;
    if (!ReadForeignBytes(reinterpret_cast<const void*>(l), &reply, sizeof reply)) {
        line.Word("record", "unreadable");
        return;
    }
    line.Int("count", reply.count);
    for (int i = 0; i < 4; ++i) {
        line.Int("f" + std::to_string(i), reply.isNumber[i]);
        line.Int("v" + std::to_string(i), reply.value[i]);
    }
}

void Record(HWND, UINT message, WPARAM w, LPARAM l, const char* how) {
    EventLine line = NewEvent("msg");
    line.Int("n", message)
        .Hex("w", static_cast<uint32_t>(w))
        .Hex("l", static_cast<uint32_t>(l))
        .Word("how", how);
    if (message == kMsgKeyEvent) {
        DecodeKeyEvent(line, w, l);
    } else if (message == kMsgInvalidParams) {
        bool ok = false;
        std::string text = ReadForeignText(reinterpret_cast<const void*>(w), kMaxReportText, &ok);
        if (ok)
            line.Text("text", text).Int("length", static_cast<int64_t>(text.size()));
        else
            line.Word("text", "unreadable");
    } else if (message == kMsgActionValues) {
        DecodeActionValues(line, w, l);
    } else if (message == kMsgActionDone) {
        line.Int("id", static_cast<uint32_t>(w)).Int("result", static_cast<int32_t>(l));
    }
    Emit(line);
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message >= WM_USER) {
        const char* how = "direct";
        bool sentFromAnotherThread = (InSendMessageEx(nullptr) & ISMEX_SEND) != 0;
        if (sentFromAnotherThread)
            how = "sent";
        else if (g_dispatching != nullptr && g_dispatching->hwnd == window &&
                 g_dispatching->message == message && g_dispatching->wParam == w &&
                 g_dispatching->lParam == l)
            how = "posted";
        Record(window, message, w, l, how);
        if (sentFromAnotherThread && message == g_hookedMessage && g_sentHook)
            g_sentHook();
        // A slow host keeps the sender waiting inside its SendMessage.
        if (sentFromAnotherThread && g_slowSentMs > 0)
            Sleep(static_cast<DWORD>(g_slowSentMs));
        return 0;
    }
    return DefWindowProcA(window, message, w, l);
}

void Dispatch(const MSG& msg) {
    if (msg.hwnd == nullptr && msg.message >= WM_USER) {
        Record(nullptr, msg.message, msg.wParam, msg.lParam, "thread");
        return;
    }
    const MSG* outer = g_dispatching;
    g_dispatching = &msg;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    g_dispatching = outer;
}

} // namespace

HWND CreateHostWindow(bool show) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    if (RegisterClassA(&wc) == 0)
        return nullptr;
    HWND window = CreateWindowExA(0, kClassName, "Orvik test host", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 400, 200, nullptr, nullptr, wc.hInstance, nullptr);
    if (window != nullptr && show)
        ShowWindow(window, SW_SHOWNORMAL);
    return window;
}

void SetSlowSentMs(int64_t ms) {
    g_slowSentMs = ms;
}

void SetSentMessageHook(UINT message, void (*hook)()) {
    g_hookedMessage = message;
    g_sentHook = hook;
}

void DrainMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        Dispatch(msg);
}

void PumpFor(int64_t ms) {
    ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
    for (;;) {
        DrainMessages();
        ULONGLONG now = GetTickCount64();
        if (now >= end)
            return;
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
}

#include "decoding/dispatch_thread_win32.h"

#include "config/settings.h"
#include "decoding/key_dispatcher.h"
#include "decoding/raw_signature_text.h"
#include "plugin/plugin_win32.h"
#include "plugin/thread_join_win32.h"
#include "setup_dialog/setup_form_win32.h"

std::atomic<bool> HostKeyHeld{false};

namespace {

class ThreadDispatchEnvironment final : public DispatchEnvironment {
  public:
    uint32_t Now() override { return GetTickCount(); }
    bool StopRequested() override { return DispatchStop.load() != 0; }
    bool SetupOpen() override { return ::SetupOpen.load(); }
    bool DialogExists() override { return CurrentSetupForm() != nullptr; }
    void SendKeyEvent(int32_t lParam) override {
        SendMessageA(HostWindow, kMsgKeyEvent, reinterpret_cast<WPARAM>(&KeyEventRecordData), lParam);
    }
    void PublishHostHolds(bool holds) override { HostKeyHeld.store(holds); }
    void PostToDialog(uint32_t message, uint32_t wParam, uint32_t lParam) override {
        if (TSetupForm* form = CurrentSetupForm())
            PostMessageA(form->Handle(), message, wParam, static_cast<LPARAM>(lParam));
    }
    void ResetKeySignal() override { ResetEvent(KeySignal); }
    WaitOutcome WaitKeySignal(uint32_t timeoutMs) override {
        switch (WaitForSingleObject(KeySignal, timeoutMs == kWaitForever ? INFINITE : timeoutMs)) {
        case WAIT_OBJECT_0:
            return WaitOutcome::Signalled;
        case WAIT_TIMEOUT:
            return WaitOutcome::TimedOut;
        default:
            return WaitOutcome::Failed;
        }
    }
};

} // namespace

DWORD WINAPI DispatchKeys(LPVOID) {
    // A signature of an earlier run must not be shown, or learned, as this run's first.
    RawSignatureText.Store("");
    ThreadDispatchEnvironment environment;
    // The record points into the dispatcher's buffers while this thread runs; the host only reads
    // them while it handles a message this thread sends.
    KeyDispatcher dispatcher(environment, Settings, KeyEventRecordData);
    KeyEventRecordData.codeText =
        static_cast<uint32_t>(reinterpret_cast<uintptr_t>(dispatcher.CodeTextBuffer()));
    KeyEventRecordData.remoteName =
        static_cast<uint32_t>(reinterpret_cast<uintptr_t>(dispatcher.RemoteNameBuffer()));
    dispatcher.Run();
    return 0;
}

void ReleaseHostKeyForSetup() {
    if (!DispatchThread || !HostKeyHeld.load())
        return;
    // A Stop let through by the wait closes the thread's handle: wait on a handle of our own.
    HANDLE thread = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), DispatchThread, GetCurrentProcess(), &thread, SYNCHRONIZE,
                         FALSE, 0))
        return;
    SetEvent(KeySignal);
    WaitLettingSentMessagesThrough(thread, [] { return HostKeyHeld.load(); });
    CloseHandle(thread);
}

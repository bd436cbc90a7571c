#pragma once
// The key dispatcher: turns the codes the sampling thread hands over into press, repeat and release
// of named buttons for the host, or into code and release messages for the setup dialog. Everything
// platform-bound (clock, stop flag, messages, the KeySignal event) comes in through
// DispatchEnvironment; the Win32 thread routine implements it and calls Run.
#include <cstdint>
#include <string_view>

#include "config/settings.h"
#include "decoding/key_code.h"
#include "decoding/raw_signature_text.h"
#include "plugin/host_records.h"
#include "receiver/receiver.h"

// A wait without time-out (the value of the Win32 INFINITE).
constexpr uint32_t kWaitForever = 0xFFFFFFFFu;

enum class WaitOutcome { Signalled, TimedOut, Failed };

class DispatchEnvironment {
  public:
    virtual ~DispatchEnvironment() = default;
    // The system's 32-bit millisecond tick count.
    virtual uint32_t Now() = 0;
    // DispatchStop is set.
    virtual bool StopRequested() = 0;
    // SetupOpen, and whether SetupForm exists.
    virtual bool SetupOpen() = 0;
    virtual bool DialogExists() = 0;
    // Sends message 1025 with the KeyEventRecord to HostWindow and returns when it is handled.
    virtual void SendKeyEvent(int32_t lParam) = 0;
    // Whether the host holds a button: set before its press is sent, cleared once its release has
    // been handled. Setup, after setting SetupOpen, waits while it is set (it wakes the dispatcher,
    // which then sends the release).
    virtual void PublishHostHolds(bool holds) = 0;
    // Posts a message to the dialog's window.
    virtual void PostToDialog(uint32_t message, uint32_t wParam, uint32_t lParam) = 0;
    // The KeySignal event: reset, and wait at most timeoutMs (kWaitForever: no time-out).
    virtual void ResetKeySignal() = 0;
    virtual WaitOutcome WaitKeySignal(uint32_t timeoutMs) = 0;
};

class KeyDispatcher {
  public:
    // record is the module-wide KeyEventRecord; the dispatcher writes its key name field and its
    // constant fields. The caller points its codeText and remoteName fields at CodeTextBuffer() and
    // RemoteNameBuffer(), which live as long as this object.
    KeyDispatcher(DispatchEnvironment& environment, const SettingsStore& settings, KeyEventRecord& record);

    // The thread routine's body: Start, then one Pass after the other until a stop is requested;
    // a button the host still holds then gets its release.
    void Run();
    // Initial state: no button held, nothing reported; fixes the hold time-out from the settings.
    void Start();
    // Takes a waiting hand-off, reports what changed or a due repeat, then waits for the next one.
    void Pass();

    const char* CodeTextBuffer() const { return codeText_; }
    const char* RemoteNameBuffer() const { return remoteName_; }

  private:
    void TakeHandOff();
    void ResolveRawSignature(bool& down);
    void ReportChange();
    void NameHeldButton(bool setupOpen);
    void RepeatIfDue(bool setupOpen);
    void SendUnlessSetup(bool setupOpen, int32_t lParam);
    void SendToHost(int32_t lParam);
    void WaitForHandOff();
    void SetKeyName(std::string_view name);
    void SetRemoteName(std::string_view name);

    DispatchEnvironment& env_;
    const SettingsStore& settings_;
    KeyEventRecord& record_;

    KeyCode code_ = 0;         // C: taken from the last hand-off
    int32_t entry_ = -1;       // the code entry a raw match belongs to; -1: look C up by code
    bool down_ = false;        // D
    KeyCode reportedCode_ = 0; // Cr: C at the last change handled
    int32_t reportedEntry_ = -1;
    bool reportedDown_ = false; // Dr: a button is held
    int32_t repeat_ = 0;        // N: 0 after a press, n after the n-th repeat
    uint32_t handOffTime_ = 0;  // Th
    uint32_t sendTime_ = 0;     // Ts: when the last press or repeat was due
    uint32_t delay_ = 0;        // W: from Ts to the next repeat
    uint32_t holdTimeout_ = 0;  // H: the wait while a button is held
    bool releaseDue_ = false;   // the hold wait found WaitR of silence
    bool hostHolds_ = false;    // the host got a press and not yet its release
    bool rawMatched_ = false;   // the last raw signature matched a stored one: its repeats continue it

    char codeText_[20] = {};
    char remoteName_[kRemoteNameMax + 1] = {};
    char rawText_[kRawSignatureTextSize] = {};
};

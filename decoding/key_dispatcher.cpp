#include "decoding/key_dispatcher.h"

#include <algorithm>
#include <cstring>

#include "config/key_table.h"
#include "decoding/raw_signature.h"
#include "decoding/tick_time.h"

// The hand-off from the sampling thread.
// The sampling thread stores SignalCode and SignalDown, then SignalFresh with release order, and
// only then signals KeySignal. The dispatcher exchanges SignalFresh for 0 with acquire order before
// it loads SignalCode and SignalDown, so it sees at least the code that came with the flag; a
// hand-off that lands after the exchange sets the flag again and is taken by the next pass, never
// lost. SignalCode is a std::atomic<uint64_t>, indivisible and lock-free on the 32-bit target too
// (checked below), so a code is never seen half-written and neither thread ever blocks on a lock.
// Waiting: KeySignal is reset before the last look at SignalFresh and at the stop flag (both
// sequentially consistent), so a hand-off or a Stop that comes after that look also finds the
// event set and ends the wait.
// The release time-out and an unmatched raw signature are kept in the dispatcher's own state
// instead of being written into SignalDown and SignalFresh: writing them there could overwrite the
// flags of a hand-off being published at the same moment. A hand-off that arrives together with a
// due release is taken in its place.
static_assert(std::atomic<KeyCode>::is_always_lock_free);

namespace {

constexpr KeyCode kAllBits = ~KeyCode{0};
constexpr KeyCode kRawSignatureWaits = 0;
constexpr char kUndefinedRemote[] = "<undefined>";

void CopyCut(char* field, size_t fieldSize, std::string_view text) {
    const size_t length = std::min(text.size(), fieldSize - 1);
    std::memset(field, 0, fieldSize);
    std::memcpy(field, text.data(), length);
}

std::string_view Cut(std::string_view text, size_t maxLength) {
    return text.substr(0, maxLength);
}

// The settings file keeps whatever number it holds; a negative Wait1 means no wait at all here,
// instead of a wait of four billion milliseconds (endless repeats).
uint32_t WaitOf(const std::atomic<int32_t>& setting) {
    return static_cast<uint32_t>(std::max(setting.load(std::memory_order_relaxed), 0));
}

// WaitN and WaitR as the dialog shows them. A hand-edited period below the dialog's smallest would
// send the host a repeat at every pass while a button is held, about one a millisecond; such a
// release delay would release the button between two frames of one hold and press it again.
// (Wait1 of 0 is a documented value: the first repeat at the first pass after the press.)
uint32_t AtLeastShortestWait(const std::atomic<int32_t>& wait) {
    return static_cast<uint32_t>(std::max(wait.load(std::memory_order_relaxed), kShortestWaitMs));
}

} // namespace

KeyDispatcher::KeyDispatcher(DispatchEnvironment& environment, const SettingsStore& settings,
                             KeyEventRecord& record)
    : env_(environment), settings_(settings), record_(record) {}

void KeyDispatcher::Run() {
    Start();
    while (!env_.StopRequested())
        Pass();
    // Stop and Close: a host that ramps or winds while a button is held must hear that it is no
    // longer held. Stop's join lets this send through.
    if (hostHolds_)
        SendToHost(kKeyReleased);
}

void KeyDispatcher::Start() {
    code_ = kAllBits;
    entry_ = -1;
    down_ = false;
    reportedCode_ = kAllBits;
    reportedEntry_ = -1;
    reportedDown_ = false;
    repeat_ = 0;
    handOffTime_ = 0;
    sendTime_ = 0;
    releaseDue_ = false;
    hostHolds_ = false;
    // Setup waits while the host holds a button: nothing may be left over from an earlier run.
    env_.PublishHostHolds(false);
    rawMatched_ = false;
    delay_ = WaitOf(settings_.Wait1);
    holdTimeout_ = std::min(AtLeastShortestWait(settings_.WaitN), AtLeastShortestWait(settings_.WaitR));
    std::memcpy(record_.ext, "EXT", std::size(record_.ext));
    record_.value2 = 2;
    record_.zero196 = 0;
    record_.zero200 = 0;
}

void KeyDispatcher::Pass() {
    // Setup has opened while the host holds a button: nothing reaches the host while the dialog
    // is open, so it hears the release now.
    if (hostHolds_ && env_.SetupOpen())
        SendToHost(kKeyReleased);
    TakeHandOff();
    if (code_ != reportedCode_ || entry_ != reportedEntry_ || down_ != reportedDown_)
        ReportChange();
    else if (reportedDown_)
        RepeatIfDue(env_.SetupOpen());
    WaitForHandOff();
}

void KeyDispatcher::TakeHandOff() {
    if (SignalFresh.exchange(0, std::memory_order_acq_rel)) {
        releaseDue_ = false;
        const KeyCode signalled = SignalCode.load(std::memory_order_relaxed);
        bool down = SignalDown.load(std::memory_order_relaxed) != 0;
        if (settings_.RawMode.load(std::memory_order_relaxed)) {
            if (signalled == kRawSignatureWaits)
                ResolveRawSignature(down);
            else if (!rawMatched_ && !env_.SetupOpen())
                down = false; // a repeat frame continues only a key that was matched
        } else {
            code_ = signalled;
            entry_ = -1;
        }
        // Re-armed whatever the mode: raw mode may have been switched off between a raw hand-off
        // and this pass, and raw learning must not stay off once it is switched on again.
        // Release: the sampling thread may build the next signature only after our reads.
        RawArmed.store(1, std::memory_order_release);
        down_ = down;
        handOffTime_ = env_.Now();
    } else if (releaseDue_) {
        releaseDue_ = false;
        down_ = false;
        handOffTime_ = env_.Now();
    }
}

void KeyDispatcher::ResolveRawSignature(bool& down) {
    const int32_t length =
        std::clamp(RawSignatureLength.load(std::memory_order_relaxed), 0, kRawSignatureMaxLength);
    RawSignatureToText(RawSignature, length, rawText_);
    RawSignatureText.Store(rawText_);
    const int32_t raw = FindRawEntry(rawText_);
    entry_ = CodeEntryOfRawEntry(raw);
    rawMatched_ = raw >= 0;
    if (raw >= 0) {
        code_ = CodeOfRawEntry(raw);
    } else if (env_.SetupOpen()) {
        // Alternate, so that every unmatched signature is a change the dialog hears of.
        code_ = reportedCode_ == 0 ? kAllBits : 0;
    } else {
        down = false;
        code_ = kAllBits;
    }
}

void KeyDispatcher::ReportChange() {
    const bool setupOpen = env_.SetupOpen();
    if (reportedDown_ && !down_)
        SendUnlessSetup(setupOpen, kKeyReleased);
    if (down_) {
        NameHeldButton(setupOpen);
        if (repeat_ == 0) {
            sendTime_ = env_.Now();
            delay_ = WaitOf(settings_.Wait1);
            SendUnlessSetup(setupOpen, kKeyPressed);
        } else {
            RepeatIfDue(setupOpen);
        }
    }
    if (setupOpen && env_.DialogExists()) {
        if (down_)
            env_.PostToDialog(kMsgCodeReceived, static_cast<uint32_t>(code_ >> 32),
                              static_cast<uint32_t>(code_));
        else
            env_.PostToDialog(kMsgKeyEvent, 0, 0);
    }
    reportedCode_ = code_;
    reportedEntry_ = entry_;
    reportedDown_ = down_;
}

// Fills the code text, key name and remote name for the code now received; a held button that
// does not carry the same names is released first, and the new one starts at repeat 0. The record
// changes only after that release, so the release describes the held button in every field.
void KeyDispatcher::NameHeldButton(bool setupOpen) {
    char codeText[CodeDigits + 1];
    CodeText(code_, codeText);
    if (!reportedDown_)
        repeat_ = 0;
    const int32_t entry = entry_ >= 0 ? entry_ : FindCodeEntry(codeText);
    std::string_view keyName = codeText;
    std::string_view remoteName = kUndefinedRemote;
    bool sameButton = false;
    if (entry >= 0) {
        // Compared as they will be stored, so a name longer than its field still matches itself.
        keyName = Cut(KeyNameAt(entry), kKeyNameMax);
        remoteName = Cut(RemoteNameAt(entry), kRemoteNameMax);
        sameButton = keyName == record_.keyName && remoteName == remoteName_;
    }
    if (reportedDown_ && !sameButton) {
        SendUnlessSetup(setupOpen, kKeyReleased);
        repeat_ = 0;
    }
    std::memcpy(codeText_, codeText, std::size(codeText));
    SetKeyName(keyName);
    SetRemoteName(remoteName);
}

void KeyDispatcher::RepeatIfDue(bool setupOpen) {
    const uint32_t now = env_.Now();
    if (!AtLeastElapsed(now, sendTime_, delay_))
        return;
    ++repeat_;
    delay_ = AtLeastShortestWait(settings_.WaitN);
    sendTime_ = now;
    SendUnlessSetup(setupOpen, repeat_);
}

// A release the host is owed goes out whatever setupOpen says: Setup may have opened after this
// pass first looked, and it waits until the host no longer holds a button.
void KeyDispatcher::SendUnlessSetup(bool setupOpen, int32_t lParam) {
    if (!setupOpen || lParam == kKeyReleased)
        SendToHost(lParam);
}

void KeyDispatcher::SendToHost(int32_t lParam) {
    const bool holds = lParam != kKeyReleased;
    if (!holds && !hostHolds_)
        return; // its press never reached the host
    if (holds && !hostHolds_) {
        // Published before the press, and SetupOpen looked at once more after that: Setup sets
        // SetupOpen and then waits while the host holds a button, so either it waits for this
        // press's release or the press is not sent at all.
        env_.PublishHostHolds(true);
        if (env_.SetupOpen()) {
            env_.PublishHostHolds(false);
            return;
        }
    }
    hostHolds_ = holds;
    env_.SendKeyEvent(lParam);
    if (!holds)
        env_.PublishHostHolds(false);
}

void KeyDispatcher::WaitForHandOff() {
    if (SignalFresh.load(std::memory_order_acquire) || env_.StopRequested())
        return;
    env_.ResetKeySignal();
    // Stop sets its flag before it signals: a signal this reset wiped out (Stop came while a
    // message was being sent) is found here by its flag, or the wait would never end.
    if (SignalFresh.load(std::memory_order_seq_cst) || env_.StopRequested())
        return;
    // While the host holds a button, Setup may be waiting for its release and its wake-up may just
    // have been reset: the wait is timed, and the next pass looks at SetupOpen again.
    if (!reportedDown_ && !hostHolds_) {
        env_.WaitKeySignal(kWaitForever);
        return;
    }
    if (env_.WaitKeySignal(holdTimeout_) == WaitOutcome::TimedOut &&
        AtLeastElapsed(env_.Now(), handOffTime_, AtLeastShortestWait(settings_.WaitR)))
        releaseDue_ = true;
}

void KeyDispatcher::SetKeyName(std::string_view name) {
    CopyCut(record_.keyName, std::size(record_.keyName), name);
}

void KeyDispatcher::SetRemoteName(std::string_view name) {
    CopyCut(remoteName_, std::size(remoteName_), name);
}

#pragma once
// The configuration dialog. Setup creates it, owned by the host window, shows it modally and
// destroys it.
//
// Two windows make the form. The top-level window of the registered class TSetupForm receives
// only frame messages and the dispatcher's posted key messages 1024 and 1025. All controls live
// in one full-size child dialog, the window the modal loop hands to IsDialogMessageW: the dialog
// manager uses 1024 and 1025 (DM_GETDEFID, DM_SETDEFID) for itself, so they must never reach the
// window that reads them as key messages. Key messages still arrive while a menu is open or the
// window is being moved, because they are posted to the form, not to a modal loop's window.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "config/remote_files.h"
#include "config/save_problems.h"
#include "receiver/lock.h"
#include "decoding/key_code.h"
#include "receiver/sample_conversion.h"
#include "setup_dialog/about_page_win32.h"
#include "setup_dialog/learning_page_win32.h"
#include "setup_dialog/receiver_page_win32.h"
#include "setup_dialog/signal_view_win32.h"

class TSetupForm final : public SignalSource {
  public:
    explicit TSetupForm(HWND owner);
    ~TSetupForm();
    TSetupForm(const TSetupForm&) = delete;
    TSetupForm& operator=(const TSetupForm&) = delete;

    // Runs FormShow, the modal loop until the dialog is closed or destroyed, and FormHide; the
    // other windows of the thread are disabled meanwhile.
    int ShowModal();
    HWND Handle() const { return handle_; }

    // Called on the sampling thread with every received train; keeps at most 512 durations for
    // the signal view. Never calls into the window system and never waits on drawing.
    void CopyPulseTrain(const int32_t* durations, int32_t count);
    // Called on the sampling thread after CopyPulseTrain: how much of the buffer the burst filled.
    // The timer shows the notice of a cut burst until a burst fits again.
    void NoteBufferFill(BufferFill fill) {
        BurstFill.store(static_cast<int8_t>(fill), std::memory_order_relaxed);
    }

    // Files FormHide could not write, and what became of them.
    const std::vector<SaveProblem>& SaveFailures() const { return saveFailures_; }

  private:
    static LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK ContainerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleFormMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleContainerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    void CreateControls();
    void Layout();
    void ShowPage(int page);
    void SetPanel(int panel, const wchar_t* text);

    void FormShow();
    // No key table (Setup after the host closed the plug-in): the list's commands off, and the
    // status bar says why.
    void ShowListNotSaved();
    void FormHide();
    // What the user typed or edited, into the settings and the rows, before a save;
    // windowsGoing: the controls are about to be destroyed.
    void TakeIntoModel(bool windowsGoing);
    void StopPaintTimer();
    void KeyPressed(KeyCode code);
    void KeyReleased();
    // Raw mode was switched: the code box and the code panels are cleared.
    void ForgetShownCode();
    void PaintTimerTimer();
    // The whole status bar says that bursts are cut while they fill the buffer; the panels keep
    // their texts beneath and come back with the next burst that fits.
    void ShowBufferFill(BufferFill fill);
    int32_t CopyDisplayTrain(int32_t* durations, int32_t capacity) override;

    HWND handle_ = nullptr;
    HWND container_ = nullptr;
    HWND pages_ = nullptr;
    HWND paintBox_ = nullptr;
    HWND statBar_ = nullptr;
    HWND savedFocus_ = nullptr;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    DpiScale px_;
    bool modalDone_ = false;
    bool shown_ = false;
    bool hidden_ = false;
    bool listFilled_ = false;
    // FormShow found a key table and took what the load that built it read: the key list is
    // saved against those files, and not at all without a key table.
    bool keyTableShown_ = false;
    RemoteFilesRead shownFiles_;
    bool timerRunning_ = false;
    std::vector<SaveProblem> saveFailures_;

    LearningPage learningPage_;
    ReceiverPage receiverPage_;
    AboutPage aboutPage_;

    static constexpr int kDisplayCapacity = 512;
    // CopyPulseTrain and the reading part of a paint exclude each other; the paint copies the
    // train under the lock and draws outside it.
    Lock displayLock_;
    int32_t DisplayCount = 0;
    int32_t DisplayDurations[kDisplayCapacity] = {};
    bool DisplayValid = false;
    bool RepaintPending = false;
    int32_t LastStatus = -1;
    std::atomic<int8_t> BurstFill{static_cast<int8_t>(BufferFill::Room)};
    BufferFill ShownFill = BufferFill::Room;
    KeyCode LastCode = 0;
    bool Filling = false;
};

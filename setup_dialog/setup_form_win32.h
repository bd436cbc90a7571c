#pragma once
// The configuration dialog. Created by Setup, shown modally, owned by the host window.
#include <windows.h>

#include <cstdint>
#include <mutex>

class TSetupForm {
  public:
    explicit TSetupForm(HWND owner);
    ~TSetupForm();
    TSetupForm(const TSetupForm&) = delete;
    TSetupForm& operator=(const TSetupForm&) = delete;

    // Runs the modal loop until the dialog is closed; the owner is disabled meanwhile.
    int ShowModal();
    HWND Handle() const { return handle_; }

    // Called on the sampling thread with every received train; keeps at most 512 durations for
    // the signal view. Never calls into the window system.
    void CopyPulseTrain(const int32_t* durations, int32_t count);

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND owner_;
    HWND handle_ = nullptr;
    bool modalDone_ = false;

    static constexpr int kDisplayCapacity = 512;
    // The copy and the reading part of a paint exclude each other.
    std::mutex displayLock_;
    int32_t DisplayCount = 0;
    int32_t DisplayDurations[kDisplayCapacity] = {};
    bool DisplayValid = false;
    bool RepaintPending = false;
};

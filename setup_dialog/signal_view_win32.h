#pragma once
// The signal view's window: a plain child window whose paint draws what ComputeSignalGeometry
// returns. The train comes from the form, copied under its lock before anything is drawn.
#include <windows.h>

#include <cstdint>

constexpr wchar_t kSignalViewClass[] = L"OrvikSignalView";

// The view asks its form for the train through this, on the dialog's thread.
class SignalSource {
  public:
    // Copies at most capacity durations; returns how many, 0 when there is no complete train.
    virtual int32_t CopyDisplayTrain(int32_t* durations, int32_t capacity) = 0;

  protected:
    ~SignalSource() = default;
};

// Registers the view's class once per process; true when it is there.
bool RegisterSignalViewClass(HINSTANCE instance);
// Connects a view window to the source it draws (the view's user data).
void AttachSignalSource(HWND view, SignalSource* source);

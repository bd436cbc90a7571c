#pragma once
// A stand-in for the configuration dialog around the about page: a top-level frame, a child dialog
// (#32770, WS_EX_CONTROLPARENT) that holds the controls and does the keyboard navigation, a tab
// control with the dialog's three tabs, and the page on the third, as the real form holds it.
#include <windows.h>

#include <string>
#include <vector>

#include "setup_dialog/about_page_win32.h"

class AboutFrame {
  public:
    AboutFrame() = default;
    ~AboutFrame();
    AboutFrame(const AboutFrame&) = delete;
    AboutFrame& operator=(const AboutFrame&) = delete;

    // Creates and shows the frame with the page created and laid out, the page still hidden.
    bool Create(const std::string& modulePath);
    // Dispatches what is waiting, through IsDialogMessageW of the container.
    void Pump();

    AboutPage page;
    HWND frame = nullptr;
    HWND container = nullptr;
    std::vector<int> otherCommands; // WM_COMMAND ids the page left alone (IDOK from Enter, say)

  private:
    static INT_PTR CALLBACK ContainerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    HFONT font_ = nullptr;
    bool created_ = false;
};

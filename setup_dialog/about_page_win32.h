#pragma once
// Page "О программе" of the configuration dialog: credits, the module's version and the user's
// read-me. Its controls live in the form's child dialog (which does the keyboard navigation),
// created hidden in tab order after the page control.
#include <windows.h>

#include <string>

class AboutPage {
  public:
    AboutPage() = default;
    ~AboutPage();
    AboutPage(const AboutPage&) = delete;
    AboutPage& operator=(const AboutPage&) = delete;

    // Creates the controls as hidden children of `container`. `font` is the dialog font, `dpi`
    // scales the 96-dpi pixel geometry, `modulePath` is the plug-in's full path ("" when unknown:
    // then no read-me and no version are looked up). Control ids are 3000..3099.
    bool Create(HWND container, HFONT font, int dpi, const std::string& modulePath);
    // Places the controls inside `page`, a rectangle in the container's client coordinates.
    void Layout(const RECT& page);
    // Shows or hides every control of the page; becoming visible runs the page's show handler.
    void SetVisible(bool visible);
    // Every message of the container goes here first (WM_COMMAND, WM_DRAWITEM, WM_CTLCOLOR*,
    // WM_SETCURSOR ...). Returns true and sets *result when the page handled it.
    bool OnContainerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  private:
    HWND container_ = nullptr;
};

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
    bool CreateControls(HWND container, HFONT font, int dpi, const std::string& modulePath);
    void TabSheet3Show();
    void LoadReadme();
    void LookUpVersion();
    void StaticTextClick(HWND sender);
    void DrawLink(const DRAWITEMSTRUCT& item);
    bool IsLink(HWND control) const;
    bool IsNameLabel(HWND control) const;
    template <size_t N> bool IsOneOf(HWND control, const int (&ids)[N]) const;
    HWND Control(int id) const { return GetDlgItem(container_, id); }
    int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }

    HWND container_ = nullptr;
    HFONT font_ = nullptr;
    HFONT boldFont_ = nullptr;
    HFONT linkFont_ = nullptr;
    HFONT memoFont_ = nullptr;
    int dpi_ = 96;
    std::string modulePath_;
    bool visible_ = false;
    // The page's state, kept where the original kept it: the tag of TabSheet3 (read-me lines
    // loaded; 0 reads the file again at the next showing) and the tag of Lbl_Version (1 once the
    // version has been looked up).
    int tabSheet3Tag_ = 0;
    int lblVersionTag_ = 0;
    // Widths measured at creation, in pixels of the current dpi.
    int leftColumnWidth_ = 0;
    int linkColumnWidth_ = 0;
};

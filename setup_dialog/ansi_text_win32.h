#pragma once
// Names from files are bytes of the ANSI code page. The dialog shows them through the wide API and
// converts back only what the user changed, so an untouched name is saved byte for byte even where
// the code page cannot round-trip it.
#include <windows.h>

#include <string>
#include <string_view>

std::wstring WideFromAnsi(std::string_view bytes);
std::string AnsiFromWide(std::wstring_view text);
std::wstring WindowTextW(HWND window);

// A text box that shows ANSI bytes: remembers what it was given, so that Bytes() gives them back
// unchanged while the shown text is still theirs.
class AnsiTextBox {
  public:
    void Attach(HWND box) { box_ = box; }
    HWND Handle() const { return box_; }
    void SetBytes(std::string bytes);
    std::string Bytes() const;
    // Keeps what the box shows now and lets go of the window, which is about to be destroyed:
    // Bytes() goes on giving that text.
    void Detach() {
        bytes_ = Bytes();
        box_ = nullptr;
    }

  private:
    HWND box_ = nullptr;
    std::string bytes_;
    std::wstring shown_;
};

// Scales pixel values given for 96 dpi to the screen's dpi.
class DpiScale {
  public:
    DpiScale();
    explicit DpiScale(int dpi) : dpi_(dpi) {}
    int operator()(int pixels96) const { return MulDiv(pixels96, dpi_, 96); }
    int Dpi() const { return dpi_; }

  private:
    int dpi_;
};

// Moves a control given in 96-dpi pixels relative to an origin.
void PlaceControl(HWND control, const DpiScale& px, POINT origin, int x, int y, int width, int height);

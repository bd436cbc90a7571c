#include "setup_dialog/about_page_win32.h"

// The page "О программе" is empty for now: its credits, version and read-me come with it later.

AboutPage::~AboutPage() = default;

bool AboutPage::Create(HWND container, HFONT, int, const std::string&) {
    container_ = container;
    return true;
}

void AboutPage::Layout(const RECT&) {}

void AboutPage::SetVisible(bool) {}

bool AboutPage::OnContainerMessage(UINT, WPARAM, LPARAM, LRESULT*) {
    return false;
}

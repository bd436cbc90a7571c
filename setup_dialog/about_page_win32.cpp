#include "setup_dialog/about_page_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <vector>

#include "config/module_paths.h"
#include "setup_dialog/about_texts.h"
#include "setup_dialog/readme_text.h"
#include "setup_dialog/version_caption.h"

namespace {

// Geometry at 96 dpi.
constexpr int kMargin = 4;
constexpr int kGroupHeight = 113;
constexpr int kInnerMargin = 10;
constexpr int kVersionTop = 14;
constexpr int kFirstRowTop = 32;
constexpr int kRowStep = 19;
constexpr int kLabelHeight = 13;
constexpr int kLinkHeight = 16;
constexpr int kColumnGap = 8;
constexpr int kLinkPadding = 4; // room for the focus rectangle around a link's text
constexpr int kMemoGap = 10;    // the memo starts this far below the top of the panel under the group
constexpr int kMemoPoints = 8;
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr UINT_PTR kLinkSubclassId = 1;

const wchar_t* Wide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}

std::wstring Widen(const char* ascii) {
    std::wstring text;
    for (; *ascii != '\0'; ++ascii)
        text += static_cast<wchar_t>(static_cast<unsigned char>(*ascii));
    return text;
}

struct ControlDesc {
    int id;
    const wchar_t* className;
    DWORD style;
    std::wstring text;
};

// In tab order: the links follow each other row by row.
std::vector<ControlDesc> PageControls() {
    const DWORD label = WS_CHILD | SS_LEFT | SS_NOPREFIX;
    const DWORD name = WS_CHILD | SS_RIGHT | SS_NOPREFIX;
    const DWORD link = WS_CHILD | WS_TABSTOP | BS_OWNERDRAW;
    return {
        {IdAboutGroup, L"Button", WS_CHILD | BS_GROUPBOX, Wide(kAboutGroupCaption)},
        {IdLblVersion, L"Static", WS_CHILD | SS_RIGHT | SS_NOPREFIX, Wide(kVersionDesignText)},
        {IdLabel8, L"Static", label, Wide(kOriginalAuthorLabel)},
        {IdLabel13, L"Static", name, Wide(kOriginalAuthorName)},
        {IdStaticText1, L"Button", link, Widen(kProjectSite)},
        {IdLabel11, L"Static", label, Wide(kFurtherWorkLabel)},
        {IdLabel10, L"Static", name, Wide(kFurtherWorkName)},
        {IdStaticText2, L"Button", link, Widen(kReceiverPage)},
        {IdStaticText4, L"Button", link, Widen(kDownloadPage)},
        {IdLabel14, L"Static", name, Wide(kContributorsName)},
        {IdStaticText3, L"Button", link, Widen(kContactAddress)},
        // A tab stop: the read-me is scrolled from the keyboard too.
        {IdMemoHelp, L"Edit",
         WS_CHILD | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
         Wide(kReadmeMissing)},
    };
}

constexpr int kLinkIds[] = {IdStaticText1, IdStaticText2, IdStaticText4, IdStaticText3};
constexpr int kNameLabelIds[] = {IdLabel13, IdLabel10, IdLabel14};
// Row of each credit control: left label, name label, link.
struct CreditRow {
    int label;
    int name;
    int link;
};
constexpr CreditRow kRows[] = {
    {IdLabel8, IdLabel13, IdStaticText1},
    {IdLabel11, IdLabel10, IdStaticText2},
    {0, 0, IdStaticText4},
    {0, IdLabel14, IdStaticText3},
};

HFONT DerivedFont(HFONT base, LONG weight, BYTE underline) {
    LOGFONTW log{};
    if (GetObjectW(base, sizeof log, &log) == 0)
        return nullptr;
    log.lfWeight = weight;
    log.lfUnderline = underline;
    return CreateFontIndirectW(&log);
}

int TextWidth(HWND window, HFONT font, const std::wstring& text) {
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size.cx;
}

std::wstring WindowTextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Enter reaches a focused link instead of the dialog's default button, and opens it as a click
// does (Space already clicks a button); the pointer over a link is a hand.
LRESULT CALLBACK LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
    case WM_GETDLGCODE: {
        LRESULT code = DefSubclassProc(link, message, wParam, lParam);
        const MSG* pending = reinterpret_cast<const MSG*>(lParam);
        if (pending != nullptr && pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            SendMessageW(GetParent(link), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link), BN_CLICKED),
                         reinterpret_cast<LPARAM>(link));
            return 0;
        }
        break;
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
        return TRUE;
    case WM_NCDESTROY:
        RemoveWindowSubclass(link, LinkProc, kLinkSubclassId);
        break;
    default:
        break;
    }
    return DefSubclassProc(link, message, wParam, lParam);
}

} // namespace

AboutPage::~AboutPage() {
    for (HFONT font : {boldFont_, linkFont_, memoFont_})
        if (font != nullptr)
            DeleteObject(font);
}

bool AboutPage::Create(HWND container, HFONT font, int dpi, const std::string& modulePath) {
    // The form may create its pages inside a window procedure: nothing may leave.
    try {
        return CreateControls(container, font, dpi, modulePath);
    } catch (...) {
        return false;
    }
}

bool AboutPage::CreateControls(HWND container, HFONT font, int dpi, const std::string& modulePath) {
    container_ = container;
    font_ = font != nullptr ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    dpi_ = dpi > 0 ? dpi : 96;
    modulePath_ = modulePath;
    boldFont_ = DerivedFont(font_, FW_BOLD, FALSE);
    linkFont_ = DerivedFont(font_, FW_NORMAL, TRUE);
    memoFont_ = CreateFontW(-MulDiv(kMemoPoints, dpi_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                            RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            FIXED_PITCH | FF_MODERN, L"Courier New");
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(container, GWLP_HINSTANCE));
    for (const ControlDesc& desc : PageControls()) {
        HWND control = CreateWindowExW(
            desc.id == IdMemoHelp ? WS_EX_CLIENTEDGE : 0, desc.className, desc.text.c_str(), desc.style, 0, 0,
            0, 0, container, reinterpret_cast<HMENU>(static_cast<INT_PTR>(desc.id)), instance, nullptr);
        if (control == nullptr)
            return false;
        HFONT controlFont = font_;
        if (desc.id == IdAboutGroup && boldFont_ != nullptr)
            controlFont = boldFont_;
        if (desc.id == IdMemoHelp && memoFont_ != nullptr)
            controlFont = memoFont_;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont), FALSE);
    }
    for (int id : kLinkIds)
        SetWindowSubclass(Control(id), LinkProc, kLinkSubclassId, 0);

    for (const CreditRow& row : kRows) {
        if (row.label != 0)
            leftColumnWidth_ =
                std::max(leftColumnWidth_, TextWidth(container_, font_, WindowTextOf(Control(row.label))));
        linkColumnWidth_ = std::max(linkColumnWidth_, TextWidth(container_, linkFont_ ? linkFont_ : font_,
                                                                WindowTextOf(Control(row.link))));
    }
    linkColumnWidth_ += 2 * kLinkPadding;
    return true;
}

void AboutPage::Layout(const RECT& page) {
    if (container_ == nullptr)
        return;
    const int left = page.left + Scale(kMargin);
    const int right = page.right - Scale(kMargin);
    const int top = page.top + Scale(kMargin);
    const int groupBottom = top + Scale(kGroupHeight);
    auto place = [&](int id, int x, int y, int width, int height) {
        MoveWindow(Control(id), x, y, std::max(width, 0), std::max(height, 0), TRUE);
    };
    place(IdAboutGroup, left, top, right - left, groupBottom - top);

    const int innerLeft = left + Scale(kInnerMargin);
    const int innerRight = right - Scale(kInnerMargin);
    place(IdLblVersion, innerLeft, top + Scale(kVersionTop), innerRight - innerLeft, Scale(kLabelHeight));

    // Links keep to the right edge; the names end right before them, the row labels start left.
    const int linkLeft = innerRight - linkColumnWidth_;
    const int nameLeft = innerLeft + leftColumnWidth_ + Scale(kColumnGap);
    const int nameRight = linkLeft - Scale(kColumnGap);
    for (size_t i = 0; i < std::size(kRows); ++i) {
        const int y = top + Scale(kFirstRowTop + static_cast<int>(i) * kRowStep);
        const CreditRow& row = kRows[i];
        if (row.label != 0)
            place(row.label, innerLeft, y, nameLeft - innerLeft, Scale(kLabelHeight));
        // A name without a row label may use the row's whole width.
        const int rowNameLeft = row.label != 0 ? nameLeft : innerLeft;
        if (row.name != 0)
            place(row.name, rowNameLeft, y, nameRight - rowNameLeft, Scale(kLabelHeight));
        place(row.link, linkLeft - kLinkPadding, y - Scale(kLinkHeight - kLabelHeight) / 2, linkColumnWidth_,
              Scale(kLinkHeight));
    }
    const int memoTop = groupBottom + Scale(kMemoGap);
    place(IdMemoHelp, left, memoTop, right - left, page.bottom - Scale(kMargin) - memoTop);
}

void AboutPage::SetVisible(bool visible) {
    if (container_ == nullptr)
        return;
    const bool becomesVisible = visible && !visible_;
    visible_ = visible;
    for (int id = IdAboutGroup; id <= IdMemoHelp; ++id)
        ShowWindow(Control(id), visible ? SW_SHOWNA : SW_HIDE);
    if (becomesVisible)
        TabSheet3Show();
}

bool AboutPage::OnContainerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (container_ == nullptr)
        return false;
    // Called from the dialog procedure: nothing may leave it.
    try {
        switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED && IsLink(reinterpret_cast<HWND>(lParam))) {
                StaticTextClick(reinterpret_cast<HWND>(lParam));
                *result = 0;
                return true;
            }
            return false;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item == nullptr || !IsLink(item->hwndItem))
                return false;
            DrawLink(*item);
            *result = TRUE;
            return true;
        }
        case WM_CTLCOLORSTATIC:
            if (!IsNameLabel(reinterpret_cast<HWND>(lParam)))
                return false;
            SetTextColor(reinterpret_cast<HDC>(wParam), kBlue);
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
            *result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            return true;
        case WM_SETCURSOR:
            if (!IsLink(reinterpret_cast<HWND>(wParam)))
                return false;
            SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
            *result = TRUE;
            return true;
        default:
            return false;
        }
    } catch (...) {
        return false;
    }
}

void AboutPage::TabSheet3Show() {
    try {
        if (tabSheet3Tag_ == 0)
            LoadReadme();
        if (lblVersionTag_ == 0)
            LookUpVersion();
    } catch (...) {
        // Out of memory while decoding: the page keeps what it showed.
    }
}

void AboutPage::LoadReadme() {
    if (modulePath_.empty())
        return;
    const std::string path = ModuleFolder(modulePath_) + kReadmeFileName;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        tabSheet3Tag_ = 0;
        return;
    }
    std::string bytes(kReadmeByteLimit, '\0');
    size_t filled = 0;
    bool ok = true;
    while (filled < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file, bytes.data() + filled, static_cast<DWORD>(bytes.size() - filled), &got,
                      nullptr)) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        filled += got;
    }
    CloseHandle(file);
    if (!ok) {
        tabSheet3Tag_ = 0;
        return;
    }
    bytes.resize(filled);
    const ReadmeText readme = DecodeReadme(bytes);
    SetWindowTextW(Control(IdMemoHelp), Wide(readme.text.c_str()));
    tabSheet3Tag_ = readme.lineCount;
}

void AboutPage::LookUpVersion() {
    if (!modulePath_.empty()) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(modulePath_.c_str(), &ignored);
        if (size != 0) {
            std::vector<char> info(size);
            void* value = nullptr;
            UINT length = 0;
            // The wide query returns the resource's own UTF-16 text, with no trip through the ANSI
            // code page.
            if (GetFileVersionInfoA(modulePath_.c_str(), 0, size, info.data()) &&
                VerQueryValueW(info.data(), L"\\StringFileInfo\\040904E4\\FileVersion", &value, &length) &&
                length != 0) {
                const std::optional<std::u16string> caption =
                    VersionCaption(static_cast<const char16_t*>(value), length);
                if (caption)
                    SetWindowTextW(Control(IdLblVersion), Wide(caption->c_str()));
            }
        }
    }
    lblVersionTag_ = 1;
}

void AboutPage::StaticTextClick(HWND sender) {
    char caption[1024] = "";
    GetWindowTextA(sender, caption, static_cast<int>(std::size(caption)));
    // Shown normally: a hidden start would leave the browser or mail program invisible.
    ShellExecuteA(GetAncestor(container_, GA_ROOT), "open", caption, nullptr, nullptr, SW_SHOWNORMAL);
}

void AboutPage::DrawLink(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    const std::wstring text = WindowTextOf(item.hwndItem);
    HGDIOBJ oldFont = SelectObject(dc, linkFont_ != nullptr ? linkFont_ : font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, (item.itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT) : kBlue);
    RECT textRect = item.rcItem;
    textRect.left += kLinkPadding;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        RECT focus = item.rcItem;
        focus.right = std::min(focus.left + size.cx + 2 * kLinkPadding, item.rcItem.right);
        DrawFocusRect(dc, &focus);
    }
    SelectObject(dc, oldFont);
}

bool AboutPage::IsLink(HWND control) const {
    return IsOneOf(control, kLinkIds);
}

bool AboutPage::IsNameLabel(HWND control) const {
    return IsOneOf(control, kNameLabelIds);
}

template <size_t N> bool AboutPage::IsOneOf(HWND control, const int (&ids)[N]) const {
    if (control == nullptr)
        return false;
    for (int id : ids)
        if (control == Control(id))
            return true;
    return false;
}

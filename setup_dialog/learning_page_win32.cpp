#include "setup_dialog/learning_page_win32.h"

#include <commctrl.h>

#include "setup_dialog/dialog_texts.h"
#include "setup_dialog/setup_form_ids.h"

namespace {

const int kPageControls[] = {IDC_MANUALGROUP,   IDC_CODELABEL1, IDC_CODEEDIT,   IDC_ADDBUTTON,
                             IDC_REPLACEBUTTON, IDC_LABEL3,     IDC_REMOTEEDIT, IDC_FILEGROUP,
                             IDC_IMPORTBTN,     IDC_EXPORTBTN,  IDC_LISTVIEW};

struct Column {
    const wchar_t* header;
    int width;
};
const Column kColumns[] = {
    {dialog_texts::kColumnKeyName, 120},
    {dialog_texts::kColumnRemoteName, 120},
    {dialog_texts::kColumnCode, 120},
    {dialog_texts::kColumnRaw, 120},
};

// A list-view cell shows about 259 characters; longer texts are cut for display only.
constexpr size_t kCellChars = 259;

void AddHint(HWND tips, HWND control, const wchar_t* text) {
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V1_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetParent(control);
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

} // namespace

void LearningPage::Attach(HWND container, const DpiScale& px) {
    container_ = container;
    px_ = px;
    list_ = Item(IDC_LISTVIEW);
    codeEdit_.Attach(Item(IDC_CODEEDIT));
    remoteEdit_.Attach(Item(IDC_REMOTEEDIT));
    remoteEdit_.SetBytes(dialog_texts::kUndefinedRemote);

    ListView_SetExtendedListViewStyle(list_, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(kColumns[i].header);
        column.cx = px_(kColumns[i].width);
        column.iSubItem = i;
        SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }

    tips_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, container_, nullptr, nullptr, nullptr);
    if (tips_) {
        AddHint(tips_, Item(IDC_ADDBUTTON), dialog_texts::kHintAdd);
        AddHint(tips_, Item(IDC_REPLACEBUTTON), dialog_texts::kHintReplace);
        AddHint(tips_, list_, dialog_texts::kHintList);
    }
}

void LearningPage::Layout(const RECT& page) {
    const POINT o{page.left, page.top};
    const int width = MulDiv(page.right - page.left, 96, px_.Dpi());
    const int height = MulDiv(page.bottom - page.top, 96, px_.Dpi());
    auto place = [&](int id, int x, int y, int w, int h) { PlaceControl(Item(id), px_, o, x, y, w, h); };

    // Panel2: 237 wide at the left, the editor at its top and the file group at its bottom.
    place(IDC_MANUALGROUP, 4, 2, 229, 145);
    place(IDC_CODELABEL1, 12, 24, 72, 14);
    place(IDC_CODEEDIT, 86, 20, 139, 21);
    place(IDC_ADDBUTTON, 12, 52, 104, 25);
    place(IDC_REPLACEBUTTON, 121, 52, 104, 25);
    place(IDC_LABEL3, 12, 92, 72, 14);
    place(IDC_REMOTEEDIT, 86, 88, 139, 160);
    const int fileTop = height - 69 - 2 > 150 ? height - 69 - 2 : 150;
    place(IDC_FILEGROUP, 4, fileTop, 229, 69);
    place(IDC_IMPORTBTN, 12, fileTop + 26, 104, 25);
    place(IDC_EXPORTBTN, 121, fileTop + 26, 104, 25);
    place(IDC_LISTVIEW, 239, 4, width - 239 - 4, height - 8);
}

void LearningPage::SetVisible(bool visible) {
    for (int id : kPageControls)
        ShowWindow(Item(id), visible ? SW_SHOWNA : SW_HIDE);
}

void LearningPage::FillList() {
    rows_.FillFromKeyTable();
    ShowRows();
}

void LearningPage::SetCell(int row, int column, const std::string& bytes, bool insert) {
    std::wstring text = WideFromAnsi(bytes);
    if (text.size() > kCellChars)
        text.resize(kCellChars);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = text.data();
    SendMessageW(list_, insert ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, insert ? 0 : static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
}

void LearningPage::ShowRows() {
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < rows_.Count(); ++i) {
        const KeyListRow& row = rows_[i];
        SetCell(i, 0, row.keyName, true);
        SetCell(i, 1, row.remoteName, false);
        SetCell(i, 2, row.codeText, false);
        SetCell(i, 3, row.rawText, false);
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
}

bool LearningPage::OnCommand(int id, int) {
    // Learning and editing the list come with the page's editing handlers; the file buttons are
    // disabled and do nothing.
    return id == IDC_IMPORTBTN || id == IDC_EXPORTBTN;
}

bool LearningPage::OnNotify(const NMHDR&, LRESULT*) {
    return false;
}

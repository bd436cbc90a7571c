#include "setup_dialog/learning_page_win32.h"

#include <commctrl.h>
#include <windowsx.h>

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

constexpr UINT kMsgResortKeys = WM_APP + 10;

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

void LearningPage::ShowRow(int row, bool insert) {
    const KeyListRow& r = rows_[row];
    SetCell(row, 0, r.keyName, insert);
    SetCell(row, 1, r.remoteName, false);
    SetCell(row, 2, r.codeText, false);
    SetCell(row, 3, r.rawText, false);
}

void LearningPage::ShowRows() {
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < rows_.Count(); ++i)
        ShowRow(i, true);
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

int LearningPage::SelectedRow() const {
    const int row =
        static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return row >= 0 && row < rows_.Count() ? row : -1;
}

void LearningPage::SelectRow(int row) {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    if (row < 0) {
        SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
        return;
    }
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

bool LearningPage::Editing() const {
    return SendMessageW(list_, LVM_GETEDITCONTROL, 0, 0) != 0;
}

void LearningPage::FindListItem(bool rawMode, const std::string& codeText, const char* rawSignatureText) {
    if (Editing())
        return;
    const int row = rawMode ? rows_.FindByRaw(rawSignatureText) : rows_.FindByCode(codeText);
    if (row < 0) {
        SelectRow(-1);
        return;
    }
    remoteEdit_.SetBytes(rows_[row].remoteName);
    SetFocus(list_);
    SelectRow(row);
}

void LearningPage::AddCurrentKeyClick(bool rawMode) {
    const std::string code = codeEdit_.Bytes();
    KeyListRow row{"<new key>", remoteEdit_.Bytes(), rawMode ? std::string() : code,
                   rawMode ? code : std::string()};
    const int index = rows_.Append(std::move(row));
    modified_ = true;
    ShowRow(index, true);
    SetFocus(list_);
    SelectRow(index);
    SendMessageW(list_, LVM_EDITLABELW, static_cast<WPARAM>(index), 0);
}

void LearningPage::ReplaceButtonClick(bool rawMode, KeyCode* lastCode) {
    const int index = SelectedRow();
    if (index < 0)
        return;
    KeyListRow& row = rows_[index];
    row.remoteName = remoteEdit_.Bytes();
    (rawMode ? row.rawText : row.codeText) = codeEdit_.Bytes();
    modified_ = true;
    ShowRow(index, false);
    // The same code again is shown again.
    if (lastCode)
        *lastCode = 0;
}

void LearningPage::RemoveKeyClick() {
    const int index = SelectedRow();
    if (index < 0)
        return;
    rows_.Remove(index);
    modified_ = true;
    SendMessageW(list_, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    ListViewChange();
}

void LearningPage::RenameKeyClick() {
    const int index = SelectedRow();
    if (index < 0)
        return;
    SetFocus(list_);
    SendMessageW(list_, LVM_EDITLABELW, static_cast<WPARAM>(index), 0);
}

void LearningPage::ListViewDblClick() {
    const int index = SelectedRow();
    if (index < 0)
        return;
    const KeyListRow& row = rows_[index];
    remoteEdit_.SetBytes(row.remoteName);
    codeEdit_.SetBytes(!row.rawText.empty() ? row.rawText : row.codeText);
}

void LearningPage::ListViewChange() {
    const int index = SelectedRow();
    EnableWindow(Item(IDC_REPLACEBUTTON), index >= 0);
    if (index >= 0)
        remoteEdit_.SetBytes(rows_[index].remoteName);
}

void LearningPage::ListViewEdited(int row, const wchar_t* text) {
    if (row < 0 || row >= rows_.Count())
        return;
    // What is seen is what is saved: the name as the code page holds it, shown as such.
    rows_[row].keyName = AnsiFromWide(text);
    modified_ = true;
    // The control applies a new caption only after this notification returns: re-sort then.
    resortRow_ = row;
    PostMessageW(container_, kMsgResortKeys, 0, 0);
}

bool LearningPage::OnResort(UINT message) {
    if (message != kMsgResortKeys)
        return false;
    const int row = rows_.SortKeeping(resortRow_);
    resortRow_ = -1;
    ShowRows();
    SelectRow(row);
    return true;
}

bool LearningPage::OnCommand(int id, int code, bool rawMode, KeyCode* lastCode) {
    if (code != BN_CLICKED) // also 0 for menu items
        return false;
    switch (id) {
    case IDC_ADDBUTTON:
    case IDM_ADDCURRENTKEY:
        AddCurrentKeyClick(rawMode);
        return true;
    case IDC_REPLACEBUTTON:
        ReplaceButtonClick(rawMode, lastCode);
        return true;
    case IDM_REMOVEKEY:
        RemoveKeyClick();
        return true;
    case IDM_RENAMEKEY:
        RenameKeyClick();
        return true;
    case IDM_EDIT5:
        ListViewDblClick();
        return true;
    case IDC_IMPORTBTN: // disabled, and no action
    case IDC_EXPORTBTN:
        return true;
    default:
        return false;
    }
}

bool LearningPage::OnNotify(const NMHDR& header, LRESULT* result) {
    if (header.hwndFrom != list_)
        return false;
    switch (header.code) {
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (change.uChanged & LVIF_STATE)
            ListViewChange();
        return true;
    }
    case NM_DBLCLK:
        ListViewDblClick();
        return true;
    case LVN_ENDLABELEDITW: {
        const auto& edit = reinterpret_cast<const NMLVDISPINFOW&>(header);
        // A cancelled edit (Esc) brings no text and changes nothing.
        if (edit.item.pszText)
            ListViewEdited(edit.item.iItem, edit.item.pszText);
        // The model is the truth: the re-sort shows the row from it.
        *result = FALSE;
        return true;
    }
    default:
        return false;
    }
}

bool LearningPage::OnContextMenu(HWND window, LPARAM position) {
    if (window != list_)
        return false;
    POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (position == -1) {
        // From the keyboard: at the selected row, or at the list's corner.
        RECT row{};
        row.left = LVIR_LABEL;
        const int index = SelectedRow();
        if (index >= 0 && SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(index),
                                       reinterpret_cast<LPARAM>(&row))) {
            at = {row.left + px_(8), row.bottom};
        } else {
            at = {px_(8), px_(24)};
        }
        ClientToScreen(list_, &at);
    }
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return true;
    AppendMenuW(menu, MF_STRING, IDM_ADDCURRENTKEY, dialog_texts::kMenuAddCurrentKey);
    AppendMenuW(menu, MF_STRING, IDM_REMOVEKEY, dialog_texts::kMenuRemoveKey);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, IDM_RENAMEKEY, dialog_texts::kMenuRenameKey);
    AppendMenuW(menu, MF_STRING, IDM_EDIT5, dialog_texts::kMenuEdit);
    // The menu opens from inside the list's own mouse handling: removing or editing a row there
    // would pull items out from under it. The choice is posted, so it runs once the list is done.
    const int chosen = static_cast<int>(
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                       at.x, at.y, 0, container_, nullptr));
    DestroyMenu(menu);
    if (chosen != 0)
        PostMessageW(container_, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    return true;
}

bool LearningPage::TakeContextMenuKey(const MSG& message) {
    if (message.hwnd != list_ || Editing())
        return false;
    const bool appsKey =
        (message.message == WM_KEYDOWN || message.message == WM_KEYUP) && message.wParam == VK_APPS;
    const bool shiftF10 =
        message.message == WM_SYSKEYDOWN && message.wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0;
    if (!appsKey && !shiftF10)
        return false;
    if (message.message != WM_KEYUP)
        OnContextMenu(list_, -1);
    return true;
}

#include "setup_dialog/learning_page_win32.h"

#include <windowsx.h>

#include "config/file_system_win32.h"
#include "config/settings.h"
#include "setup_dialog/dialog_texts.h"
#include "setup_dialog/file_operations_win32.h"
#include "setup_dialog/setup_form_ids.h"

namespace {

const int kPageControls[] = {IDC_MANUALGROUP,   IDC_CODELABEL1, IDC_CODEEDIT,   IDC_ADDBUTTON,
                             IDC_REPLACEBUTTON, IDC_LABEL3,     IDC_REMOTEEDIT, IDC_FILEGROUP,
                             IDC_IMPORTBTN,     IDC_EXPORTBTN,  IDC_LISTVIEW};

struct Column {
    const wchar_t* header;
    int width;
    int minimum; // the user cannot make it narrower; 0: no minimum
};
const Column kColumns[] = {
    {dialog_texts::kColumnKeyName, 120, 80},
    {dialog_texts::kColumnRemoteName, 120, 80},
    {dialog_texts::kColumnCode, 120, 80},
    {dialog_texts::kColumnRaw, 120, 0},
};

// The re-sort after an accepted key name; a command chosen from the pop-up menu (wParam the
// command, lParam the row it was chosen for); a column brought back to its minimum width (wParam).
constexpr UINT kMsgResortKeys = WM_APP + 10;
constexpr UINT kMsgRowCommand = WM_APP + 11;
constexpr UINT kMsgColumnMinimum = WM_APP + 12;

// A list-view cell shows about 259 characters; longer texts are cut for display only.
constexpr size_t kCellChars = 259;

constexpr wchar_t kCtrlZ = 0x1A; // the character Ctrl+Z types

void AddHint(HWND tips, HWND control, const wchar_t* text) {
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V1_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetParent(control);
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = const_cast<wchar_t*>(text);
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

bool NeedsRow(int id) {
    return id == IDM_REMOVEKEY || id == IDM_RENAMEKEY || id == IDM_EDIT5;
}

} // namespace

void LearningPage::Attach(HWND container, const DpiScale& px) {
    container_ = container;
    px_ = px;
    list_ = Item(IDC_LISTVIEW);
    codeEdit_.Attach(Item(IDC_CODEEDIT));
    remoteEdit_.Attach(Item(IDC_REMOTEEDIT));
    SetRemote(dialog_texts::kUndefinedRemote);

    ListView_SetExtendedListViewStyle(list_, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    SetWindowSubclass(list_, &LearningPage::ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
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
    balloon_.Create(container_);
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
    if (!visible)
        balloon_.Hide();
}

void LearningPage::FillList() {
    rows_.FillFromKeyTable();
    ShowRows(-1);
}

int LearningPage::AppendRows(std::vector<KeyListRow> rows) {
    // A name accepted a moment ago takes its place first: the new rows stay where they are put,
    // and so does an editor opened on one of them.
    if (resortPending_ && !Editor())
        Resort();
    int first = -1;
    for (KeyListRow& row : rows) {
        const int index = rows_.Append(std::move(row));
        first = first < 0 ? index : first;
    }
    if (first < 0)
        return -1;
    modified_ = true;
    ShowRows(first);
    return first;
}

void LearningPage::ShowRows(int select) {
    SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows_.Count()), LVSICF_NOSCROLL);
    keepRemote_ = true;
    SelectRow(select);
    keepRemote_ = false;
    InvalidateRect(list_, nullptr, FALSE);
}

void LearningPage::ShowCell(NMLVDISPINFOW& info) {
    const int row = info.item.iItem;
    if (!(info.item.mask & LVIF_TEXT) || row < 0 || row >= rows_.Count())
        return;
    const KeyListRow& r = rows_[row];
    const std::string* const cells[] = {&r.keyName, &r.remoteName, &r.codeText, &r.rawText};
    const int column = info.item.iSubItem;
    cellText_ = column >= 0 && column < static_cast<int>(std::size(cells)) ? WideFromAnsi(*cells[column])
                                                                           : std::wstring();
    if (cellText_.size() > kCellChars)
        cellText_.resize(kCellChars);
    if (info.item.pszText && info.item.cchTextMax > 0)
        lstrcpynW(info.item.pszText, cellText_.c_str(), info.item.cchTextMax);
    else
        info.item.pszText = cellText_.data();
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

HWND LearningPage::Editor() const {
    return reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETEDITCONTROL, 0, 0));
}

bool LearningPage::TypingInBox() const {
    HWND focus = GetFocus();
    HWND remote = remoteEdit_.Handle();
    return focus && (focus == codeEdit_.Handle() || focus == remote || IsChild(remote, focus));
}

void LearningPage::SetRemote(const std::string& bytes) {
    settingRemote_ = true;
    remoteEdit_.SetBytes(bytes);
    settingRemote_ = false;
    remoteTyped_ = false;
}

void LearningPage::FindListItem(bool rawMode, const std::string& codeText, const char* rawSignatureText) {
    if (Editor() || menuOpen_ || fileBoxOpen_)
        return;
    const int row = rawMode ? rows_.FindByRaw(rawSignatureText) : rows_.FindByCode(codeText);
    if (row < 0) {
        SelectRow(-1);
        return;
    }
    if (!remoteTyped_)
        SetRemote(rows_[row].remoteName);
    // The rest of what is being typed must not go to the list.
    if (!TypingInBox())
        SetFocus(list_);
    keepRemote_ = true;
    SelectRow(row);
    keepRemote_ = false;
}

bool LearningPage::CodeAccepted(const std::string& code, bool rawMode, const wchar_t* refusedTitle) {
    const CodeProblem problem = CheckCodeText(code, rawMode);
    if (problem == CodeProblem::None)
        return true;
    balloon_.ShowAt(codeEdit_.Handle(), refusedTitle,
                    problem == CodeProblem::Empty ? dialog_texts::kCodeEmpty : dialog_texts::kCodeNotStorable,
                    true);
    return false;
}

void LearningPage::AddCurrentKeyClick(bool rawMode) {
    const std::string code = codeEdit_.Bytes();
    if (!CodeAccepted(code, rawMode, dialog_texts::kAddRefused))
        return;
    KeyListRow row{"<new key>", remoteEdit_.Bytes(), rawMode ? std::string() : code,
                   rawMode ? code : std::string()};
    const int index = AppendRows({std::move(row)});
    SetFocus(list_);
    SendMessageW(list_, LVM_EDITLABELW, static_cast<WPARAM>(index), 0);
}

void LearningPage::ImportBtnClick() {
    HWND form = GetAncestor(container_, GA_ROOT);
    fileBoxOpen_ = true;
    const std::wstring path = ChooseImportFile(form);
    if (!path.empty()) {
        HCURSOR previous = SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
        ImportOutcome outcome = ImportFile(path, remoteEdit_.Bytes(), Settings.Snapshot(), rows_.Rows());
        SetCursor(previous);
        if (!outcome.failed)
            AppendRows(std::move(outcome.rows));
        ShowFileOperationBox(form, outcome.message, dialog_texts::kImportBoxTitle, outcome.failed);
    }
    fileBoxOpen_ = false;
}

void LearningPage::ExportBtnClick(RowId id) {
    const int index = IndexAfterResort(id);
    if (index < 0)
        return;
    // The remote is the one of the row chosen, whatever is selected while the dialog is open.
    const std::string remote = rows_[index].remoteName;
    HWND form = GetAncestor(container_, GA_ROOT);
    fileBoxOpen_ = true;
    const std::wstring path =
        ChooseExportFile(form, WideFromAnsi(ExportFileName(remote, Win32FileSystem().LeadBytes())));
    if (!path.empty())
        ExportFile(form, path, RemoteRows(rows_.Rows(), remote));
    fileBoxOpen_ = false;
}

void LearningPage::ReplaceButtonClick(RowId id, bool rawMode, KeyCode* lastCode) {
    const int index = rows_.IndexOf(id);
    if (index < 0)
        return;
    const std::string code = codeEdit_.Bytes();
    if (!CodeAccepted(code, rawMode, dialog_texts::kReplaceRefused))
        return;
    KeyListRow& row = rows_[index];
    row.remoteName = remoteEdit_.Bytes();
    (rawMode ? row.rawText : row.codeText) = code;
    modified_ = true;
    SendMessageW(list_, LVM_REDRAWITEMS, static_cast<WPARAM>(index), index);
    // The same code again is shown again.
    if (lastCode)
        *lastCode = 0;
}

void LearningPage::RemoveKeyClick(RowId id) {
    const int index = rows_.IndexOf(id);
    if (index < 0)
        return;
    rows_.Remove(index);
    modified_ = true;
    ShowRows(-1);
    ListViewChange();
}

void LearningPage::RestoreKeyClick() {
    const int index = rows_.RestoreRemoved();
    if (index < 0)
        return;
    modified_ = true;
    ShowRows(index);
}

void LearningPage::RenameKeyClick(RowId id) {
    const int index = IndexAfterResort(id);
    if (index < 0)
        return;
    SetFocus(list_);
    SendMessageW(list_, LVM_EDITLABELW, static_cast<WPARAM>(index), 0);
}

void LearningPage::ListViewDblClick(RowId id) {
    const int index = rows_.IndexOf(id);
    if (index < 0)
        return;
    const KeyListRow& row = rows_[index];
    SetRemote(row.remoteName);
    codeEdit_.SetBytes(!row.rawText.empty() ? row.rawText : row.codeText);
}

void LearningPage::ListViewChange() {
    const int index = SelectedRow();
    // A disabled control that keeps the focus leaves the keyboard nowhere, Tab included.
    for (int id : {IDC_REPLACEBUTTON, IDC_EXPORTBTN}) {
        HWND button = Item(id);
        if (index < 0 && GetFocus() == button)
            SendMessageW(container_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list_), TRUE);
        EnableWindow(button, index >= 0);
    }
    if (index >= 0 && !keepRemote_)
        SetRemote(rows_[index].remoteName);
}

void LearningPage::ListViewEdited(RowId id, const wchar_t* text) {
    const int index = rows_.IndexOf(id);
    if (index < 0)
        return;
    // What is seen is what is saved: the name as the code page holds it, shown as such.
    rows_[index].keyName = AnsiFromWide(text);
    modified_ = true;
    if (rows_.SharesKeyName(index))
        warnRow_ = id;
    RequestResort();
}

void LearningPage::RequestResort() {
    // The control applies a new caption only after its notification returns: re-sort then.
    resortPending_ = true;
    PostMessageW(container_, kMsgResortKeys, 0, 0);
}

int LearningPage::IndexAfterResort(RowId id) {
    if (resortPending_ && !Editor())
        Resort();
    return rows_.IndexOf(id);
}

void LearningPage::Resort() {
    resortPending_ = false;
    // The row the user has selected stays selected, wherever it goes.
    const int selected = rows_.SortKeeping(SelectedRow());
    ShowRows(selected);
    const int warn = rows_.IndexOf(warnRow_);
    warnRow_ = kNoRow;
    RECT row{};
    row.left = LVIR_LABEL;
    if (warn >= 0 &&
        SendMessageW(list_, LVM_GETITEMRECT, static_cast<WPARAM>(warn), reinterpret_cast<LPARAM>(&row))) {
        POINT tip{row.left + px_(16), row.bottom};
        ClientToScreen(list_, &tip);
        balloon_.Show(tip, dialog_texts::kNameTwiceTitle, dialog_texts::kNameTwice, false);
    }
}

void LearningPage::TakeIntoModel(bool detach) {
    if (HWND editor = Editor()) {
        const RowId id = editingRow_;
        editingRow_ = kNoRow;
        ListViewEdited(id, WindowTextW(editor).c_str());
        // The name is in the model now: the editor closes without applying anything.
        SendMessageW(list_, LVM_CANCELEDITLABEL, 0, 0);
    }
    warnRow_ = kNoRow; // no balloon on the way out
    if (resortPending_)
        Resort();
    if (detach) {
        balloon_.Hide();
        codeEdit_.Detach();
        remoteEdit_.Detach();
    }
}

void LearningPage::RunCommand(int id, RowId row, bool rawMode, KeyCode* lastCode) {
    switch (id) {
    case IDC_ADDBUTTON:
    case IDM_ADDCURRENTKEY:
        AddCurrentKeyClick(rawMode);
        break;
    case IDC_REPLACEBUTTON:
        ReplaceButtonClick(row, rawMode, lastCode);
        break;
    case IDM_REMOVEKEY:
        RemoveKeyClick(row);
        break;
    case IDM_RESTOREKEY:
        RestoreKeyClick();
        break;
    case IDM_RENAMEKEY:
        RenameKeyClick(row);
        break;
    case IDM_EDIT5:
        ListViewDblClick(row);
        break;
    default:
        break;
    }
}

bool LearningPage::OnCommand(int id, int code, bool rawMode, KeyCode* lastCode) {
    if (id == IDC_REMOTEEDIT) {
        if (code == CBN_EDITCHANGE && !settingRemote_)
            remoteTyped_ = true;
        // Shown as the code page will store it, once the user has left the box.
        if (code == CBN_KILLFOCUS) {
            settingRemote_ = true;
            remoteEdit_.SetBytes(remoteEdit_.Bytes());
            settingRemote_ = false;
        }
        return false;
    }
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDC_ADDBUTTON:
    case IDC_REPLACEBUTTON:
        RunCommand(id, SelectedId(), rawMode, lastCode);
        return true;
    case IDC_IMPORTBTN:
        ImportBtnClick();
        return true;
    case IDC_EXPORTBTN:
        ExportBtnClick(SelectedId());
        return true;
    default:
        return false;
    }
}

bool LearningPage::KeepColumnWidth(const NMHEADERW& header) {
    if (!header.pitem || !(header.pitem->mask & HDI_WIDTH) || header.iItem < 0 ||
        header.iItem >= static_cast<int>(std::size(kColumns)))
        return false;
    const int minimum = px_(kColumns[header.iItem].minimum);
    if (header.pitem->cxy >= minimum)
        return false;
    // Refused, and then set to the minimum itself, so a quick drag stops at the minimum.
    PostMessageW(container_, kMsgColumnMinimum, static_cast<WPARAM>(header.iItem), 0);
    return true;
}

LRESULT CALLBACK LearningPage::ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR page) {
    // The header tells only the list of a width about to change (not every list passes that on):
    // it is heard here, before the list takes it. The width field is the same in both forms.
    if (message == WM_NOTIFY) {
        const auto& header = *reinterpret_cast<const NMHEADERW*>(lParam);
        if ((header.hdr.code == HDN_ITEMCHANGINGW || header.hdr.code == HDN_ITEMCHANGINGA) &&
            reinterpret_cast<LearningPage*>(page)->KeepColumnWidth(header))
            return TRUE;
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(list, &LearningPage::ListProc, 1);
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

bool LearningPage::OnNotify(NMHDR& header, LRESULT* result) {
    if (header.hwndFrom != list_)
        return false;
    switch (header.code) {
    case LVN_GETDISPINFOW:
        ShowCell(reinterpret_cast<NMLVDISPINFOW&>(header));
        return true;
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (change.uChanged & LVIF_STATE)
            ListViewChange();
        return true;
    }
    case NM_DBLCLK:
        ListViewDblClick(SelectedId());
        return true;
    case LVN_BEGINLABELEDITW:
        editingRow_ = rows_.IdAt(reinterpret_cast<const NMLVDISPINFOW&>(header).item.iItem);
        balloon_.Hide();
        *result = FALSE;
        return true;
    case LVN_ENDLABELEDITW: {
        const auto& edit = reinterpret_cast<const NMLVDISPINFOW&>(header);
        const RowId row = editingRow_;
        editingRow_ = kNoRow;
        // A cancelled edit (Esc) brings no text and changes nothing.
        if (edit.item.pszText)
            ListViewEdited(row, edit.item.pszText);
        else if (resortPending_) // held back while the editor was open
            PostMessageW(container_, kMsgResortKeys, 0, 0);
        // The model is the truth: the list shows the row from it.
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
    const int index = SelectedRow();
    POINT at{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (position == -1) {
        // From the keyboard: at the selected row, or at the list's corner.
        RECT row{};
        row.left = LVIR_LABEL;
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
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING | (rows_.CanRestore() ? 0 : MF_GRAYED), IDM_RESTOREKEY,
                dialog_texts::kMenuRestoreKey);
    // The command is for the row the menu was opened on, whatever is selected when it runs.
    const RowId row = rows_.IdAt(index);
    menuOpen_ = true;
    // The menu opens from inside the list's own mouse handling: removing or editing a row there
    // would pull items out from under it. The choice is posted, so it runs once the list is done.
    const int chosen = static_cast<int>(
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                       at.x, at.y, 0, container_, nullptr));
    menuOpen_ = false;
    DestroyMenu(menu);
    if (chosen != 0 && (row != kNoRow || !NeedsRow(chosen)))
        PostMessageW(container_, kMsgRowCommand, static_cast<WPARAM>(chosen), static_cast<LPARAM>(row));
    return true;
}

bool LearningPage::TakeListKey(const MSG& message) {
    if (message.hwnd != list_)
        return false;
    const bool keyDown = message.message == WM_KEYDOWN;
    const WPARAM key = message.wParam;
    if (message.message == WM_SYSKEYDOWN && key == VK_F10 && GetKeyState(VK_SHIFT) < 0) {
        OnContextMenu(list_, -1);
        return true;
    }
    if ((keyDown || message.message == WM_KEYUP) && key == VK_APPS) {
        if (keyDown)
            OnContextMenu(list_, -1);
        return true;
    }
    int command = 0;
    if (keyDown && key == VK_F2)
        command = IDM_RENAMEKEY;
    else if (keyDown && key == VK_DELETE)
        command = IDM_REMOVEKEY;
    else if (keyDown && key == VK_RETURN)
        command = IDM_EDIT5;
    else if (message.message == WM_CHAR && key == kCtrlZ)
        command = IDM_RESTOREKEY;
    if (command == 0)
        return false;
    RunCommand(command, SelectedId(), false, nullptr);
    return true;
}

bool LearningPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool rawMode, KeyCode* lastCode) {
    switch (message) {
    case kMsgResortKeys:
        // Not under an open editor: the rows would move beneath it. Its end posts this again.
        if (resortPending_ && !Editor())
            Resort();
        return true;
    case kMsgRowCommand:
        RunCommand(static_cast<int>(wParam), static_cast<RowId>(lParam), rawMode, lastCode);
        return true;
    case kMsgColumnMinimum: {
        const int column = static_cast<int>(wParam);
        if (column >= 0 && column < static_cast<int>(std::size(kColumns)))
            SendMessageW(list_, LVM_SETCOLUMNWIDTH, wParam, MAKELPARAM(px_(kColumns[column].minimum), 0));
        return true;
    }
    case WM_TIMER:
        return balloon_.OnTimer(wParam);
    default:
        return false;
    }
}

#include "setup_dialog/learning_page_win32.h"

#include "setup_dialog/dialog_texts.h"
#include "setup_dialog/learning_page_parts_win32.h"
#include "setup_dialog/setup_form_ids.h"

using namespace learning_page;

namespace {

const int kPageControls[] = {IDC_MANUALGROUP,   IDC_CODELABEL1, IDC_CODEEDIT,   IDC_ADDBUTTON,
                             IDC_REPLACEBUTTON, IDC_LABEL3,     IDC_REMOTEEDIT, IDC_FILEGROUP,
                             IDC_IMPORTBTN,     IDC_EXPORTBTN,  IDC_LISTVIEW};

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
    history_.Clear();
    ShowRows(-1);
}

void LearningPage::SetListSaved(bool saved) {
    listSaved_ = saved;
    for (int id : {IDC_ADDBUTTON, IDC_IMPORTBTN})
        EnableWindow(Item(id), saved);
    ListViewChange();
}

int LearningPage::AppendRows(std::vector<KeyListRow> rows, ListCommand command) {
    // A name accepted a moment ago takes its place first: the new rows stay where they are put,
    // and so does an editor opened on one of them.
    if (resortPending_ && !Editor())
        Resort();
    const int first = history_.Append(rows_, std::move(rows), command);
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
    // Without a key table nothing the list holds is saved: no command changes it.
    if (!listSaved_ && id != IDM_EDIT5)
        return;
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
    case IDM_UNDO:
        UndoClick();
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
        RemoteBoxCommand(code);
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
        if (listSaved_)
            ImportBtnClick();
        return true;
    case IDC_EXPORTBTN:
        if (listSaved_)
            ExportBtnClick(SelectedId());
        return true;
    default:
        return false;
    }
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

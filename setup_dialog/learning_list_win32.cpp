// The learning page's list view: what its cells show, its notifications, the in-place editor of
// key names and the re-sort after one, and the columns' minimum widths.
#include "setup_dialog/learning_page_win32.h"

#include "setup_dialog/dialog_texts.h"
#include "setup_dialog/learning_page_parts_win32.h"
#include "setup_dialog/setup_form_ids.h"
#include "setup_dialog/type_ahead.h"

using namespace learning_page;

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

HWND LearningPage::Editor() const {
    return reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETEDITCONTROL, 0, 0));
}

int LearningPage::FindItem(const NMLVFINDITEMW& find) const {
    // The keyboard's search (the list sends it with the letters typed); a search for a whole name
    // is not asked for by anything here.
    if (!(find.lvfi.flags & LVFI_PARTIAL) || !find.lvfi.psz)
        return -1;
    const int focused =
        static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    // Names compared as the list shows them, through the same conversion.
    return FindTypedRow(rows_.Rows(), find.lvfi.psz, find.iStart, focused, &WideFromAnsi);
}

void LearningPage::FocusFirstRowIfNone() {
    if (rows_.Count() == 0 ||
        SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) >= 0)
        return;
    LVITEMW state{};
    state.stateMask = LVIS_FOCUSED;
    state.state = LVIS_FOCUSED;
    SendMessageW(list_, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
}

void LearningPage::ListViewChange() {
    const int index = SelectedRow();
    // A disabled control that keeps the focus leaves the keyboard nowhere, Tab included.
    for (int id : {IDC_REPLACEBUTTON, IDC_EXPORTBTN}) {
        HWND button = Item(id);
        if (index < 0 && GetFocus() == button)
            SendMessageW(container_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list_), TRUE);
        EnableWindow(button, index >= 0 && listSaved_);
    }
    if (index >= 0 && !keepRemote_)
        SetRemote(rows_[index].remoteName);
}

void LearningPage::ListViewEdited(RowId id, const wchar_t* text) {
    const int index = rows_.IndexOf(id);
    if (index < 0)
        return;
    // What is seen is what is saved: the name as the code page holds it, shown as such.
    KeyListRow renamed = rows_[index];
    renamed.keyName = AnsiFromWide(text);
    if (renamed.keyName != rows_[index].keyName)
        history_.Change(rows_, index, std::move(renamed), ListCommand::Rename);
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
        // Without a key table a name given here would not be saved: no editor opens.
        if (!listSaved_) {
            *result = TRUE;
            return true;
        }
        editingRow_ = rows_.IdAt(reinterpret_cast<const NMLVDISPINFOW&>(header).item.iItem);
        balloon_.Hide();
        *result = FALSE;
        return true;
    case LVN_ODFINDITEMW:
        *result = FindItem(reinterpret_cast<const NMLVFINDITEMW&>(header));
        return true;
    case NM_SETFOCUS:
        FocusFirstRowIfNone();
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

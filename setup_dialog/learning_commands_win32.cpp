// The learning page's list commands: the pop-up menu, the list's own keys, and what removing,
// bringing back, renaming and editing a row do.
#include "setup_dialog/learning_page_win32.h"

#include <windowsx.h>

#include "setup_dialog/dialog_texts.h"
#include "setup_dialog/file_operations.h"
#include "setup_dialog/learning_page_parts_win32.h"
#include "setup_dialog/setup_form_ids.h"

using namespace learning_page;

namespace {

bool NeedsRow(int id) {
    return id == IDM_REMOVEKEY || id == IDM_RENAMEKEY || id == IDM_EDIT5;
}

// A name in a menu item: its "&" shown as such, a long one cut.
std::wstring MenuName(std::wstring name) {
    constexpr size_t kMenuNameChars = 40;
    if (name.size() > kMenuNameChars) {
        name.resize(kMenuNameChars - 1);
        name += L'…';
    }
    std::wstring shown;
    for (wchar_t c : name)
        shown += c == L'&' ? std::wstring(L"&&") : std::wstring(1, c);
    return shown;
}

} // namespace

void LearningPage::RemoveKeyClick(RowId id) {
    const int index = rows_.IndexOf(id);
    if (!history_.Remove(rows_, index))
        return;
    modified_ = true;
    // The keyboard stays where it was: on the row that took the removed one's place, or on the
    // one before it at the end.
    ShowRows(index < rows_.Count() ? index : rows_.Count() - 1);
    ListViewChange();
}

void LearningPage::UndoClick() {
    // A name accepted a moment ago takes its place first: the history knows it.
    if (resortPending_ && !Editor())
        Resort();
    const ListHistory::Undone undone = history_.Undo(rows_);
    if (undone.command == ListCommand::None)
        return;
    modified_ = true;
    // A name given back sorts the row back to where it stood.
    ShowRows(undone.command == ListCommand::Rename ? rows_.SortKeeping(undone.select) : undone.select);
    ListViewChange();
}

std::wstring LearningPage::UndoMenuText() const {
    using namespace dialog_texts;
    switch (history_.Last()) {
    case ListCommand::Add:
        return kMenuUndoAdd;
    case ListCommand::Remove:
        return kMenuUndoRemove;
    case ListCommand::Rename:
        return kMenuUndoRename;
    case ListCommand::Replace:
        return kMenuUndoReplace;
    case ListCommand::Import: {
        const std::vector<std::string>& remotes = history_.LastRemotes();
        if (remotes.size() != 1)
            return FillIn(kMenuUndoImportMany, {std::to_wstring(remotes.size())});
        return FillIn(kMenuUndoImport, {MenuName(WideFromAnsi(remotes[0]))});
    }
    case ListCommand::None:
        break;
    }
    return kMenuUndoNothing;
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
    // Without a key table the commands that change the list are shown, but disabled.
    const UINT changes = MF_STRING | (listSaved_ ? 0 : MF_GRAYED);
    AppendMenuW(menu, changes, IDM_ADDCURRENTKEY, dialog_texts::kMenuAddCurrentKey);
    AppendMenuW(menu, changes, IDM_REMOVEKEY, dialog_texts::kMenuRemoveKey);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, changes, IDM_RENAMEKEY, dialog_texts::kMenuRenameKey);
    AppendMenuW(menu, MF_STRING, IDM_EDIT5, dialog_texts::kMenuEdit);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, history_.Last() != ListCommand::None && listSaved_ ? MF_STRING : MF_STRING | MF_GRAYED,
                IDM_UNDO, UndoMenuText().c_str());
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
    // Ctrl+Z also where the focus rests after a click on one of the page's buttons (after an
    // import, say); the boxes keep it for their own undo.
    if (message.message == WM_CHAR && message.wParam == kCtrlZ && IsPageButton(message.hwnd)) {
        RunCommand(IDM_UNDO, kNoRow, false, nullptr);
        return true;
    }
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
        command = IDM_UNDO;
    if (command == 0)
        return false;
    RunCommand(command, SelectedId(), false, nullptr);
    return true;
}

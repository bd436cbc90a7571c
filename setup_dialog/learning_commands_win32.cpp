// The learning page's list commands: the pop-up menu, the list's own keys, and what removing,
// bringing back, renaming and editing a row do.
#include "setup_dialog/learning_page_win32.h"

#include <windowsx.h>

#include "setup_dialog/dialog_texts.h"
#include "setup_dialog/learning_page_parts_win32.h"
#include "setup_dialog/setup_form_ids.h"

using namespace learning_page;

namespace {

bool NeedsRow(int id) {
    return id == IDM_REMOVEKEY || id == IDM_RENAMEKEY || id == IDM_EDIT5;
}

} // namespace

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

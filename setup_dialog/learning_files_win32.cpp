// The learning page's file group: a remote read from a file into the list, or one remote written
// to a file.
#include "setup_dialog/learning_page_win32.h"

#include "config/file_system_win32.h"
#include "config/settings.h"
#include "setup_dialog/dialog_texts.h"
#include "setup_dialog/file_operations_win32.h"
#include "setup_dialog/import_prompt_win32.h"

void LearningPage::ImportBtnClick() {
    HWND form = GetAncestor(container_, GA_ROOT);
    fileBoxOpen_ = true;
    const std::wstring path = ChooseImportFile(form);
    if (!path.empty())
        ImportFromFile(form, path);
    fileBoxOpen_ = false;
}

void LearningPage::ImportFromFile(HWND form, const std::wstring& path) {
    using namespace dialog_texts;
    CaptureText read;
    if (!ReadImportFile(path, &read)) {
        ShowFileOperationBox(form, FillIn(kImportUnreadable, {path}), kImportBoxTitle, true);
        return;
    }
    if (const std::wstring nothing = NothingToImport(read, path); !nothing.empty()) {
        ShowFileOperationBox(form, nothing, kImportBoxTitle, true);
        return;
    }
    // Where the buttons go is the user's choice, made now: nothing is taken from what the page
    // showed last.
    ImportChoice choice = ProposeImport(read, path, rows_.Rows(), SystemAnsiText());
    if (!AskImportTargets(form, choice, rows_.Rows()))
        return;
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    ImportOutcome outcome =
        ImportButtons(read, choice, ImportSettingsOf(Settings.Snapshot()), rows_.Rows(), &WideFromAnsi);
    SetCursor(previous);
    // The new rows selected and the list focused: Ctrl+Z there takes the import back.
    if (AppendRows(std::move(outcome.rows), ListCommand::Import) >= 0)
        SetFocus(list_);
    ShowFileOperationBox(form, outcome.message, kImportBoxTitle, false);
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

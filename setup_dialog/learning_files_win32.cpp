// The learning page's file group: a remote read from a file into the list, or one remote written
// to a file.
#include "setup_dialog/learning_page_win32.h"

#include "config/file_system_win32.h"
#include "config/settings.h"
#include "setup_dialog/dialog_texts.h"
#include "setup_dialog/file_operations_win32.h"

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

#include "setup_dialog/file_operations_win32.h"

#include <commdlg.h>

#include <fstream>
#include <iterator>

#include "capture_import/system_code_page_win32.h"
#include "config/file_system_win32.h"
#include "config/remote_export.h"
#include "setup_dialog/ansi_text_win32.h"
#include "setup_dialog/dialog_texts.h"

namespace {

// Room for a long path; the dialog reports a longer one as an error of its own.
constexpr DWORD kPathChars = 32768;

// The dialogs' filter: name and patterns of each entry, each ended by a null, the list by another.
template <size_t N> std::wstring FilterText(const wchar_t* const (&entries)[N][2]) {
    std::wstring text;
    for (const auto& entry : entries) {
        text += entry[0];
        text += L'\0';
        text += entry[1];
        text += L'\0';
    }
    return text;
}

std::wstring ChooseFile(HWND owner, const std::wstring& filter, const wchar_t* title,
                        const wchar_t* extension, const std::wstring& suggested, bool save) {
    std::wstring path(kPathChars, L'\0');
    suggested.copy(path.data(), kPathChars - 1);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = kPathChars;
    dialog.lpstrTitle = title;
    dialog.lpstrDefExt = extension;
    // The host's current folder is not ours to change.
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen)
        return {};
    path.resize(wcslen(path.c_str()));
    return path;
}

// The ANSI form of a path, or "" when the code page cannot hold it: the file functions of the
// plug-in take ANSI names, and a name with a character replaced would be another file.
std::string AnsiPath(const std::wstring& path) {
    const std::string ansi = AnsiFromWide(path);
    return WideFromAnsi(ansi) == path ? ansi : std::string();
}

} // namespace

std::wstring ChooseImportFile(HWND owner) {
    return ChooseFile(owner, FilterText(dialog_texts::kImportFilters), dialog_texts::kImportDialogTitle,
                      L"txt", L"", false);
}

std::wstring ChooseExportFile(HWND owner, const std::wstring& suggestedName) {
    return ChooseFile(owner, FilterText(dialog_texts::kExportFilters), dialog_texts::kExportDialogTitle,
                      L"cfg", suggestedName, true);
}

bool ReadImportFile(const std::wstring& path, CaptureText* read) {
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in)
        return false;
    // Names in the ANSI code page, as the key list and the files hold them.
    *read = ReadCaptureStream(in, kImportMaxButtons, SystemNameCodePage());
    return true;
}

bool ExportFile(HWND owner, const std::wstring& path, const std::vector<KeyListRow>& rows) {
    const std::string ansi = AnsiPath(path);
    const wchar_t* problem = nullptr;
    if (ansi.empty())
        problem = dialog_texts::kPathNotAnsi;
    else if (!ExportRemoteFile(Win32FileSystem(), ansi, rows))
        problem = dialog_texts::kExportFailed;
    if (!problem)
        return true;
    ShowFileOperationBox(owner, FillIn(problem, {path}), dialog_texts::kExportBoxTitle, true);
    return false;
}

void ShowFileOperationBox(HWND owner, const std::wstring& text, const wchar_t* title, bool failed) {
    MessageBoxW(owner, text.c_str(), title, MB_OK | (failed ? MB_ICONERROR : MB_ICONINFORMATION));
}

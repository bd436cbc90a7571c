#pragma once
// The file group of the learning page as logic: importing a capture file into the key list
// (which remote the buttons go under, which rows, what the user is told) and exporting one
// remote (which rows, which file name). The Win32 side only opens the file dialogs and shows the
// box.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "capture_import/capture_reader.h"
#include "capture_import/import_rows.h"
#include "config/file_system.h"
#include "config/key_table.h"
#include "config/settings.h"
#include "setup_dialog/import_target.h"
#include "setup_dialog/show_bytes.h"

// The most buttons one import reads. A remote has tens, a file of a whole collection some
// thousands; the bound keeps a wrong choice (a huge file) from filling the host's memory.
constexpr size_t kImportMaxButtons = 5000;
// The most left-out buttons the summary names one by one; the others are counted.
constexpr size_t kSummaryNamedButtons = 10;
// Names and reasons longer than this are cut in the summary (only there).
constexpr size_t kSummaryTextChars = 80;

// text with %1, %2 ... replaced by the values, in one pass (a value holding "%2" stays as it is).
std::wstring FillIn(std::wstring_view text, const std::vector<std::wstring>& values);

// What the receiver page's settings make of imported buttons: the model (one the receiver does
// not know as model 0, as the receiver reads it), the time unit, the buffer size, and codes or
// raw patterns.
ImportSettings ImportSettingsOf(const SettingsValues& settings);

// True when the two remote names are saved into one file (RemoteFileName, letter case aside).
bool SameRemoteFile(std::string_view a, std::string_view b);

// The box's text when what was read from the file (shownPath) gives nothing to import; "" when it
// has buttons.
std::wstring NothingToImport(const CaptureText& read, std::wstring_view shownPath);

struct ImportOutcome {
    std::vector<KeyListRow> rows; // to append to the list
    std::wstring message;         // the summary box's text
};

// Every button of what was read, converted with settings, under the remotes chosen for the file's
// lines, for the list that holds listRows now. A code (or raw pattern) that a row of the target
// remote already has is not added again; the message says, remote by remote, how many were added,
// names the first left out with the reason, tells of codes that another remote has too (only one
// of the two keys is ever reported), and how to take the import back.
ImportOutcome ImportButtons(const CaptureText& read, const ImportChoice& choice,
                            const ImportSettings& settings, const std::vector<KeyListRow>& listRows,
                            ShowBytes show);

// The rows of the remote, in list order: every row saved into the same file.
std::vector<KeyListRow> RemoteRows(const std::vector<KeyListRow>& rows, std::string_view remote);
// The name an export of the remote suggests: its own file's name.
std::string ExportFileName(std::string_view remote, LeadByteTest isLeadByte = nullptr);

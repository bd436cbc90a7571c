#include "setup_dialog/file_operations.h"

#include <unordered_map>

#include "config/ascii_text.h"
#include "config/remote_files.h"
#include "decoding/raw_signature.h"
#include "receiver/sample_conversion.h"
#include "setup_dialog/dialog_texts.h"

namespace {

using Fate = ButtonOutcome::Fate;

// A text of the summary, cut where a long one would make the box grow past the screen.
std::wstring Shown(std::string_view bytes, ShowBytes show) {
    std::wstring text = show(bytes);
    if (text.size() > kSummaryTextChars) {
        text.resize(kSummaryTextChars - 1);
        text += L'…';
    }
    return text;
}

std::wstring Count(size_t n) {
    return std::to_wstring(n);
}

std::wstring ReasonText(const ButtonOutcome& outcome, bool rawMode, ShowBytes show) {
    using namespace dialog_texts;
    switch (outcome.fate) {
    case Fate::Unreadable:
        return FillIn(kReasonSkipped, {Shown(outcome.detail, show)});
    case Fate::SameCode:
        return FillIn(outcome.ownerInRemote ? kReasonCodeInRemote : kReasonCodeInFile,
                      {Shown(outcome.owner, show)});
    case Fate::SamePattern:
        return FillIn(outcome.ownerInRemote ? kReasonPatternInRemote : kReasonPatternInFile,
                      {Shown(outcome.owner, show)});
    case Fate::NoCodeNorRaw:
    case Fate::Added:
        break;
    }
    return rawMode ? kReasonNoPattern : kReasonNoCode;
}

// A row of another remote that gives the same key as row: the plug-in reports only the first of
// the two it finds. Codes compare as the key table compares them, patterns as the raw matcher.
class OtherRemotes {
  public:
    OtherRemotes(const std::vector<KeyListRow>& rows, std::string_view remote) {
        for (const KeyListRow& row : rows) {
            if (SameRemoteFile(row.remoteName, remote))
                continue;
            if (!row.codeText.empty())
                byCode_.emplace(AsciiUpperCopy(row.codeText), &row);
            if (!row.rawText.empty())
                withPattern_.push_back(&row);
        }
    }

    const KeyListRow* Sharing(const KeyListRow& row) const {
        if (!row.codeText.empty()) {
            const auto found = byCode_.find(AsciiUpperCopy(row.codeText));
            if (found != byCode_.end())
                return found->second;
        }
        if (!row.rawText.empty()) {
            for (const KeyListRow* other : withPattern_)
                if (SameRawSignature(other->rawText.c_str(), row.rawText.c_str()))
                    return other;
        }
        return nullptr;
    }

  private:
    std::unordered_map<std::string, const KeyListRow*> byCode_;
    std::vector<const KeyListRow*> withPattern_;
};

// The buttons of the file's line-th remote. A file gives one remote today: all its buttons.
const std::vector<ImportedButton> kNoButtons;
const std::vector<ImportedButton>& LineButtons(const CaptureText& read, size_t line) {
    return line == 0 ? read.buttons : kNoButtons;
}

// What became of the buttons that went to one remote; note follows the first line.
std::wstring RemoteSummary(const std::string& remote, const ImportRows& converted, const std::wstring& note,
                           bool rawMode, ShowBytes show) {
    using namespace dialog_texts;
    std::wstring text = FillIn(kImportAdded, {Shown(remote, show), Count(converted.rows.size())});
    if (!note.empty())
        text += L"\n" + note;
    std::vector<const ButtonOutcome*> leftOut;
    for (const ButtonOutcome& outcome : converted.outcomes)
        if (outcome.fate != Fate::Added)
            leftOut.push_back(&outcome);
    if (!leftOut.empty()) {
        text += L"\n\n" + FillIn(kImportLeftOut, {Count(leftOut.size())});
        for (size_t i = 0; i < leftOut.size() && i < kSummaryNamedButtons; ++i)
            text += L"\n" + FillIn(kImportLeftOutButton,
                                   {Shown(leftOut[i]->button, show), ReasonText(*leftOut[i], rawMode, show)});
        if (leftOut.size() > kSummaryNamedButtons)
            text += L"\n" + FillIn(kImportAndMore, {Count(leftOut.size() - kSummaryNamedButtons)});
    }
    return text;
}

// Added codes that another remote of the list gives too: the plug-in reports only one of the two.
std::wstring SharedCodes(const ImportChoice& choice, const std::vector<KeyListRow>& added,
                         const std::vector<KeyListRow>& listRows, ShowBytes show) {
    size_t shared = 0;
    const KeyListRow* example = nullptr;
    const KeyListRow* exampleOther = nullptr;
    for (const ImportTargetLine& line : choice.lines) {
        const OtherRemotes others(listRows, line.target);
        for (const KeyListRow& row : added) {
            if (row.remoteName != line.target)
                continue;
            if (const KeyListRow* other = others.Sharing(row)) {
                if (shared++ == 0) {
                    example = &row;
                    exampleOther = other;
                }
            }
        }
    }
    if (shared == 0)
        return {};
    return L"\n\n" + FillIn(dialog_texts::kImportShared, {Count(shared), Shown(example->keyName, show),
                                                          Shown(exampleOther->remoteName, show)});
}

} // namespace

std::wstring FillIn(std::wstring_view text, const std::vector<std::wstring>& values) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t next = i + 1 < text.size() ? text[i + 1] : L'\0';
        const size_t n = next >= L'1' && next <= L'9' ? static_cast<size_t>(next - L'1') : values.size();
        if (text[i] == L'%' && n < values.size()) {
            out += values[n];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

ImportSettings ImportSettingsOf(const SettingsValues& settings) {
    ImportSettings import;
    const bool known = settings.Mode == ModelTwoByte || settings.Mode == ModelThreeHeader;
    import.model = known ? settings.Mode : static_cast<int>(ModelOriginal);
    import.scaler = settings.Scaler;
    import.bufferSize = settings.BufferSize;
    import.rawMode = settings.RawMode;
    return import;
}

bool SameRemoteFile(std::string_view a, std::string_view b) {
    return SameIgnoringAsciiCase(RemoteFileName("", a), RemoteFileName("", b));
}

std::wstring NothingToImport(const CaptureText& read, std::wstring_view shownPath) {
    if (!read.buttons.empty())
        return {};
    return FillIn(dialog_texts::kImportNoButtons, {std::wstring(shownPath)});
}

ImportOutcome ImportButtons(const CaptureText& read, const ImportChoice& choice,
                            const ImportSettings& settings, const std::vector<KeyListRow>& listRows,
                            ShowBytes show) {
    ImportOutcome outcome;
    for (size_t line = 0; line < choice.lines.size(); ++line) {
        const std::string& remote = choice.lines[line].target;
        // The remote's rows as its file will hold them, whatever the spelling of its name in the
        // list, with the rows an earlier line of this import gave it; codes as the key table
        // compares them.
        std::vector<KeyListRow> remoteRows = RemoteRows(listRows, remote);
        for (const KeyListRow& row : RemoteRows(outcome.rows, remote))
            remoteRows.push_back(row);
        for (KeyListRow& row : remoteRows) {
            row.remoteName = remote;
            row.codeText = AsciiUpperCopy(row.codeText);
        }
        ImportRows converted = ConvertButtons(LineButtons(read, line), remote, settings, remoteRows);
        if (!outcome.message.empty())
            outcome.message += L"\n\n";
        // The file read only in part is told once, with the first remote.
        const std::wstring note = line == 0 && read.truncated
                                      ? FillIn(dialog_texts::kImportTruncated, {Count(read.buttons.size())})
                                      : std::wstring();
        outcome.message += RemoteSummary(remote, converted, note, settings.rawMode, show);
        for (KeyListRow& row : converted.rows)
            outcome.rows.push_back(std::move(row));
    }
    outcome.message += SharedCodes(choice, outcome.rows, listRows, show);
    if (!outcome.rows.empty())
        outcome.message += L"\n\n" + std::wstring(dialog_texts::kImportUndoHint);
    return outcome;
}

std::vector<KeyListRow> RemoteRows(const std::vector<KeyListRow>& rows, std::string_view remote) {
    std::vector<KeyListRow> found;
    for (const KeyListRow& row : rows)
        if (SameRemoteFile(row.remoteName, remote))
            found.push_back(row);
    return found;
}

std::string ExportFileName(std::string_view remote, LeadByteTest isLeadByte) {
    return RemoteFileName("", remote, isLeadByte);
}

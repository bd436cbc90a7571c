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

std::wstring Summary(const std::string& remote, const ImportRows& converted, const CaptureText& read,
                     const std::vector<KeyListRow>& listRows, bool rawMode, ShowBytes show) {
    using namespace dialog_texts;
    std::wstring text = FillIn(kImportAdded, {Shown(remote, show), Count(converted.rows.size())});
    if (read.truncated)
        text += L"\n" + FillIn(kImportTruncated, {Count(read.buttons.size())});

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

    const OtherRemotes others(listRows, remote);
    size_t shared = 0;
    const KeyListRow* example = nullptr;
    const KeyListRow* exampleOther = nullptr;
    for (const KeyListRow& row : converted.rows) {
        if (const KeyListRow* other = others.Sharing(row)) {
            if (shared++ == 0) {
                example = &row;
                exampleOther = other;
            }
        }
    }
    if (shared > 0)
        text += L"\n\n" + FillIn(kImportShared, {Count(shared), Shown(example->keyName, show),
                                                 Shown(exampleOther->remoteName, show)});
    return text;
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

std::string ImportTarget(std::string_view remoteBox, const std::string& path, const CaptureText& read) {
    if (!TrimBlanks(remoteBox).empty() && remoteBox != dialog_texts::kUndefinedRemote)
        return std::string(remoteBox);
    const std::string named = ImportRemoteName(path, read);
    return TrimBlanks(named).empty() ? std::string(kUnknownRemoteName) : named;
}

ImportOutcome ImportButtons(const CaptureText& read, const std::string& path, std::string_view remoteBox,
                            const ImportSettings& settings, const std::vector<KeyListRow>& listRows,
                            ShowBytes show) {
    ImportOutcome outcome;
    if (read.buttons.empty()) {
        outcome.failed = true;
        outcome.message = FillIn(dialog_texts::kImportNoButtons, {show(path)});
        return outcome;
    }
    outcome.remote = ImportTarget(remoteBox, path, read);
    // The remote's rows as its file will hold them, whatever the spelling of its name in the
    // list; codes as the key table compares them.
    std::vector<KeyListRow> remoteRows = RemoteRows(listRows, outcome.remote);
    for (KeyListRow& row : remoteRows) {
        row.remoteName = outcome.remote;
        row.codeText = AsciiUpperCopy(row.codeText);
    }
    ImportRows converted = ConvertButtons(read.buttons, outcome.remote, settings, remoteRows);
    outcome.message = Summary(outcome.remote, converted, read, listRows, settings.rawMode, show);
    outcome.rows = std::move(converted.rows);
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

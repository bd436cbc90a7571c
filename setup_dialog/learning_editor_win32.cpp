// The learning page's button editor: the code box and the remote-name box, and the two buttons
// that turn them into rows, Add and Replace.
#include "setup_dialog/learning_page_win32.h"

#include "setup_dialog/dialog_texts.h"
#include "setup_dialog/setup_form_ids.h"

bool LearningPage::TypingInBox() const {
    HWND focus = GetFocus();
    HWND remote = remoteEdit_.Handle();
    return focus && (focus == codeEdit_.Handle() || focus == remote || IsChild(remote, focus));
}

void LearningPage::SetRemote(const std::string& bytes) {
    settingRemote_ = true;
    remoteEdit_.SetBytes(bytes);
    settingRemote_ = false;
    remoteTyped_ = false;
}

bool LearningPage::CodeAccepted(const std::string& code, bool rawMode, const wchar_t* refusedTitle) {
    const CodeProblem problem = CheckCodeText(code, rawMode);
    if (problem == CodeProblem::None)
        return true;
    balloon_.ShowAt(codeEdit_.Handle(), refusedTitle,
                    problem == CodeProblem::Empty ? dialog_texts::kCodeEmpty : dialog_texts::kCodeNotStorable,
                    true);
    return false;
}

void LearningPage::AddCurrentKeyClick(bool rawMode) {
    const std::string code = codeEdit_.Bytes();
    if (!CodeAccepted(code, rawMode, dialog_texts::kAddRefused))
        return;
    KeyListRow row{"<new key>", remoteEdit_.Bytes(), rawMode ? std::string() : code,
                   rawMode ? code : std::string()};
    const int index = AppendRows({std::move(row)}, ListCommand::Add);
    SetFocus(list_);
    SendMessageW(list_, LVM_EDITLABELW, static_cast<WPARAM>(index), 0);
}

void LearningPage::ReplaceButtonClick(RowId id, bool rawMode, KeyCode* lastCode) {
    const int index = rows_.IndexOf(id);
    if (index < 0)
        return;
    const std::string code = codeEdit_.Bytes();
    if (!CodeAccepted(code, rawMode, dialog_texts::kReplaceRefused))
        return;
    KeyListRow row = rows_[index];
    row.remoteName = remoteEdit_.Bytes();
    (rawMode ? row.rawText : row.codeText) = code;
    history_.Change(rows_, index, std::move(row), ListCommand::Replace);
    modified_ = true;
    SendMessageW(list_, LVM_REDRAWITEMS, static_cast<WPARAM>(index), index);
    // The same code again is shown again.
    if (lastCode)
        *lastCode = 0;
}

void LearningPage::RemoteBoxCommand(int code) {
    if (code == CBN_EDITCHANGE && !settingRemote_)
        remoteTyped_ = true;
    // Shown as the code page will store it, once the user has left the box.
    if (code == CBN_KILLFOCUS) {
        settingRemote_ = true;
        remoteEdit_.SetBytes(remoteEdit_.Bytes());
        settingRemote_ = false;
    }
}

bool LearningPage::IsPageButton(HWND window) const {
    for (int id : {IDC_ADDBUTTON, IDC_REPLACEBUTTON, IDC_IMPORTBTN, IDC_EXPORTBTN})
        if (window && window == Item(id))
            return true;
    return false;
}

#pragma once
// Works the configuration dialog as a person does, from a thread other than the dialog's: clicks,
// typing, arrow steps, page switches, and reading back texts. Every input is posted to the
// dialog's thread; Sync() waits until that thread has handled everything posted before it.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

// The first visible top-level window of this process with the class name, and with the owner
// when one is given; null when there is none.
HWND FindProcessWindow(const wchar_t* className, HWND owner = nullptr);
// A standard file dialog, which is a top-level dialog like a message box, but with combo boxes.
bool IsFileDialog(HWND dialog);

class DialogDriver {
  public:
    DialogDriver(HWND form, HWND syncWindow);

    HWND Form() const { return form_; }
    HWND Container() const { return container_; }
    HWND Control(int id) const;

    std::wstring Text(int id) const;
    std::wstring Caption(HWND window) const;
    std::wstring Panel(int panel) const;
    // The one text across the whole status bar while it shows one instead of the panels; empty
    // while the panels show.
    std::wstring Notice() const;
    std::wstring PageCaption(int page) const;
    int CurrentPage() const;
    bool Checked(int id) const;
    bool Enabled(int id) const;
    bool Visible(int id) const;
    HWND Focus() const;

    void Click(int id);
    void SelectPage(int page);
    void FocusControl(int id);
    // Replaces the text of an edit box by typing, as WM_CHAR messages after selecting all.
    void Type(int id, const std::wstring& text);
    void Key(HWND target, UINT virtualKey);
    // Alt with a letter, as it reaches the dialog: the character the keyboard gives, to the focus.
    void AltKey(wchar_t letter);
    // Keys pressed together through the system's input, as a person presses them: each held
    // while the next goes down, then all let go. The input goes to the window in front.
    void Chord(std::initializer_list<WORD> keys);
    // The in-place editor of a key name while it is open, else null.
    HWND CaptionEditor() const;
    // Types into the caption editor once it is open, leaving the edit open; the editor, or null
    // when none opened.
    HWND TypeCaption(const std::wstring& text);
    // Types into the open caption editor and presses Enter (or Esc to cancel).
    void EditCaption(const std::wstring& text, bool accept = true);
    // Replaces the remote-name box's text by typing into its edit field.
    void TypeRemote(const std::wstring& text);
    int ListCount() const;
    int SelectedRow() const;
    // The row with the list's focus rectangle, -1 for none.
    int FocusedRow() const;
    // Letters typed into the list in quick succession (its type-ahead).
    void TypeInList(const std::wstring& letters);
    std::wstring Cell(int row, int column) const;
    // Right-clicks row (or, for -1, presses the context-menu key in the list) and picks item n of
    // the pop-up menu (0-based, the separators not counted). A menu that does not open fails the
    // test.
    void PickMenuItem(int item, int row);
    // The two halves of it: the open menu (null, and a failure, when none opened), and a choice.
    HWND OpenMenu(int row);
    void ChooseMenuItem(HWND menu, int item);
    // Clicks the button that opens a file dialog, types path into the dialog's file name box and
    // presses its OK button; a dialog that does not open or does not close fails the test.
    bool ChooseFile(int buttonId, const std::wstring& path);
    // The prompt that asks where an import goes, once it is open (null, and a failure, when none
    // opens); the remotes its box offers; typing a name into that box; "Импортировать" or Отмена.
    HWND ImportPrompt();
    std::vector<std::wstring> PromptRemotes(HWND prompt) const;
    void TypeTarget(HWND prompt, const std::wstring& text);
    void AnswerPrompt(HWND prompt, bool import);
    // The texts of the pop-up menu's items, separators left out, " (off)" after a disabled one;
    // closing it with Esc.
    std::vector<std::wstring> MenuItems(HWND menu) const;
    void CloseMenu(HWND menu);
    // The text of the balloon the dialog shows now; empty when none is shown.
    std::wstring Balloon() const;
    void SelectRow(int row);
    // One arrow step of an up-down through its buddy (VK_UP / VK_DOWN).
    void Step(int buddyId, bool up);
    // Waits until the dialog's thread has handled everything posted so far, and with paint, has
    // also drawn every part of the dialog that waits for a repaint. A failure of the test when
    // the thread does not answer.
    bool Sync(bool paint = false);
    // Polls until cond holds or ms pass; the result of the last check.
    template <typename Cond> bool WaitFor(Cond cond, unsigned ms = 5000) {
        for (unsigned waited = 0; !cond(); waited += 10) {
            if (waited >= ms)
                return false;
            Sleep(10);
        }
        return true;
    }

  private:
    HWND form_;
    HWND container_ = nullptr;
    HWND sync_;
};

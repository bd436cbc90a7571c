#pragma once
// Page "Настройка пульта": the code box, the remote-name box, the buttons and the key list. The
// list view is virtual: it shows the row model as it stands and holds no texts of its own, so a
// fill or a re-sort of thousands of rows costs no more than the rows on screen. The remote-file
// writer reads the model.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "decoding/key_code.h"
#include "setup_dialog/ansi_text_win32.h"
#include "setup_dialog/balloon_win32.h"
#include "setup_dialog/key_rows.h"
#include "setup_dialog/list_history.h"

class LearningPage {
  public:
    void Attach(HWND container, const DpiScale& px);
    void Layout(const RECT& page);
    void SetVisible(bool visible);

    // Fills the list from the key table, sorted.
    void FillList();
    // Appends rows at the end of the list as one command of the user's (Add: a new key; Import: the
    // keys of a remote read from a file), counts as a change and selects the first of them; its
    // index, -1 for no rows.
    int AppendRows(std::vector<KeyListRow> rows, ListCommand command);
    // False when the list cannot be saved (no key table: Setup after the host closed the
    // plug-in): its commands are disabled, so no work is done that would be lost.
    void SetListSaved(bool saved);
    // The rows as the writer takes them, in list order.
    const KeyRows& Rows() const { return rows_; }
    // True once the user changed the list. An untouched list is not written back: the writer
    // takes rows in sorted order, which would reorder the entries of every file.
    bool Modified() const { return modified_; }

    AnsiTextBox& CodeEdit() { return codeEdit_; }
    AnsiTextBox& RemoteEdit() { return remoteEdit_; }

    // Step 5 of a received code: selects the first row with this code (code mode) or this raw
    // signature (raw mode) and scrolls it into view; no match clears the selection. The focus
    // moves to the list only when the user is not typing in the code or remote-name box, and a
    // remote name the user has typed stays. Nothing happens while a key name is being edited or
    // the pop-up menu is open (the row they were opened for stays the selected one), nor while a
    // file dialog or its box is open.
    void FindListItem(bool rawMode, const std::string& codeText, const char* rawSignatureText);

    // What the user has done, into the model, before anything is saved: an open key-name editor
    // is accepted as Enter would accept it, and a pending re-sort is done. detach: the windows
    // are about to go; the boxes keep their last texts for the save.
    void TakeIntoModel(bool detach);

    // rawMode and lastCode: the current mode, and the form's LastCode that Replace clears.
    bool OnCommand(int id, int code, bool rawMode, KeyCode* lastCode);
    bool OnNotify(NMHDR& header, LRESULT* result);
    // WM_CONTEXTMENU of the list: the pop-up menu at the mouse, or at the selected row.
    bool OnContextMenu(HWND window, LPARAM position);
    // Keys of the list that a dialog would take for itself or that the list does not know: the
    // context-menu key and Shift+F10 (the pop-up menu), F2 (rename), Del (remove), Enter (the
    // menu's "Редактировать") and Ctrl+Z (the last command on the list taken back, also from the
    // page's buttons). True when taken.
    bool TakeListKey(const MSG& message);
    // The page's own posted messages and timers.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool rawMode, KeyCode* lastCode);

  private:
    HWND Item(int id) const { return GetDlgItem(container_, id); }
    // Sets the item count, selects select (or nothing) and repaints.
    void ShowRows(int select);
    void ShowCell(NMLVDISPINFOW& info);
    // LVN_ODFINDITEM: the row the list's type-ahead goes to, -1 for none.
    int FindItem(const NMLVFINDITEMW& find) const;
    // The list got the focus: with no row focused the first one shows the focus rectangle, so
    // the keyboard starts somewhere.
    void FocusFirstRowIfNone();
    int SelectedRow() const;
    RowId SelectedId() const { return rows_.IdAt(SelectedRow()); }
    void SelectRow(int row);
    HWND Editor() const;
    // One of the page's push buttons (Add, Replace, Import, Export).
    bool IsPageButton(HWND window) const;
    bool TypingInBox() const;
    void SetRemote(const std::string& bytes);
    // A notification of the remote-name box: typed, or left.
    void RemoteBoxCommand(int code);
    bool CodeAccepted(const std::string& code, bool rawMode, const wchar_t* refusedTitle);
    void RunCommand(int id, RowId row, bool rawMode, KeyCode* lastCode);
    void RequestResort();
    void Resort();
    // A name accepted a moment ago takes its place first (not under an open editor); then where
    // the row stands, -1 when it has gone.
    int IndexAfterResort(RowId id);
    // True (and the minimum set soon after) for a column width below the column's minimum.
    bool KeepColumnWidth(const NMHEADERW& header);
    static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR page);

    // The file group: a remote read from a file into the list, or one remote written to a file.
    void ImportBtnClick();
    // Reads the file, asks where its buttons go, adds them and sums up.
    void ImportFromFile(HWND form, const std::wstring& path);
    void ExportBtnClick(RowId row);
    void AddCurrentKeyClick(bool rawMode);
    void ReplaceButtonClick(RowId row, bool rawMode, KeyCode* lastCode);
    void RemoveKeyClick(RowId row);
    void UndoClick();
    // The undo item's text: what it takes back.
    std::wstring UndoMenuText() const;
    void RenameKeyClick(RowId row);
    void ListViewDblClick(RowId row);
    void ListViewChange();
    void ListViewEdited(RowId row, const wchar_t* text);

    HWND container_ = nullptr;
    HWND list_ = nullptr;
    HWND tips_ = nullptr;
    DpiScale px_{96};
    KeyRows rows_;
    ListHistory history_; // the user's commands on rows_, for Ctrl+Z
    bool listSaved_ = true;
    bool modified_ = false;
    bool resortPending_ = false; // a name was accepted; the re-sort is posted
    RowId editingRow_ = kNoRow;  // the row whose name the open editor holds
    RowId warnRow_ = kNoRow;     // its accepted name is its remote's twice: say so once sorted
    bool menuOpen_ = false;      // the pop-up menu is open for the selected row
    bool fileBoxOpen_ = false;   // a file dialog, or the box after it, is open over the page
    bool keepRemote_ = false;    // a selection by the page itself leaves the remote-name box
    bool remoteTyped_ = false;   // the user changed the remote name since the page last set it
    bool settingRemote_ = false; // the page is setting the remote name
    std::wstring cellText_;      // the text of the cell last shown
    AnsiTextBox codeEdit_;
    AnsiTextBox remoteEdit_;
    Balloon balloon_;
};

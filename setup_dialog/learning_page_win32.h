#pragma once
// Page "Настройка пульта": the code box, the remote-name box, the buttons and the key list. The
// list view only displays the row model; the remote-file writer reads the model.
#include <windows.h>

#include <string>

#include "decoding/key_code.h"
#include "setup_dialog/ansi_text_win32.h"
#include "setup_dialog/key_rows.h"

class LearningPage {
  public:
    void Attach(HWND container, const DpiScale& px);
    void Layout(const RECT& page);
    void SetVisible(bool visible);

    // Fills the list from the key table, sorted.
    void FillList();
    // The rows as the writer takes them, in list order.
    const KeyRows& Rows() const { return rows_; }
    // True once the user changed the list. An untouched list is not written back: the writer
    // takes rows in sorted order, which would reorder the entries of every file.
    bool Modified() const { return modified_; }

    AnsiTextBox& CodeEdit() { return codeEdit_; }
    AnsiTextBox& RemoteEdit() { return remoteEdit_; }

    // Step 5 of a received code: selects the first row with this code (code mode) or this raw
    // signature (raw mode), gives the list the focus and scrolls it into view; no match clears
    // the selection. Nothing happens while a key name is being edited, so a stray remote press
    // never commits half a name.
    void FindListItem(bool rawMode, const std::string& codeText, const char* rawSignatureText);

    // rawMode and lastCode: the current mode, and the form's LastCode that Replace clears.
    bool OnCommand(int id, int code, bool rawMode, KeyCode* lastCode);
    bool OnNotify(const NMHDR& header, LRESULT* result);
    // WM_CONTEXTMENU of the list: the pop-up menu at the mouse, or at the selected row.
    bool OnContextMenu(HWND window, LPARAM position);
    // The context-menu key and Shift+F10 in the list open the pop-up menu at the selected row
    // (not every system's list view does that by itself). True when the message was taken.
    bool TakeContextMenuKey(const MSG& message);
    // The deferred re-sort after an accepted key name (see OnNotify).
    bool OnResort(UINT message);

  private:
    HWND Item(int id) const { return GetDlgItem(container_, id); }
    void ShowRows();
    void ShowRow(int row, bool insert);
    void SetCell(int row, int column, const std::string& bytes, bool insert);
    int SelectedRow() const;
    void SelectRow(int row);
    bool Editing() const;

    void AddCurrentKeyClick(bool rawMode);
    void ReplaceButtonClick(bool rawMode, KeyCode* lastCode);
    void RemoveKeyClick();
    void RenameKeyClick();
    void ListViewDblClick();
    void ListViewChange();
    void ListViewEdited(int row, const wchar_t* text);

    HWND container_ = nullptr;
    HWND list_ = nullptr;
    HWND tips_ = nullptr;
    DpiScale px_{96};
    KeyRows rows_;
    bool modified_ = false;
    int resortRow_ = -1; // the row whose new name waits for the re-sort
    AnsiTextBox codeEdit_;
    AnsiTextBox remoteEdit_;
};

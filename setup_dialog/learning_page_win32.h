#pragma once
// Page "Настройка пульта": the code box, the remote-name box, the buttons and the key list. The
// list view only displays the row model; the remote-file writer reads the model.
#include <windows.h>

#include <string>

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

    bool OnCommand(int id, int code);
    bool OnNotify(const NMHDR& header, LRESULT* result);

  private:
    HWND Item(int id) const { return GetDlgItem(container_, id); }
    void ShowRows();
    void SetCell(int row, int column, const std::string& bytes, bool insert);

    HWND container_ = nullptr;
    HWND list_ = nullptr;
    HWND tips_ = nullptr;
    DpiScale px_{96};
    KeyRows rows_;
    bool modified_ = false;
    AnsiTextBox codeEdit_;
    AnsiTextBox remoteEdit_;
};

#pragma once
// Page "Настройка приёмника": receiver model, buffer size, polling frequency, time unit, the
// three waits, raw mode and the LED scheme. Every change goes into Settings at once, so the
// worker threads use it from their next poll.
#include <windows.h>

#include <cstdint>

#include "decoding/key_code.h"
#include "setup_dialog/ansi_text_win32.h"

class ReceiverPage {
  public:
    // lastCode: the form's LastCode, cleared when raw mode is switched.
    void Attach(HWND container, const DpiScale& px, KeyCode* lastCode);
    void Layout(const RECT& page);
    void SetVisible(bool visible);
    // Copies Settings into the controls without applying model defaults.
    void Fill();
    // While true, the click and step handlers do nothing (the controls are being filled).
    void SetFilling(bool filling) { filling_ = filling; }

    bool OnCommand(int id, int code);
    bool OnNotify(const NMHDR& header, LRESULT* result);
    // Runs the buffer box's exit handler when it has the focus, before the dialog saves.
    void CommitFocusedBox();

  private:
    HWND Item(int id) const { return GetDlgItem(container_, id); }
    void ModeGroupClick(int index);
    void SelectScalerButton(int button);
    void KeepTabStopsOnCheckedButtons();
    void SetSpin(int spinId, int editId, int32_t position);
    void Edit_BufSizeExit();
    void Edit_PollFreqExit();

    HWND container_ = nullptr;
    DpiScale px_{96};
    KeyCode* lastCode_ = nullptr;
    bool filling_ = false;
};

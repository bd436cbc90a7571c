#include "setup_dialog/receiver_page_win32.h"

#include <commctrl.h>

#include <iterator>
#include <string>

#include "config/settings.h"
#include "setup_dialog/receiver_page_logic.h"
#include "setup_dialog/setup_form_ids.h"

namespace {

const int kPageControls[] = {
    IDC_MODEGROUP,      IDC_MODE_0,          IDC_MODE_1,         IDC_MODE_2,     IDC_TUNEGROUP,
    IDC_LABEL7,         IDC_EDIT_BUFSIZE,    IDC_UPDOWN_BUFSIZE, IDC_LABEL2,     IDC_LABEL9,
    IDC_EDIT_POLLFREQ,  IDC_UPDOWN_POLLFREQ, IDC_LABEL12,        IDC_LABEL1,     IDC_RADIO_SCALER_1,
    IDC_RADIO_SCALER_2, IDC_TIMEGROUP,       IDC_LABEL4,         IDC_EDIT2,      IDC_WAIT1UPDOWN,
    IDC_LABEL5,         IDC_EDIT3,           IDC_WAITNUPDOWN,    IDC_LABEL6,     IDC_EDIT4,
    IDC_WAITRUPDOWN,    IDC_DECODEGROUP,     IDC_RAWBOX,         IDC_CHB_COMPAT, IDC_LEDGROUP,
    IDC_LED_0,          IDC_LED_1,           IDC_LED_2,          IDC_LED_3,
};

struct Spin {
    int spin;
    int edit;
    SpinRange range;
};
const Spin kSpins[] = {
    {IDC_UPDOWN_BUFSIZE, IDC_EDIT_BUFSIZE, kBufferSizeRange},
    {IDC_UPDOWN_POLLFREQ, IDC_EDIT_POLLFREQ, kPollFreqRange},
    {IDC_WAIT1UPDOWN, IDC_EDIT2, kWaitRange},
    {IDC_WAITNUPDOWN, IDC_EDIT3, kWaitRange},
    {IDC_WAITRUPDOWN, IDC_EDIT4, kWaitRange},
};

// Ids of each radio group's buttons, first to last.
struct RadioGroup {
    int first;
    int last;
};
const RadioGroup kRadioGroups[] = {
    {IDC_MODE_0, IDC_MODE_2}, {IDC_RADIO_SCALER_1, IDC_RADIO_SCALER_2}, {IDC_LED_0, IDC_LED_3}};

const Spin* SpinOf(int spinId) {
    for (const Spin& spin : kSpins)
        if (spin.spin == spinId)
            return &spin;
    return nullptr;
}

std::string AsciiText(HWND box) {
    char buffer[64] = "";
    GetWindowTextA(box, buffer, static_cast<int>(std::size(buffer)));
    return buffer;
}

} // namespace

void ReceiverPage::Attach(HWND container, const DpiScale& px, KeyCode* lastCode) {
    container_ = container;
    px_ = px;
    lastCode_ = lastCode;
    for (const Spin& spin : kSpins) {
        HWND control = Item(spin.spin);
        SendMessageW(control, UDM_SETRANGE32, static_cast<WPARAM>(spin.range.min), spin.range.max);
        UDACCEL accel{0, static_cast<UINT>(spin.range.step)};
        SendMessageW(control, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
        SendMessageW(Item(spin.edit), EM_LIMITTEXT, 11, 0);
    }
    // Start values of the layout; FormShow replaces them.
    SetSpin(IDC_UPDOWN_BUFSIZE, IDC_EDIT_BUFSIZE, 11);
    SetSpin(IDC_UPDOWN_POLLFREQ, IDC_EDIT_POLLFREQ, 5);
    SetSpin(IDC_WAIT1UPDOWN, IDC_EDIT2, 300);
    SetSpin(IDC_WAITNUPDOWN, IDC_EDIT3, 100);
    SetSpin(IDC_WAITRUPDOWN, IDC_EDIT4, 200);
    CheckDlgButton(container_, IDC_RADIO_SCALER_1, BST_CHECKED);
    CheckDlgButton(container_, IDC_CHB_COMPAT, BST_CHECKED);
    KeepTabStopsOnCheckedButtons();
}

void ReceiverPage::KeepTabStopsOnCheckedButtons() {
    // The keyboard enters a radio group at its one button with WS_TABSTOP, by Tab and by the
    // accelerator of the group's label. The system's radio buttons move it to the checked one,
    // and off them all when none is checked (a stored model or time unit no button stands for):
    // the group could then not be reached from the keyboard. The first button keeps it then.
    for (const RadioGroup& group : kRadioGroups) {
        int stop = group.first;
        for (int id = group.first; id <= group.last; ++id)
            if (IsDlgButtonChecked(container_, id) == BST_CHECKED)
                stop = id;
        for (int id = group.first; id <= group.last; ++id) {
            HWND button = Item(id);
            const LONG style = GetWindowLongW(button, GWL_STYLE);
            const LONG wanted = id == stop ? style | WS_TABSTOP : style & ~WS_TABSTOP;
            if (wanted != style)
                SetWindowLongW(button, GWL_STYLE, wanted);
        }
    }
}

void ReceiverPage::Layout(const RECT& page) {
    const POINT o{page.left, page.top};
    const int pageWidth = MulDiv(page.right - page.left, 96, px_.Dpi());
    auto place = [&](int id, int x, int y, int w, int h) { PlaceControl(Item(id), px_, o, x, y, w, h); };
    auto placeSpin = [&](int editId, int spinId, int x, int y, int w) {
        // The arrow control sits inside the width given and narrows its buddy when re-attached.
        place(editId, x, y, w, 21);
        SendMessageW(Item(spinId), UDM_SETBUDDY, reinterpret_cast<WPARAM>(Item(editId)), 0);
    };

    place(IDC_MODEGROUP, 6, 4, 200, 92);
    for (int i = 0; i < 3; ++i)
        place(IDC_MODE_0 + i, 18, 24 + 22 * i, 182, 18);

    place(IDC_TUNEGROUP, 212, 4, 196, 132);
    place(IDC_LABEL7, 222, 28, 96, 14);
    placeSpin(IDC_EDIT_BUFSIZE, IDC_UPDOWN_BUFSIZE, 320, 24, 54);
    place(IDC_LABEL2, 378, 28, 28, 14);
    place(IDC_LABEL9, 222, 56, 96, 14);
    placeSpin(IDC_EDIT_POLLFREQ, IDC_UPDOWN_POLLFREQ, 320, 52, 54);
    place(IDC_LABEL12, 378, 56, 28, 14);
    place(IDC_LABEL1, 222, 86, 96, 14);
    place(IDC_RADIO_SCALER_1, 320, 84, 84, 18);
    place(IDC_RADIO_SCALER_2, 320, 106, 84, 18);

    // Kept at the right edge of the page, 6 pixels from it at every size; at the smallest size it
    // gives up a little of its width rather than crowd the group to its left.
    const int timeRight = pageWidth - 6;
    const int timeX = timeRight - 206 > 414 ? timeRight - 206 : 414;
    place(IDC_TIMEGROUP, timeX, 4, timeRight - timeX, 132);
    const int labels[] = {IDC_LABEL4, IDC_LABEL5, IDC_LABEL6};
    const int edits[] = {IDC_EDIT2, IDC_EDIT3, IDC_EDIT4};
    const int spins[] = {IDC_WAIT1UPDOWN, IDC_WAITNUPDOWN, IDC_WAITRUPDOWN};
    for (int i = 0; i < 3; ++i) {
        place(labels[i], timeX + 10, 28 + 28 * i, 130, 14);
        placeSpin(edits[i], spins[i], timeX + 142, 24 + 28 * i, 56);
    }

    place(IDC_DECODEGROUP, 6, 102, 200, 70);
    place(IDC_RAWBOX, 16, 122, 186, 18);
    place(IDC_CHB_COMPAT, 16, 144, 186, 18);

    place(IDC_LEDGROUP, 212, 142, (pageWidth - 218 > 300 ? pageWidth - 218 : 300), 100);
    for (int i = 0; i < 4; ++i)
        place(IDC_LED_0 + i, 222, 160 + 19 * i, (pageWidth - 238 > 280 ? pageWidth - 238 : 280), 18);
}

void ReceiverPage::SetVisible(bool visible) {
    for (int id : kPageControls)
        ShowWindow(Item(id), visible ? SW_SHOWNA : SW_HIDE);
}

void ReceiverPage::SetSpin(int spinId, int editId, int32_t position) {
    SendMessageW(Item(spinId), UDM_SETPOS32, 0, position);
    SetWindowTextA(Item(editId), std::to_string(position).c_str());
}

void ReceiverPage::SelectScalerButton(int button) {
    CheckDlgButton(container_, IDC_RADIO_SCALER_1, button == 1 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(container_, IDC_RADIO_SCALER_2, button == 2 ? BST_CHECKED : BST_UNCHECKED);
}

void ReceiverPage::Fill() {
    const SettingsValues s = Settings.Snapshot();
    SetSpin(IDC_WAIT1UPDOWN, IDC_EDIT2, ShownPosition(s.Wait1, kWaitRange));
    SetSpin(IDC_WAITNUPDOWN, IDC_EDIT3, ShownPosition(s.WaitN, kWaitRange));
    SetSpin(IDC_WAITRUPDOWN, IDC_EDIT4, ShownPosition(s.WaitR, kWaitRange));
    for (int i = 0; i < 3; ++i)
        CheckDlgButton(container_, IDC_MODE_0 + i, s.Mode == i ? BST_CHECKED : BST_UNCHECKED);
    SelectScalerButton(ScalerButtonFor(s.Scaler));
    SetSpin(IDC_UPDOWN_BUFSIZE, IDC_EDIT_BUFSIZE, ShownPosition(s.BufferSize, kBufferSizeRange));
    SetSpin(IDC_UPDOWN_POLLFREQ, IDC_EDIT_POLLFREQ,
            ShownPosition(FrequencyForPollInterval(s.PollInterval), kPollFreqRange));
    CheckDlgButton(container_, IDC_RAWBOX, s.RawMode ? BST_CHECKED : BST_UNCHECKED);
    for (int i = 0; i < 4; ++i)
        CheckDlgButton(container_, IDC_LED_0 + i, s.BlinkMode == i ? BST_CHECKED : BST_UNCHECKED);
    KeepTabStopsOnCheckedButtons();
}

void ReceiverPage::ModeGroupClick(int index) {
    const std::optional<ModelDefaults> defaults = ModelChange(Settings.Mode.load(), index);
    if (!defaults)
        return;
    Settings.Mode.store(static_cast<int8_t>(index));
    SelectScalerButton(defaults->scalerButton);
    Settings.Scaler.store(defaults->scaler);
    SetSpin(IDC_UPDOWN_BUFSIZE, IDC_EDIT_BUFSIZE, defaults->bufferSize);
    Settings.BufferSize.store(defaults->bufferSize);
}

void ReceiverPage::Edit_BufSizeExit() {
    HWND box = Item(IDC_EDIT_BUFSIZE);
    const std::optional<int32_t> typed = TypedBufferSize(AsciiText(box));
    if (typed) {
        Settings.BufferSize.store(*typed);
        SetSpin(IDC_UPDOWN_BUFSIZE, IDC_EDIT_BUFSIZE, *typed);
        return;
    }
    const int32_t position = static_cast<int32_t>(SendMessageW(Item(IDC_UPDOWN_BUFSIZE), UDM_GETPOS32, 0, 0));
    SetWindowTextA(box, std::to_string(position).c_str());
}

void ReceiverPage::Edit_PollFreqExit() {
    // Typing does not change the interval: show the frequency that is in effect again.
    const int32_t position =
        static_cast<int32_t>(SendMessageW(Item(IDC_UPDOWN_POLLFREQ), UDM_GETPOS32, 0, 0));
    SetWindowTextA(Item(IDC_EDIT_POLLFREQ), std::to_string(position).c_str());
}

void ReceiverPage::CommitFocusedBox() {
    HWND focus = GetFocus();
    if (focus == Item(IDC_EDIT_BUFSIZE))
        Edit_BufSizeExit();
    else if (focus == Item(IDC_EDIT_POLLFREQ))
        Edit_PollFreqExit();
}

bool ReceiverPage::OnCommand(int id, int code) {
    if (code == EN_KILLFOCUS) {
        if (id == IDC_EDIT_BUFSIZE)
            Edit_BufSizeExit();
        else if (id == IDC_EDIT_POLLFREQ)
            Edit_PollFreqExit();
        return id == IDC_EDIT_BUFSIZE || id == IDC_EDIT_POLLFREQ;
    }
    if (code != BN_CLICKED)
        return false;
    const bool checked = IsDlgButtonChecked(container_, id) == BST_CHECKED;
    if (id >= IDC_MODE_0 && id <= IDC_MODE_2) {
        if (!filling_ && checked)
            ModeGroupClick(id - IDC_MODE_0);
    } else if (id == IDC_RADIO_SCALER_1 || id == IDC_RADIO_SCALER_2) {
        if (!filling_ && checked)
            Settings.Scaler.store(ScalerForButton(id == IDC_RADIO_SCALER_2 ? 2 : 1));
    } else if (id == IDC_RAWBOX) {
        if (!filling_)
            RawBoxClick(checked, Settings, lastCode_);
    } else if (id >= IDC_LED_0 && id <= IDC_LED_3) {
        if (!filling_ && checked)
            Settings.BlinkMode.store(static_cast<int8_t>(id - IDC_LED_0));
    } else {
        return id == IDC_CHB_COMPAT; // no action
    }
    KeepTabStopsOnCheckedButtons(); // a click moves a group's check, a model its time unit's
    return true;
}

bool ReceiverPage::OnNotify(const NMHDR& header, LRESULT* result) {
    if (header.code != UDN_DELTAPOS)
        return false;
    const Spin* spin = SpinOf(static_cast<int>(header.idFrom));
    if (!spin)
        return false;
    *result = 0;
    if (filling_)
        return true;
    const auto& step = reinterpret_cast<const NMUPDOWN&>(header);
    const int direction = step.iDelta > 0 ? 1 : step.iDelta < 0 ? -1 : 0;
    // The buffer box steps from a number typed in it, which the control itself does not know of.
    const int32_t from = spin->spin == IDC_UPDOWN_BUFSIZE
                             ? BufferStepBase(AsciiText(Item(IDC_EDIT_BUFSIZE)), step.iPos)
                             : step.iPos;
    const std::optional<int32_t> next = StepPosition(from, direction, spin->range);
    if (!next)
        return true; // the control notifies at its ends too
    switch (spin->spin) {
    case IDC_UPDOWN_BUFSIZE:
        Settings.BufferSize.store(*next);
        // Placed here, as the control would have stepped from its own position.
        SetSpin(IDC_UPDOWN_BUFSIZE, IDC_EDIT_BUFSIZE, *next);
        *result = 1;
        return true;
    case IDC_UPDOWN_POLLFREQ:
        Settings.PollInterval.store(PollIntervalForFrequency(*next));
        break;
    case IDC_WAIT1UPDOWN:
        Settings.Wait1.store(*next);
        break;
    case IDC_WAITNUPDOWN:
        Settings.WaitN.store(*next);
        break;
    default:
        Settings.WaitR.store(*next);
        break;
    }
    SetWindowTextA(Item(spin->edit), std::to_string(*next).c_str());
    return true;
}

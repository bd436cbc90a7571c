#pragma once
// The dialog's own keys, taken from the modal loop before IsDialogMessageW sees the message (see
// dialog_keys.h for why). Each returns true when it handled the message.
#include <windows.h>

// Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and Ctrl+PgUp anywhere in dialog: the next or previous page
// of the tab control pages, which notifies its parent as a click on the tab would.
bool TakePageSwitchKey(HWND dialog, HWND pages, const MSG& message);

// A label's or button's accelerator typed with Alt, or alone where the focused control takes no
// characters: the label's next control gets the focus, a button is clicked.
bool TakeLabelAccelerator(HWND dialog, const MSG& message);

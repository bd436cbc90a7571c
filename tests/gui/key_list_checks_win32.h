#pragma once
// What the GUI tests of the key list share: a button's code as the dialog shows it, a press from
// the simulator, what the host then receives, and rows found by key name.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/gui/dialog_driver_win32.h"
#include "tests/gui/gui_session_win32.h"
#include "tests/wine/remote_scripts.h"

inline std::wstring Digits(const Button& button) {
    char text[CodeDigits + 1];
    CodeText(CodeOf(button), text);
    return std::wstring(text, text + CodeDigits);
}

inline std::string Press(const Button& button) {
    return ScriptText().Step("idle 2").Hold(button, 1).Text();
}

// Receiving with the dialog closed: the remote and key names of the first key event a press of
// button gives the host ("", and a failure, when none comes).
inline std::string FirstHostKey(GuiSession& session, const Button& button) {
    session.Start();
    session.SetSimScript(Press(button));
    for (int i = 0; i < 100 && session.KeyEvents().empty(); ++i)
        session.Pump(50);
    session.Stop();
    EXPECT_FALSE(session.KeyEvents().empty()) << "the host received no key";
    return session.KeyEvents().empty()
               ? ""
               : session.KeyEvents()[0].remoteName + " / " + session.KeyEvents()[0].keyName;
}

inline int RowNamed(DialogDriver& d, const std::wstring& name) {
    for (int i = 0; i < d.ListCount(); ++i)
        if (d.Cell(i, 0) == name)
            return i;
    return -1;
}

inline bool HasRow(DialogDriver& d, const std::wstring& name) {
    return RowNamed(d, name) >= 0;
}

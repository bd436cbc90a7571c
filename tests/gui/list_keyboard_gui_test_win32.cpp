// The key list from the keyboard: type-ahead through the virtual list, and a focus that is never
// lost, after a removal or when the list gets it.
#include <gtest/gtest.h>

#include <utility>

#include "setup_dialog/setup_form_ids.h"
#include "tests/gui/gui_files.h"
#include "tests/gui/key_list_checks_win32.h"

namespace {

// The list, sorted: Amplifier's Mute, Play, Play, then TV's Power and "Громче" (code page 1251
// bytes, shown as the ANSI code page reads them).
constexpr int kMute = 0, kPlay = 1, kPower = 3, kLouder = 4;

TEST(ListKeyboardGui, TypingSelectsTheNextRowWhoseNameStartsWithTheLetters) {
    GuiSession session(RemoteFiles(ReplaySettings{}), "");
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        d.FocusControl(IDC_LISTVIEW);
        // Typing the first letter of "Громче" as shown: Cyrillic under code page 1251, Latin-1 under 1252.
        std::wstring louder = d.Cell(kLouder, 0).substr(0, 1);
        CharLowerW(louder.data());
        const struct {
            std::wstring letters;
            int selected;
        } presses[] = {{L"p", kPlay}, {L"po", kPower},   {L"p", kPlay},   {L"pp", kPower}, // again: the next
                       {L"P", kPlay}, {louder, kLouder}, {L"q", kLouder}, {L"m", kMute}};
        for (const auto& press : presses) {
            Sleep(1200); // after a pause the list starts a new search
            d.TypeInList(press.letters);
            EXPECT_EQ(std::pair(d.SelectedRow(), d.FocusedRow()), std::pair(press.selected, press.selected))
                << press.letters.size();
        }
        EXPECT_EQ(d.Text(IDC_REMOTEEDIT), L"Amplifier") << "the remote box follows, as after a click";
    }));
}

TEST(ListKeyboardGui, TheFocusStaysOnARowAfterDelAndWhenTheListGetsIt) {
    GuiSession session(RemoteFiles(ReplaySettings{}), "");
    ASSERT_TRUE(session.RunSetup([&](DialogDriver& d) {
        // Nothing selected when the list gets the focus: the first row has the focus rectangle.
        d.FocusControl(IDC_LISTVIEW);
        EXPECT_EQ(d.SelectedRow(), -1);
        EXPECT_EQ(d.FocusedRow(), 0);
        // Del: the row that takes the removed one's place, at the end the one before.
        for (const auto& [removed, selected] : {std::pair{kPlay, kPlay}, {2, 2}, {2, 1}}) {
            d.SelectRow(removed);
            d.Key(d.Control(IDC_LISTVIEW), VK_DELETE);
            EXPECT_EQ(std::pair(d.SelectedRow(), d.FocusedRow()), std::pair(selected, selected)) << removed;
        }
        EXPECT_EQ(d.Focus(), d.Control(IDC_LISTVIEW));
        EXPECT_EQ(d.ListCount(), 2);
    }));
}

} // namespace

#pragma once
// Where an import goes, chosen by the user before anything is added: one line per remote of the
// file (a file gives one today), each with the remote its buttons go under, proposed from the
// file's own name and then typed or picked among the list's remotes. Nothing is inherited from
// what the dialog showed last. A name is proposed only as the ANSI code page can store it, so a
// file named in another script never becomes a remote called "?????".
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "capture_import/capture_reader.h"
#include "config/key_table.h"
#include "setup_dialog/show_bytes.h"

// The ANSI code page both ways: names are stored in it and shown through it.
struct AnsiText {
    ShowBytes toWide;
    std::string (*toAnsi)(std::wstring_view text);
};

// One remote of the file and where its buttons go.
struct ImportTargetLine {
    std::wstring source; // what the file calls this remote; "" when it names none
    size_t buttons = 0;  // its buttons in the file
    std::string target;  // the remote they go under (ANSI bytes): proposed, then chosen
};

struct ImportChoice {
    std::wstring fileName;               // the file's name without its folder
    std::vector<ImportTargetLine> lines; // in file order
    std::vector<std::string> remotes;    // the list's remotes, one per file, sorted: offered
};

// The file's name without its folder, and without its extension too.
std::wstring FileNameOf(std::wstring_view path);
std::wstring FileStem(std::wstring_view path);

// name as a remote name the code page holds: itself where it can; otherwise the characters it
// can hold (runs of others dropped), when a letter or digit is among them; otherwise "Пульт" (or
// "Remote" where the code page has no Cyrillic), for the user to change.
std::string ProposedRemoteName(std::wstring_view name, const AnsiText& ansi);

// The prompt's start: for what was read from path, the remote the file names (a lircd.conf
// remote's name), or else the file's name, proposed; the list's remotes offered.
ImportChoice ProposeImport(const CaptureText& read, std::wstring_view path,
                           const std::vector<KeyListRow>& rows, const AnsiText& ansi);

// What a target typed or picked in the prompt means.
struct TargetCheck {
    enum class Kind {
        Empty,         // nothing but blanks: no remote
        NotInCodePage, // a character the code page cannot store
        New,           // no remote of the list is saved in its file
        Existing,      // the buttons join a remote of the list
    };
    Kind kind = Kind::Empty;
    std::string name; // the remote to use: trimmed, and an existing remote as the list spells it
    size_t keys = 0;  // Existing: its rows in the list
};
TargetCheck CheckTarget(std::wstring_view typed, const std::vector<KeyListRow>& rows, const AnsiText& ansi);
bool Accepted(const TargetCheck& check);

// The line under a target in the prompt, saying what the import will do.
std::wstring TargetNote(const TargetCheck& check, ShowBytes show);

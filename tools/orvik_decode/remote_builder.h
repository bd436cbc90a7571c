#pragma once
// orvik-decode --write-cfg: a remote definition file made from a capture file, so that a remote
// works without learning it button by button.
#include <string>
#include <vector>

#include "config/file_system.h"
#include "config/key_table.h"
#include "tools/orvik_decode/decode_report.h"

struct RemoteRows {
    std::vector<KeyListRow> rows;      // code rows in input order, then the raw pattern rows
    std::vector<std::string> problems; // buttons left out, one message each
};

// The key list for remote: per button, the codes its trains give (a button with several codes
// gets one row each), or, when none of its trains decodes, the raw pattern of its first train
// that gives one. Trains not decoded, and repeat frames, which repeat the button before them, are
// passed over. A button is named by its name in the input, or "Line N" after the line its train
// starts on. A code (or raw pattern) that an earlier button already gives stays with that button:
// the plug-in would report that one, so the later button is left out and named in problems.
RemoteRows BuildRemoteRows(const std::vector<DecodedTrain>& trains, const std::string& remote);

// Writes the rows, all of one remote, into that remote's file in folder (with its trailing
// separator) through the plug-in's writer of remote definition files, and sets *path to it. Only
// that file is touched: the writer would otherwise take every other definition file of the folder
// for one whose keys were all removed. False when it cannot be written.
bool WriteRemoteFile(FileSystem& fs, const std::string& folder, const std::string& remote,
                     const std::vector<KeyListRow>& rows, std::string* path);

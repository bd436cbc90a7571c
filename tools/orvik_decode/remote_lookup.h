#pragma once
// orvik-decode's comparison with remote definition files: which key the plug-in would report for
// a train, found by the plug-in's own reader and key table.
#include <string>
#include <vector>

#include "config/file_system.h"
#include "config/key_table.h"
#include "decoding/key_code.h"

struct LoadedRemotes {
    StringList names;
    StringList codes;
    StringList raws;
};

// Reads the given remote definition files, in the order given, as the plug-in reads the files of
// its folder. A file that cannot be read gives a remote "<Unknown>" without keys, as there.
void LoadRemoteFiles(FileSystem& fs, const std::vector<std::string>& paths, LoadedRemotes& remotes);

// The key the plug-in reports for a code in decoding mode, as "key name (remote)"; "" for none.
std::string KeyForCode(const LoadedRemotes& remotes, KeyCode code);
// The same in raw mode, for a raw signature text: the first matching pattern gives the code,
// and the code names the key.
std::string KeyForRawSignature(const LoadedRemotes& remotes, const std::string& signature);

#pragma once
// orvik-decode --write-cfg: which remotes the decoded buttons are written as, and under which
// names, in the code page the plug-in stores names in.
#include <string>
#include <vector>

#include "capture_import/capture_text.h"
#include "capture_import/import_rows.h"
#include "capture_import/name_text.h"
#include "capture_import/train_decoding.h"

// A decoded button and the name of the lircd.conf remote block it stands in ("" outside any).
struct TrainOfRemote {
    DecodedTrain train;
    std::string block;
};

struct RemoteToWrite {
    std::string name; // in the code page
    ImportRows rows;
};

// With at most one lircd.conf remote name among the buttons, every button goes under name (what
// the user asked for). With several, each remote's buttons go under its own name, and the others
// under name. Button and remote names are converted from UTF-8 to codePage; those a stand-in
// changed are appended to renamed. The remotes come in the order they first appear.
std::vector<RemoteToWrite> RemotesToWrite(const std::vector<TrainOfRemote>& trains, const std::string& name,
                                          bool rawMode, const NameCodePage& codePage,
                                          std::vector<RenamedText>& renamed);

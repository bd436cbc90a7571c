#include "support/key_table_fixture.h"

ScopedKeyTable::ScopedKeyTable() : savedNames_(RemoteNames), savedCodes_(CodeTable), savedRaws_(RawTable) {
    RemoteNames = &names;
    CodeTable = &codes;
    RawTable = &raws;
}

ScopedKeyTable::~ScopedKeyTable() {
    RemoteNames = savedNames_;
    CodeTable = savedCodes_;
    RawTable = savedRaws_;
}

std::string DumpKeyTable(const StringList& names, const StringList& codes, const StringList& raws) {
    std::string out;
    for (int32_t i = 0; i < names.Count(); ++i)
        out += "remote " + std::to_string(i) + ": " + names[i].text + "\n";
    for (int32_t i = 0; i < codes.Count(); ++i)
        out += "code " + std::to_string(i) + " remote " + std::to_string(codes[i].tag) + ": " +
               codes[i].text + "\n";
    for (int32_t i = 0; i < raws.Count(); ++i)
        out +=
            "raw " + std::to_string(i) + " code " + std::to_string(raws[i].tag) + ": " + raws[i].text + "\n";
    return out;
}

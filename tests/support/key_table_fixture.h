#pragma once
// Installs a key table of its own in the module-wide list pointers for one test, and puts the
// previous pointers back afterwards.
#include <string>

#include "config/key_table.h"

class ScopedKeyTable {
  public:
    ScopedKeyTable();
    ~ScopedKeyTable();
    ScopedKeyTable(const ScopedKeyTable&) = delete;
    ScopedKeyTable& operator=(const ScopedKeyTable&) = delete;

    StringList names;
    StringList codes;
    StringList raws;

  private:
    StringList* savedNames_;
    StringList* savedCodes_;
    StringList* savedRaws_;
};

// The three lists as text, one entry a line with its tag, for comparing whole tables:
//   remote <index>: <name>
//   code <index> remote <tag>: <text>
//   raw <index> code <tag>: <text>
std::string DumpKeyTable(const StringList& names, const StringList& codes, const StringList& raws);

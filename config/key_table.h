#pragma once
// The key table: which remotes exist, which code names which key of which remote, and which raw
// signature stands for which key. Rebuilt as a whole by LoadConfiguration while the worker threads
// are stopped; read without a lock by the dispatch thread and the dialog.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "decoding/key_code.h"

// An ordered list of texts, each with one integer tag; duplicates allowed, names compared
// without regard to ASCII letter case.
class StringList {
  public:
    struct Entry {
        std::string text;
        int32_t tag = 0;
    };

    int32_t Add(std::string text, int32_t tag = 0);
    // Makes room for count entries in all, growing at least twofold, so that a large file's lines
    // are not copied through every doubling on the way.
    void Reserve(int32_t count);
    void Clear();
    // Gives the entries at the first of each pair the text of the second, then rebuilds the
    // indexes once.
    void ReplaceTexts(std::vector<std::pair<int32_t, std::string>> texts);
    int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
    const Entry& operator[](int32_t index) const { return entries_[static_cast<size_t>(index)]; }
    const std::vector<Entry>& Entries() const { return entries_; }

    // First-match lookups in constant time. Add keeps both indexes, so they exist as soon as the
    // table is loaded and a lookup neither writes nor allocates (readers on several threads).
    // Index of the first entry whose code part (text before the first '=') equals code without
    // regard to ASCII letter case; -1 when none. code must hold no '='.
    int32_t FirstWithCodePart(std::string_view code) const;
    // Index of the first entry whose text SameRawSignature matches with captured; -1 when none.
    int32_t FirstSameRawSignature(std::string_view captured) const;

    // Open addressing with linear probing: each slot holds 0 (empty) or 1 + the index of the first
    // entry of one distinct key.
    struct FirstEntryIndex {
        std::vector<int32_t> slots;
        int32_t keys = 0;
    };

  private:
    void Index(int32_t entry);

    std::vector<Entry> entries_;
    FirstEntryIndex codeIndex_;
    FirstEntryIndex rawIndex_;
};

// Created by Open (RemoteNames by LoadDriver), freed by Close; null outside that span.
extern StringList* RemoteNames;
extern StringList* CodeTable;
extern StringList* RawTable;

// Index of the first CodeTable entry whose code part (text before the first '=') equals text
// without regard to letter case; -1 when there is none or the table does not exist.
int32_t FindCodeEntry(std::string_view text);
// The same on any code list (the loader builds the table through it).
int32_t FindCodeEntryIn(const StringList& table, std::string_view text);

// Parts of a code entry "code=key name": the text before the first '=' and the text after it;
// both empty when the entry holds no '='. TrimmedKeyName removes blanks and control characters.
std::string_view CodePartOf(std::string_view entry);
std::string_view KeyNamePartOf(std::string_view entry);
std::string_view TrimmedKeyNameOf(std::string_view entry);

// Key name of CodeTable entry i, blanks and control characters at both ends removed; empty when
// i is out of range or the entry has no '='. The view lives as long as the table is unchanged.
std::string_view KeyNameAt(int32_t index);

// RemoteNames entry named by the tag of CodeTable entry i; empty when out of range.
std::string_view RemoteNameAt(int32_t index);

// Code part of the CodeTable entry tagged by RawTable entry j, read as hexadecimal; 0 when it is
// not a hexadecimal number or j is out of range.
KeyCode CodeOfRawEntry(int32_t rawIndex);
// The CodeTable entry that RawTable entry j belongs to (its tag); -1 when either is out of range.
// A raw match is named from this entry, never by looking its code up again: two remotes may hold
// one code.
int32_t CodeEntryOfRawEntry(int32_t rawIndex);

// Raw scan: index of the first RawTable entry whose text matches the captured signature text
// (SameRawSignature); -1 when none matches.
int32_t FindRawEntry(const char* capturedText);

// One row of the dialog's key list, as plain data.
struct KeyListRow {
    std::string keyName;    // caption
    std::string remoteName; // sub-item 0
    std::string codeText;   // sub-item 1, may be empty
    std::string rawText;    // sub-item 2, may be empty
};

// The key table as the dialog lists it: one row per CodeTable entry, in order, with the first raw
// pattern of the entry; each further raw pattern of the entry (a second toggle state, an imported
// or hand-edited pattern under the same key name) follows it as a row of its own with the key
// name and the remote but no code. The writer rewrites the Raw section from the rows, so every
// pattern survives a save unless its row was removed; the next load gives the pattern rows the
// code of their key again, since they carry its name.
std::vector<KeyListRow> ListKeyTable();

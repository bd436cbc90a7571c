#pragma once
// Configuration files as documents: loading one for reading or editing.
#include <cstdint>
#include <string>
#include <string_view>

#include "config/file_system.h"
#include "config/ini_document.h"

// Ok and Missing give a document (empty when missing); Failed leaves *doc empty, and a writer
// must then leave the file alone, since replacing it would lose what it could not read.
ReadResult LoadIniFile(FileSystem& fs, const std::string& path, IniDocument* doc);

// Reads a whole decimal 32-bit integer (optional sign); false for anything else, overflow
// included.
bool ParseDecimalInt32(std::string_view text, int32_t* value);

#pragma once
// The settings file: the module's path with the extension ".ini", sections Main and Receiver.
#include <string>
#include <string_view>

#include "config/file_system.h"
#include "config/ini_document.h"
#include "config/settings.h"

// Reads the settings from the document. A missing or non-numeric value keeps the value of
// current (Mode falls back to 0 and PollFreq to 20 instead); out-of-range values are corrected.
SettingsValues ReadSettings(const IniDocument& doc, const SettingsValues& current);

// Writes LastRemoteControl and the nine settings in their fixed order, in place; other keys,
// sections and comments stay.
void WriteSettings(IniDocument& doc, const SettingsValues& values, std::string_view lastRemoteControl);

// The file-level forms. A missing file reads as empty (every value its default); a file that
// exists but cannot be read (held by another program) keeps every current value. The writer reads the file
// first so that what it does not own survives, and refuses (NotWritten) to replace a file it could not
// read; otherwise the result is what WriteConfigFile tells.
SettingsValues ReadSettingsFile(FileSystem& fs, const std::string& modulePath, const SettingsValues& current);
WriteResult WriteSettingsFile(FileSystem& fs, const std::string& modulePath, const SettingsValues& values,
                              std::string_view lastRemoteControl);

// Main / LastRemoteControl for the dialog's remote-name box; current when the key is absent or the
// module's folder is not known.
std::string ReadLastRemoteControl(FileSystem& fs, const std::string& modulePath, std::string_view current);

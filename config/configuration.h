#pragma once
// Loading and saving the whole configuration: the settings file and the remote definition files
// beside the module.
#include <string>
#include <vector>

#include "config/file_system.h"
#include "config/key_table.h"
#include "config/remote_files.h"
#include "config/settings.h"

// Reads the settings file into Settings (missing values keep the current ones), then, when the
// key table's lists exist, rebuilds them from the remote definition files and keeps which files
// were read for the next SaveConfiguration. Without a known module folder (empty path) no file is
// read: the settings read as from a missing file, the key table is empty. Never throws: when the
// load fails on the way (out of memory) the key table is left empty and the result is false. Run
// only while the worker threads are stopped.
bool LoadConfiguration(FileSystem& fs, const std::string& modulePath);

// The remote definition files the last LoadConfiguration read. The dialog takes a copy when it
// fills its list from the key table, and saves against that copy: a load while it is open (a
// nested Open) must not change what its list is compared with.
const RemoteFilesRead& LoadedRemoteFiles();
// The files the last LoadConfiguration found missing while their rescue copy exists
// (FindFilesOnlyInRescueCopies): the user must be told where their content is.
const std::vector<std::string>& FilesOnlyInRescueCopies();
// Close frees the key table; what it was read from is forgotten with it, so that a dialog opened
// after Close, with nothing in its list, empties no file.
void ForgetLoadedRemoteFiles();

// What the dialog's FormHide saves: the settings file (with LastRemoteControl), then, when rows is
// given, the key list. A failure of the settings file does not stop the key list from being
// written. The key list changes only the remote files in shownFiles (what the load that filled
// the list read) and those that receive keys; files written are recorded there. Returns true when
// everything was written; otherwise *problems (when given) tells what became of the files that
// were not, an exception on the way counting as not written. Without a known module folder nothing
// is written (true).
bool SaveConfiguration(FileSystem& fs, const std::string& modulePath, const SettingsValues& values,
                       const std::string& lastRemoteControl, const std::vector<KeyListRow>* rows,
                       RemoteFilesRead& shownFiles, std::vector<SaveProblem>* problems = nullptr);

#pragma once
#include "config/file_system.h"

// The plug-in's file system: the ANSI Win32 API, file names passed through as the host's bytes.
FileSystem& Win32FileSystem();

#pragma once
// The code page imported names are stored in on this Windows: its ANSI code page, by the portable
// tables where they hold it (1251, 1252) and by the system's own conversion otherwise.
#include "capture_import/name_text.h"

NameCodePage SystemNameCodePage();

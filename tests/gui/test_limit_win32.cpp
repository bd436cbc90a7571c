// Each test of this program is reported and ended after 120 s, before CTest's limit of 180 s ends
// it without a word (the GUI session notes each call it makes of the plug-in).
#include "tests/watchdog/test_watchdog_win32.h"

namespace {
const bool kWatched = (InstallTestWatchdog(120000), true);
} // namespace

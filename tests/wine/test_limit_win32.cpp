// Each test of this program is reported and ended after 150 s, before CTest's limit of 180 s ends it
// without a word. The test hosts it runs have watchdogs of their own (60 s unless a test says).
#include "tests/watchdog/test_watchdog_win32.h"

namespace {
const bool kWatched = (InstallTestWatchdog(150000), true);
} // namespace

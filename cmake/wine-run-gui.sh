#!/bin/sh
# Runs a Windows test program that creates windows, or starts programs that do, under Wine, with
# its output going through a file. A window created while Wine's desktop process is not running
# starts it, and it inherits the program's output (its standard error): had CTest's pipe been that
# output, CTest would wait for the desktop process to end, which is a second after the last window
# of the session has gone - with tests running back to back, often minutes later.
log=$(mktemp)
sh "$(dirname "$0")/wine-run.sh" "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
rm -f "$log"
exit $status

#!/bin/sh
# Runs a Windows test program that creates windows, under Wine, with its output going through a
# file. The first window of a Wine session starts Wine's desktop process, which inherits the
# program's output: had CTest's pipe been that output, CTest would wait for the desktop process to
# end, which is after every other test of the run.
log=$(mktemp)
sh "$(dirname "$0")/wine-run.sh" "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
rm -f "$log"
exit $status

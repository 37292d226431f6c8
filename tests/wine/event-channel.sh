#!/usr/bin/env bash
# Runs the event-log end-to-end tests with their Unix standard error in a
# file of the Wine prefix: Wine writes there the debug channels of the test
# and of every program it starts (a Windows program cannot redirect that for
# its children), and the test reads the events' strings back from it.
#   event-channel.sh <folder of the built programs> [gtest arguments...]
set -u
bin="$1"
shift
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-env"
log="$WINEPREFIX/drive_c/tm_event_channel.log"
: >"$log"
TIDEMARK_EVENT_CHANNEL_LOG='C:\tm_event_channel.log' wine "$bin/tm_e2e_events.exe" "$@" 2>"$log"
code=$?
if [ "$code" -ne 0 ]; then
  echo "--- the run's standard error (last lines):"
  tail -n 40 "$log"
fi
rm -f "$log"
exit "$code"

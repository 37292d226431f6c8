#!/usr/bin/env bash
# Runs tm_e2e_events with its Unix standard error, where Wine writes the
# debug channels of the test and of every program it starts, in a file of
# the prefix that the test reads back.   event-channel.sh <bin folder> [gtest arguments]
bin="$1"; shift
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-env"
log="$WINEPREFIX/drive_c/tm_event_channel.log"
TIDEMARK_EVENT_CHANNEL_LOG='C:\tm_event_channel.log' wine "$bin/tm_e2e_events.exe" "$@" 2>"$log"
code=$?
[ "$code" -eq 0 ] || tail -n 40 "$log"
rm -f "$log"
exit "$code"

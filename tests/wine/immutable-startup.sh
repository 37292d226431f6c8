#!/usr/bin/env bash
# The settings window's start-up shortcut for a user whose Startup folder
# admits no new file: the folder is made immutable from the Linux side around
# the run, and the attribute is always lifted again.
#   immutable-startup.sh <folder of the built programs>
set -u
bin="$1"
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-env"
programs="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
# Wine spells the folder "StartUp"; whichever spelling is there is the one.
folder="$programs/StartUp"
[ -d "$programs/Startup" ] && folder="$programs/Startup"

lift() { chattr -i "$folder" 2>/dev/null || true; }
trap lift EXIT
mkdir -p "$folder"
rm -f "$folder/Tidemark.lnk"
if ! chattr +i "$folder"; then
  echo "immutable-startup: this file system cannot make a folder immutable" >&2
  exit 77
fi
TIDEMARK_IMMUTABLE_STARTUP=1 wine "$bin/tm_e2e_tests.exe" --gtest_filter='ImmutableStartup.*'

#!/usr/bin/env bash
# The end-to-end test of an install folder that admits no new file, as a
# program folder is for standard users: copies the program into a folder of
# the Wine prefix beside the settings file an administrator left, makes the
# folder immutable (no new entry, no rename, no delete; the settings file in
# it stays writable, and root is bound too), runs the test, and always lifts
# the attribute again.
#   locked-install.sh <folder of the built programs>
set -u
bin="$1"
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-env"
folder="$WINEPREFIX/drive_c/TidemarkLocked"

lift() {
  chattr -i "$folder" 2>/dev/null || true
  rm -rf "$folder"
}
trap lift EXIT
lift
mkdir -p "$folder"
cp "$bin/Tidemark.exe" "$bin/Ramhold.dll" "$folder/"
printf '[AppSettingFlag]\r\nMemCleanForm=First\r\n' >"$folder/Tidemark.ini"
if ! chattr +i "$folder"; then
  echo "locked-install: this file system cannot make a folder immutable" >&2
  exit 77
fi
TIDEMARK_LOCKED_INSTALL='C:\TidemarkLocked' wine "$bin/tm_e2e_tests.exe" --gtest_filter='LockedInstall.*'

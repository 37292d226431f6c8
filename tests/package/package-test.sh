#!/usr/bin/env bash
# The release packages, tested (tools/package --test):
#  1. reproducible: the packages built here and from a copy of the sources in
#     another folder have the same SHA256SUMS (and the same programs);
#  2. the zip holds the shipped programs and README.txt only, without symbols,
#     and every program carries the suite's VERSIONINFO in one version;
#  3. under Wine, in a prefix of its own: a silent install puts the programs,
#     the Start-menu shortcut and the .vesk association in place; Tidemark
#     starts from the install folder and writes its settings there; a .vesk
#     opened through the association runs Inkett; a newer version's MSI
#     upgrades in place and keeps the settings and the start-up shortcuts;
#     a silent uninstall removes programs, shortcut, association, the
#     start-up shortcuts and the system-start task file and keeps the
#     settings, which REMOVESETTINGS=1 removes too. Every install registers
#     the event source "Tidemark" (EventMessageFile, TypesSupported) and
#     every uninstall removes it; TIDEMARKSETTINGS=<.vesk> imports the file
#     with Inkett's silent run (the values read back through the system's
#     profile function), and a missing file leaves the install in place.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
work="$root/build/package-test"
rm -rf "$work"
mkdir -p "$work"

passed=0
failed=0
skipped=0
check() {  # check <what> <command...>
  local what="$1"; shift
  if "$@"; then
    passed=$((passed + 1)); echo "ok      $what"
  else
    failed=$((failed + 1)); echo "FAILED  $what"
  fi
}
skip() { skipped=$((skipped + 1)); echo "skipped $1"; }
finish() {
  echo "package: $passed passed, $failed failed, $skipped skipped"
  [ "$failed" -eq 0 ]
  exit $?
}

export TIDEMARK_PACKAGE_NO_SETUP=1
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}"
export TIDEMARK_COMMIT="${TIDEMARK_COMMIT:-$(git -C "$root" rev-parse HEAD)}"

# --- 1. Two builds in two folders.
echo "=== package test: build here and in a copy of the sources"
if ! "$root/tools/package" --out "$work/a" >"$work/a.log" 2>&1; then
  cat "$work/a.log"; check "tools/package builds the packages" false; finish
fi
tree="$work/copy of the sources"
mkdir -p "$tree"
(cd "$root" && git ls-files -z -co --exclude-standard | tar --null -T - -cf -) | tar -xf - -C "$tree"
if ! "$tree/tools/package" --out "$work/b" >"$work/b.log" 2>&1; then
  cat "$work/b.log"; check "tools/package builds the packages in another folder" false; finish
fi
check "the same SHA256SUMS from two folders" cmp -s "$work/a/SHA256SUMS" "$work/b/SHA256SUMS"
same_programs() {
  (cd "$root/build/release/stage/Tidemark" && sha256sum -- *) >"$work/a.programs"
  (cd "$tree/build/release/stage/Tidemark" && sha256sum -- *) >"$work/b.programs"
  diff "$work/a.programs" "$work/b.programs"
}
check "the same programs from two folders" same_programs
cat "$work/a/SHA256SUMS"

version="$(cat "$root/build/release/packaging/version.txt")"
zip="$(ls "$work"/a/*.zip)"
msi="$(ls "$work"/a/*.msi)"
shipped=()
mapfile -t shipped <"$root/build/release/packaging/shipped.txt"
check "the packages are named after the version $version" \
  test "$(basename "$zip")" = "Tidemark-$version-x64.zip" -a "$(basename "$msi")" = "Tidemark-$version-x64.msi"

# --- 2. The zip's contents.
echo "=== package test: the zip"
unzip -Z1 "$zip" | tee "$work/zip.txt"
expected_zip() { { printf 'Tidemark/%s\n' "${shipped[@]}" README.txt; } | LC_ALL=C sort; }
check "the zip holds the shipped programs and README.txt, nothing else" \
  diff <(expected_zip) <(LC_ALL=C sort "$work/zip.txt")
check "no test program, benchmark or debug file in the zip" \
  bash -c "! grep -Ei '(^|/)(tm_|test|bench)|\\.(pdb|debug|map|a|lib|exp)$' '$work/zip.txt'"
mkdir -p "$work/unzipped"
unzip -q "$zip" -d "$work/unzipped"
no_symbols() {
  local f
  for f in "$work"/unzipped/Tidemark/*.exe "$work"/unzipped/Tidemark/*.dll; do
    if x86_64-w64-mingw32-objdump -h "$f" | grep -q -E '\.debug_|\.stab'; then echo "symbols in $f"; return 1; fi
  done
}
check "the programs carry no debug information" no_symbols
check "README.txt is Japanese, UTF-8 with BOM and CRLF" \
  bash -c "head -c 3 '$work/unzipped/Tidemark/README.txt' | od -An -tx1 | grep -q 'ef bb bf' &&
           grep -q \$'アンインストール\\r\$' '$work/unzipped/Tidemark/README.txt'"
check "every shipped program has the suite's VERSIONINFO, version $version, described in Japanese" \
  python3 "$root/tests/package/check-versioninfo.py" "$version" "$work"/unzipped/Tidemark/*.exe "$work"/unzipped/Tidemark/*.dll

# --- A newer version, for the upgrade.
IFS=. read -r major minor patch <<<"$version"
next="$major.$minor.$((patch + 1))"
echo "=== package test: a newer build, $next"
if ! "$root/tools/package" --version "$next" --out "$work/next" >"$work/next.log" 2>&1; then
  cat "$work/next.log"; check "tools/package --version $next" false; finish
fi
next_msi="$(ls "$work"/next/*.msi)"
check "the newer build is named $next" test "$(basename "$next_msi")" = "Tidemark-$next-x64.msi"
check "the newer build's programs say $next" \
  python3 "$root/tests/package/check-versioninfo.py" "$next" "$root/build/release/stage/Tidemark/Tidemark.exe"

# --- 3. Under Wine.
echo "=== package test: install, upgrade and uninstall under Wine"
export WINEPREFIX="$work/wineprefix"
source "$root/tools/wine-env"
trap stop_virtual_display EXIT
start_virtual_display || { check "a display for Wine" false; finish; }
fresh_wine_prefix
c="$WINEPREFIX/drive_c"
mkdir -p "$c/packages"
cp "$msi" "$next_msi" "$c/packages/"
dir="$c/Program Files/Tidemark Suite"
shell_folder() {  # shell_folder HKLM|HKCU <name>: a shell folder as a Unix path
  local path
  path="$(wine reg query "$1\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders" /v "$2" 2>/dev/null |
          tr -d '\r' | awk -F '    ' 'NF >= 4 { print $4 }')"
  [ -n "$path" ] && winepath -u "$path" 2>/dev/null
}
common_startup="$(shell_folder HKLM 'Common Startup')"
user_startup="$(shell_folder HKCU Startup)"
user_appdata="$(shell_folder HKCU AppData)"
user_settings="$user_appdata/Quillon/Kestrel/Tidemark.ini"
# Windows puts a per-machine session's Start-menu shortcut among everybody's
# programs; Wine among the installing user's.
menu_shortcuts=("$(shell_folder HKLM 'Common Programs')/Tidemark.lnk" "$(shell_folder HKCU Programs)/Tidemark.lnk")
any_menu_shortcut() { [ -f "${menu_shortcuts[0]}" ] || [ -f "${menu_shortcuts[1]}" ]; }
no_menu_shortcut() { [ ! -e "${menu_shortcuts[0]}" ] && [ ! -e "${menu_shortcuts[1]}" ]; }
task_file="$c/windows/Tasks/Quillon Kestrel SYSTEM Start Task.job"

msiexec() {  # msiexec <log name> <arguments...>: silent, logged, its exit code
  local log="$1"; shift
  wine msiexec "$@" /qn /l*v "C:\\packages\\$log.log" >/dev/null 2>&1
  local code=$?
  wineserver -w
  [ "$code" -eq 0 ] || { echo "msiexec $* ended with $code (log: $c/packages/$log.log)"; return 1; }
}
reg_value() {  # reg_value <key> [<value name>]: the data of a registry value
  local out
  if [ $# -gt 1 ]; then out="$(wine reg query "$1" /v "$2" 2>/dev/null)"; else out="$(wine reg query "$1" /ve 2>/dev/null)"; fi
  [ -n "$out" ] || return 1
  printf '%s\n' "$out" | tr -d '\r' | awk -F '    ' 'NF >= 4 { print $4; found = 1 } END { exit !found }'
}
all_programs_in() { local f; for f in "${shipped[@]}"; do [ -f "$1/$f" ] || { echo "missing $f"; return 1; }; done; }
no_program_in() { local f; for f in "${shipped[@]}"; do [ ! -e "$1/$f" ] || { echo "left $f"; return 1; }; done; }
arp_version() { reg_value "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{$1}" DisplayVersion; }
product_code() { cmake -DNAME="product:$1" -P "$root/packaging/NameGuid.cmake"; }
wait_for_file() { local _; for _ in $(seq 1 "$2"); do [ -s "$1" ] && return 0; sleep 1; done; return 1; }

# A helper that reads the settings through the system's profile function.
profile_read="$work/profile-read.exe"
x86_64-w64-mingw32-gcc -municode -O2 -o "$profile_read" "$root/tests/package/profile-read.c" ||
  check "the profile reader for the test builds" false
profile_value() {  # profile_value <Windows path> <section> <key>
  wine "$profile_read" "$1" "$2" "$3" 2>/dev/null
}
event_source='HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Tidemark'
event_source_registered() {
  local out
  out="$(wine reg query "$event_source" 2>/dev/null | tr -d '\r')"
  printf '%s\n' "$out" | grep -qE '^ +EventMessageFile +REG_EXPAND_SZ +C:\\Program Files\\Tidemark Suite\\Tidemark\.exe$' &&
    printf '%s\n' "$out" | grep -qE '^ +TypesSupported +REG_DWORD +0x7$'
}
no_event_source() { ! wine reg query "$event_source" >/dev/null 2>&1; }

# The first install names a settings file that is not there: the install
# goes on, and its log shows the import step.
check "silent install of $version with a missing TIDEMARKSETTINGS file" \
  msiexec install /i "C:\\packages\\$(basename "$msi")" 'TIDEMARKSETTINGS=C:\packages\missing.vesk'
check "the install's log shows the import step" grep -aq 'ImportCompanySettings' "$c/packages/install.log"
check "the event source Tidemark is registered (EventMessageFile, TypesSupported 7)" event_source_registered
check "every shipped program is in Program Files\\Tidemark Suite" all_programs_in "$dir"
check "the Start-menu shortcut Tidemark.lnk" any_menu_shortcut
check ".vesk is a Tidemark.vesk file" test "$(reg_value 'HKCR\.vesk')" = "Tidemark.vesk"
check ".vesk opens with Inkett.exe \"%1\"" \
  test "$(reg_value 'HKCR\Tidemark.vesk\shell\open\command')" = "\"C:\\Program Files\\Tidemark Suite\\Inkett.exe\" \"%1\""
check "Programs and Features lists Tidemark $version" test "$(arp_version "$(product_code "$version")")" = "$version"

# Tidemark from the install folder: its first start writes Tidemark.ini there.
wine "C:\\Program Files\\Tidemark Suite\\Tidemark.exe" >/dev/null 2>&1 &
tidemark=$!
check "Tidemark started from the install folder writes its Tidemark.ini there" wait_for_file "$dir/Tidemark.ini" 60
sleep 2
# Ended with everything it may have started (a box, CACLS).
wineserver -k; wineserver -w
wait "$tidemark" 2>/dev/null

if [ -f "$dir/Inkett.exe" ]; then
  # Through the shell's association, as a double click does: a transfer file
  # of this computer's memory size (as the system reports it to programs)
  # is imported into the installed settings without a question.
  total=$(wine wmic computersystem get TotalPhysicalMemory 2>/dev/null | tr -d '\r\0' | grep -oE '[0-9]+' | head -1)
  printf '[AppSettingFlag]\r\nPhysMemSize=%s\r\nMemCleanForm=Slow\r\n' "$total" >"$c/packages/sample settings.vesk"
  wine start "C:\\packages\\sample settings.vesk" >/dev/null 2>&1
  inkett_imported() {
    local _
    for _ in $(seq 1 30); do
      grep -q 'MemCleanForm=Slow' "$dir/Tidemark.ini" 2>/dev/null && return 0
      sleep 1
    done
    return 1
  }
  check "opening a .vesk runs Inkett on that file" inkett_imported
  wineserver -k; wineserver -w
else
  skip "opening a .vesk runs Inkett on it: Inkett.exe is not among the shipped programs yet"
fi
cp "$dir/Tidemark.ini" "$work/Tidemark.ini.before" 2>/dev/null

# What the suite makes outside its folder: start-up shortcuts for everybody
# and for this user, the system-start task's file.
check "the Startup folders are known" test -d "$common_startup" -a -d "$user_startup"
# The user's own settings file (a first start leaves none yet).
if [ ! -f "$user_settings" ]; then
  mkdir -p "$(dirname "$user_settings")"
  printf '[AppSetting]\r\nIconObjFlag=False\r\n' >"$user_settings"
fi
mkdir -p "$(dirname "$task_file")"
printf 'shortcut' >"$common_startup/Tidemark.lnk"
printf 'shortcut' >"$user_startup/Tidemark.lnk"
printf 'task' >"$task_file"

check "silent upgrade to $next" msiexec upgrade /i "C:\\packages\\$(basename "$next_msi")"
check "Programs and Features lists Tidemark $next" test "$(arp_version "$(product_code "$next")")" = "$next"
check "... and no longer $version" bash -c "! wine reg query 'HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{$(product_code "$version")}' >/dev/null 2>&1"
check "the upgraded programs are in place" all_programs_in "$dir"
check "the upgrade keeps Tidemark.ini as it was" cmp -s "$work/Tidemark.ini.before" "$dir/Tidemark.ini"
check "the upgrade keeps the all-users start-up shortcut" test -f "$common_startup/Tidemark.lnk"
check "the upgrade keeps the user's start-up shortcut" test -f "$user_startup/Tidemark.lnk"
check "the upgrade keeps the system-start task's file" test -f "$task_file"
association_in_place() { wine reg query 'HKCR\Tidemark.vesk\shell\open\command' >/dev/null 2>&1; }
check "the upgrade keeps the Start-menu shortcut" any_menu_shortcut
check "the upgrade keeps the .vesk association" association_in_place
check "the upgraded Tidemark.exe is version $next" \
  python3 "$root/tests/package/check-versioninfo.py" "$next" "$dir/Tidemark.exe"

check "silent uninstall" msiexec uninstall /x "C:\\packages\\$(basename "$next_msi")"
check "the programs are gone" no_program_in "$dir"
check "the Start-menu shortcut is gone" no_menu_shortcut
check "the .vesk association is gone" bash -c "! wine reg query 'HKCR\\.vesk' >/dev/null 2>&1 && ! wine reg query 'HKCR\\Tidemark.vesk\\shell\\open\\command' >/dev/null 2>&1"
check "the all-users start-up shortcut is gone" test ! -e "$common_startup/Tidemark.lnk"
check "the user's start-up shortcut is gone" test ! -e "$user_startup/Tidemark.lnk"
check "the system-start task's file is gone" test ! -e "$task_file"
check "the event source is removed" no_event_source
check "Programs and Features no longer lists Tidemark" bash -c "! wine reg query 'HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{$(product_code "$next")}' >/dev/null 2>&1"
check "the uninstall keeps Tidemark.ini" cmp -s "$work/Tidemark.ini.before" "$dir/Tidemark.ini"
check "the uninstall keeps the user's settings file" test -f "$user_settings"

# The company's settings at install: a transfer file as Stowel writes it,
# for this computer's memory size, in a folder with blanks; every value
# differs from the kept Tidemark.ini's.
mkdir -p "$c/company files"
total="${total:-$(wine wmic computersystem get TotalPhysicalMemory 2>/dev/null | tr -d '\r\0' | grep -oE '[0-9]+' | head -1)}"
printf '[AppSettingFlag]\r\nPhysMemSize=%s\r\nMemCleanExeMemSize=268435456\r\nMemCleanSize=96\r\nMemCleanForm=First\r\n[ExitTrigProcList]\r\nRender.exe=C:\\Tools\\Render.exe\r\n' \
  "$total" >"$c/company files/company settings.vesk"
check "silent install again with TIDEMARKSETTINGS" \
  msiexec reinstall /i "C:\\packages\\$(basename "$next_msi")" 'TIDEMARKSETTINGS=C:\company files\company settings.vesk'
installed_ini='C:\Program Files\Tidemark Suite\Tidemark.ini'
imported_values() {
  [ "$(profile_value "$installed_ini" AppSettingFlag MemCleanExeMemSize)" = 268435456 ] &&
    [ "$(profile_value "$installed_ini" AppSettingFlag MemCleanSize)" = 96 ] &&
    [ "$(profile_value "$installed_ini" AppSettingFlag MemCleanForm)" = First ] &&
    [ "$(profile_value "$installed_ini" ExitTrigProcList Render.exe)" = 'C:\Tools\Render.exe' ] &&
    [ "$(profile_value "$installed_ini" AppSettingFlag STMCProcReplaceFlag)" = True ]
}
check "TIDEMARKSETTINGS imports the trigger, size, mode and watch list (read by the profile function)" imported_values
check "the event source is registered again" event_source_registered
check "silent uninstall with REMOVESETTINGS=1" msiexec remove-settings /x "C:\\packages\\$(basename "$next_msi")" REMOVESETTINGS=1
check "REMOVESETTINGS=1 removes Tidemark.ini and the install folder" test ! -e "$dir"
check "REMOVESETTINGS=1 removes the user's settings file" test ! -e "$user_settings"
check "the event source is removed again" no_event_source

finish

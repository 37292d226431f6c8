#!/usr/bin/env bash
# Tidemark's cost while idle against a minimal tray program (one hidden
# window, one tray icon, a one-second timer) under the same Wine: CPU time
# and resident memory of each over a stretch of idle running, as ratios.
# Measured from the Linux side, where Wine's processes are plain processes.
#   idle-cost.sh <folder with Tidemark.exe, Ramhold.dll, tm_minimal_tray.exe> [seconds]
set -euo pipefail
bin="$1"
seconds="${2:-120}"
ticks=$(getconf CLK_TCK)
work=$(mktemp -d)
cp "$bin/Tidemark.exe" "$bin/Ramhold.dll" "$work/"
cp "$bin/tm_minimal_tray.exe" "$work/"

# Prints "cpu-seconds rss-kB" for a program idling for $seconds after a
# ten-second settling (Tidemark cleans once at start-up).
measure() {
  local exe="$1"
  (cd "$work" && wine "$exe" >/dev/null 2>&1 &)
  local pid=""
  for _ in $(seq 1 100); do
    pid=$(pgrep -xf "$exe" | head -1 || true)   # the Wine process itself, named by its program
    [ -n "$pid" ] && break
    sleep 0.1
  done
  [ -n "$pid" ] || { echo "0 0"; return; }
  sleep 10
  local t0 t1 rss
  t0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  sleep "$seconds"
  t1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
  rss=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")
  kill "$pid" 2>/dev/null || true
  sleep 1
  awk -v a="$t0" -v b="$t1" -v t="$ticks" -v r="$rss" 'BEGIN { printf "%.2f %d\n", (b - a) / t, r }'
}

read -r tcpu trss < <(measure Tidemark.exe)
read -r mcpu mrss < <(measure tm_minimal_tray.exe)
rm -rf "$work"
awk -v s="$seconds" -v tc="$tcpu" -v tr="$trss" -v mc="$mcpu" -v mr="$mrss" 'BEGIN {
  printf "idle %d s        cpu(s)   resident(MB)\n", s
  printf "Tidemark      %8.2f   %12.1f\n", tc, tr / 1024
  printf "minimal tray  %8.2f   %12.1f\n", mc, mr / 1024
  printf "ratio         %8.2f   %12.2f\n", (mc > 0 ? tc / mc : 0), (mr > 0 ? tr / mr : 0)
}'

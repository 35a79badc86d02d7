#!/usr/bin/env bash
# A guest PC as the installer leaves it, under Wine: the guest part installed silently with the
# guard, which runs as a real service (started by the service manager) and starts the lock window
# into the logged-on session itself. A code unlocks it; the window killed as a guest would
# ("taskkill /f") comes back with the countdown where it was while the code file kept counting;
# killed while locked it comes back locked; a program of another name on the pipe is refused and
# its garbage changes nothing; the uninstall takes the service and the window away.
set -euo pipefail
setup=$1
codes=$2
probe=$3
root=$(cd "$(dirname "$0")/.." && pwd)
run() { "$root/scripts/wine-run" "$@"; }
prefix="${WINEPREFIX:-$root/build/wineprefix}"
c="$prefix/drive_c"
fail() { echo "guarded station test: $*" >&2; exit 1; }
dir='C:\SentavoStrazena'
share='C:\SdilenoStraz\kody'
cleanup() {
  if [ -f "$c/SentavoStrazena/Uninstall.exe" ]; then
    run "$dir\\Uninstall.exe" /S "_?=$dir" >/dev/null 2>&1 || true
  fi
  pkill -f 'SentavoStrazena.Sentavo(Guard|Client).exe' 2>/dev/null || true
  rm -rf "$c/SentavoStrazena" "$c/SdilenoStraz"
}
trap cleanup EXIT
cleanup

probe() { run "$probe" "$@" | tr -d '\r'; }
led() { probe led || true; }
# Seconds shown on the countdown ("H:MM:SS"), or nothing.
led_seconds() { led | awk -F: 'NF == 3 { print $1 * 3600 + $2 * 60 + $3 }'; }
seconds_left() {  # the code file's secondsLeft
  run "$codes" show "$share\\$1.dat" | tr -d '\r' | awk -F': ' '/"secondsLeft"/ { sub(",", "", $2); print $2 }'
}
wait_for() {  # seconds, command...: true once the command succeeds
  local until=$(( $(date +%s) + $1 )); shift
  until "$@"; do [ "$(date +%s)" -lt "$until" ] || return 1; sleep 0.2; done
}
is_locked() { [ "$(led)" = LOCKED ]; }
counts_down() { [ -n "$(led_seconds)" ]; }
# The lock window shown by another process than $1 (the one that was killed).
window_other_than() { local p; p=$(probe window) && [ "$p" != "$1" ]; }

run "$setup" /S /PART=client "/SHARE=$share" /PROVOZOVNA=Korvalen /PASSWORD=Tajne-7 "/D=$dir" \
  || fail "the guarded install exited $?"
run sc query SentavoGuard 2>/dev/null | grep -q RUNNING || fail "the guard service does not run"
first=$(probe window) || fail "the service started no lock window"
wait_for 10 is_locked || fail "the lock window shows \"$(led)\", not LOCKED"

run "$codes" issue --share "$share" --name 4712 --seconds 600 --type once --establishment Korvalen >/dev/null
probe type 4712 || fail "no code entry to type into"
wait_for 10 counts_down || { import -window root /tmp/gs-fail.png; fail "the code did not unlock: \"$(led)\""; }
sleep 3
shown=$(led_seconds)
stored=$(seconds_left 4712)

# A guest ends the window during the period.
start=$(date +%s%N)
run taskkill /f /im SentavoClient.exe >/dev/null 2>&1 || fail "taskkill found no SentavoClient.exe"
wait_for 30 window_other_than "$first" || fail "no lock window came back after taskkill"
second=$(probe window)
echo "killed during a period: the lock window back after $(( ($(date +%s%N) - start) / 1000000 )) ms"
wait_for 10 counts_down || fail "the window came back without the countdown: \"$(led)\""
again=$(led_seconds)
[ "$again" -le "$shown" ] || fail "the countdown jumped back from $shown s to $again s"
[ "$again" -gt $((shown - 60)) ] || fail "the countdown lost time: $shown s, then $again s"
later=$(seconds_left 4712)
[ "$later" -lt "$stored" ] || fail "the code file stopped counting: $stored s, then $later s"

# Locked, then killed: back locked, not open.
probe logoff || fail "no log-off button"
wait_for 10 is_locked || fail "the log-off did not lock: \"$(led)\""
run taskkill /f /im SentavoClient.exe >/dev/null 2>&1 || fail "taskkill found no SentavoClient.exe"
wait_for 30 window_other_than "$second" || fail "no lock window came back after taskkill"
third=$(probe window)
wait_for 10 is_locked || fail "the window killed while locked came back as \"$(led)\""

# A guest's own program on the pipe while no window holds it (the lock window's program moved
# aside, so that the guard cannot start another meanwhile): refused, and what it sent changes
# nothing.
mv "$c/SentavoStrazena/SentavoClient.exe" "$c/SentavoStrazena/client.away"
run taskkill /f /im SentavoClient.exe >/dev/null 2>&1 || true
probe stranger || fail "a program of another name on the pipe was served"
mv "$c/SentavoStrazena/client.away" "$c/SentavoStrazena/SentavoClient.exe"
wait_for 30 window_other_than "$third" || fail "no lock window after the stranger"
wait_for 10 is_locked || fail "after the stranger the window shows \"$(led)\""
run "$codes" issue --share "$share" --name 4713 --seconds 300 --type once --establishment Korvalen >/dev/null
probe type 4713 || fail "no code entry to type into"
wait_for 10 counts_down || fail "after the stranger a code no longer unlocks: \"$(led)\""

run "$dir\\Uninstall.exe" /S "_?=$dir" || fail "uninstall exited $?"
run sc query SentavoGuard >/dev/null 2>&1 && fail "the guard service is still registered"
for _ in $(seq 50); do pgrep -f 'SentavoStrazena.SentavoClient.exe' >/dev/null || break; sleep 0.1; done
pgrep -f 'SentavoStrazena.SentavoClient.exe' >/dev/null && fail "the lock window outlived the uninstall"
echo "guarded station: service, unlock, killed windows, a stranger on the pipe and the uninstall passed"

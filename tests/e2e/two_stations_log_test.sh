#!/usr/bin/env bash
# Two stations on one shared folder, each ending a guest's period every way there is: log-off, time
# up, the validity window's end, "Zamknout" and a kill. Each station is a Wine of its own with a
# computer name of its own: a copy of the test prefix whose Wine server starts in a UTS namespace
# with that host name (Wine takes the computer name from it). The station test checks its own five
# lines; this checks that each station wrote its own month file and nothing else.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
exe="$root/build/windows/tests/e2e/client_e2e_tests.exe"
[ -f "$exe" ] || { echo "two-stations: build the windows tree first" >&2; exit 1; }
work=$(mktemp -d /tmp/sentavo-two-stations.XXXXXX)
cleanup() { rm -rf "$work"; }
trap cleanup EXIT
shared="$work/shared"
mkdir -p "$shared"

# A host name of its own needs a UTS namespace: root makes one at once, anyone else inside a user
# namespace of their own (where they are root and the prefix is theirs).
namespace=(unshare --uts)
[ "$(id -u)" -eq 0 ] || namespace=(unshare --user --map-root-user --uts)

# The station test in a prefix of its own under host name $1.
station() {
  local pc=$1 prefix="$work/prefix-$1"
  cp -a "$root/build/wineprefix" "$prefix"
  if ! "${namespace[@]}" bash -c '
      set -euo pipefail
      hostname "$1"
      export WINEPREFIX="$2" SENTAVO_E2E_SHARED="Z:${3//\//\\}"
      source "$4/scripts/wine-session"
      wine_session_start
      trap wine_session_stop EXIT
      cd "$(dirname "$5")"
      "$4/scripts/wine-run" "$5" --gtest_filter="StationE2E.EveryWayAPeriodEndsIsOneLineOfTheUsageLog"
    ' station "$pc" "$prefix" "$shared" "$root" "$exe"; then
    echo "two-stations: the station test failed on $pc" >&2
    return 1
  fi
  rm -rf "$prefix"
}

station PC-01
station PC-02

month=$(date +%Y-%m)
status=0
for pc in PC-01 PC-02; do
  file="$shared/log/$pc-$month.csv"
  if [ ! -f "$file" ]; then
    echo "two-stations: no log of $pc ($file)" >&2
    status=1
    continue
  fi
  # The header, then five periods, each of this station and of its own codes.
  lines=$(($(wc -l <"$file") - 1))
  own=$(grep -c "^$pc;$pc-" "$file" || true)
  if [ "$lines" -ne 5 ] || [ "$own" -ne 5 ]; then
    echo "two-stations: $pc's log holds $lines periods, $own of its own:" >&2
    cat "$file" >&2
    status=1
  fi
done
others=$(find "$shared/log" -type f ! -name "PC-01-$month.csv" ! -name "PC-02-$month.csv" | wc -l)
[ "$others" -eq 0 ] || { echo "two-stations: other files in the log folder" >&2; status=1; }
[ "$status" -eq 0 ] && echo "two-stations: both stations logged each of their five periods in a file of their own"
exit "$status"

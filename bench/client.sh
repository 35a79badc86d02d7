#!/usr/bin/env bash
# Prints SentavoClient's figures (not a test): the time from process start to the locked window
# with every switch applied, the CPU time per minute while locked and during a guest's period
# (measured over $SAMPLE seconds, scaled to a minute), and the time of one Timer1 tick with a
# local shared folder (native micro-benchmark). Needs the native and windows trees built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
SAMPLE=${SAMPLE:-15}

cmake --build --preset native -j2 --target client_timer1_bench sentavo-codes >/dev/null
bench="$root/build/native/bench/client_timer1_bench"
"$bench"

cmake --build --preset windows -j2 --target SentavoClient client_type_code >/dev/null
# shellcheck source=/dev/null
source "$root/scripts/wine-session"
wine_session_start
export LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
trial_key='HKLM\Software\Brenholt\SystemLock\Gina'
trap 'kill "${client:-0}" 2>/dev/null || true; wine reg delete "$trial_key" /v Journal /f /reg:64 >/dev/null 2>&1 || true; wine_session_stop; rm -rf "$work"' EXIT
mkdir -p "$work/app" "$work/shared"
cp "$root/build/windows/client/SentavoClient.exe" "$root/build/windows/client/lockgina.dll" \
   "$work/app/"
# Sentavo.cfg naming the shared folder, and a guest code of an hour in it.
"$bench" --config "$work/app/Sentavo.cfg" "Z:${work//\//\\}\\shared\\"
"$root/build/native/tools/sentavo-codes/sentavo-codes" issue --share "$work/shared" --name bench \
  --seconds 3600 --type once --reusable >/dev/null
journal="$work/journal.txt"
# The library's trial mode is the machine's value; removed again on the way out.
wine reg add "$trial_key" /v Journal /d "Z:${journal//\//\\}" /f /reg:64 >/dev/null

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
switches() { if [ -f "$journal" ]; then grep -cE '^wlDisable(Key|Item)\(' "$journal" || true; else echo 0; fi; }

start=$(date +%s%N)
(cd "$work/app" && exec wine SentavoClient.exe) &
client=$!
# The start-up applies the fifteen library switches (and the run-once entry) before anything is
# shown; under Wine the logon-component notice comes up first, then the window.
until [ "$(switches)" -ge 15 ] && xwininfo -root -tree 2>/dev/null | grep -q '"Sentavo"'; do
  sleep 0.01
done
shown=$(date +%s%N)
echo "start to locked (15 switches applied, first window up): $(( (shown - start) / 1000000 )) ms"
xdotool key Return  # the notice has the focus
until xwininfo -root -tree 2>/dev/null | grep -q 'Sentavo - Client - Korvalen'; do sleep 0.01; done
locked=$(date +%s%N)
echo "start to the lock window shown (notice answered at once): $(( (locked - start) / 1000000 )) ms"

measure() {
  local before after
  sleep 2
  before=$(ticks "$client")
  sleep "$SAMPLE"
  after=$(ticks "$client")
  awk -v t=$((after - before)) -v hz="$hz" -v s="$SAMPLE" -v what="$1" \
    'BEGIN { printf "CPU per minute %s: %.2f s (%.1f%% of one core)\n", what, t / hz * 60 / s, t / hz / s * 100 }'
}
measure "while locked"
wine "$root/build/windows/bench/client_type_code.exe" bench
sleep 2
"$root/build/native/tools/sentavo-codes/sentavo-codes" show "$work/shared/bench.dat" |
  grep -E '"(loggedIn|secondsLeft)"' | tr -d ' \n'
echo
measure "during a guest period"
echo "peak memory of SentavoClient (wine process, VmHWM): $(awk '/VmHWM/ {print $2, $3}' "/proc/$client/status")"

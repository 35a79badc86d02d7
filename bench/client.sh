#!/usr/bin/env bash
# Prints SentavoClient's figures (not a test), all from one run: the time from process start to the
# locked window with every switch applied and the peak memory, each against the empty-window
# program (bench/empty_window_win.cpp) started the same way; the CPU time per minute while locked
# and during a guest's period (measured over $SAMPLE seconds, scaled to a minute) beside a program
# that only polls the pointer as Timer2 does; and the time of one Timer1 tick with a local shared
# folder (native micro-benchmark). Needs the native and windows trees built. $ROUNDS starts of each
# program are timed, alternating; the median is printed. $SENTAVO_BENCH_APP may name another folder
# holding SentavoClient.exe and lockgina.dll, to measure an older build in the same way.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
SAMPLE=${SAMPLE:-15}
ROUNDS=${ROUNDS:-3}

cmake --build --preset native -j2 --target client_timer1_bench sentavo-codes >/dev/null
bench="$root/build/native/bench/client_timer1_bench"
"$bench"

cmake --build --preset windows -j2 --target SentavoClient lockgina client_type_code empty_window \
  timer2_yardstick >/dev/null
app=${SENTAVO_BENCH_APP:-$root/build/windows/client}
# shellcheck source=/dev/null
source "$root/scripts/wine-session"
wine_session_start
export LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
trial_key='HKLM\Software\Brenholt\SystemLock\Gina'
running=()
stop_all() { for p in "${running[@]}"; do kill "$p" 2>/dev/null || true; done; running=(); }
trap 'stop_all; wine reg delete "$trial_key" /v Journal /f /reg:64 >/dev/null 2>&1 || true; wine_session_stop; rm -rf "$work"' EXIT
mkdir -p "$work/app" "$work/shared" "$work/empty"
cp "$app/SentavoClient.exe" "$app/lockgina.dll" "$work/app/"
cp "$root/build/windows/bench/empty_window.exe" "$work/empty/"
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
# Whether a window of that title is on the screen (mapped), not merely made.
window_up() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }
peak_kb() { awk '/VmHWM/ {print $2}' "/proc/$1/status"; }
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
# Ends a program started here and waits until Wine has let it go.
finish() {
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
  running=()
  sleep 1
}

# The empty-window program: start to its window on screen, and its peak memory once it is up.
start_empty() {
  local start
  start=$(now_ms)
  (cd "$work/empty" && exec wine empty_window.exe) &
  running=($!)
  until window_up 'Sentavo empty window'; do sleep 0.01; done
  empty_ms+=($(($(now_ms) - start)))
  sleep 1
  empty_kb+=("$(peak_kb "${running[0]}")")
}

# The client: start to locked (the fifteen library switches applied and its first window up; under
# Wine the logon-component notice comes first), then to the lock window itself on the screen once
# the notice is answered (by a Windows program: X keys would follow the pointer, which Timer2
# keeps taking back to the hidden code entry).
start_client() {
  local start
  rm -f "$journal"
  start=$(now_ms)
  (cd "$work/app" && exec wine SentavoClient.exe) &
  client=$!
  running=("$client")
  until [ "$(switches)" -ge 15 ] && window_up 'Sentavo'; do sleep 0.01; done
  client_ms+=($(($(now_ms) - start)))
  wine "$root/build/windows/bench/client_type_code.exe" --notice
  until window_up 'Sentavo - Client - Korvalen'; do sleep 0.01; done
  shown_ms+=($(($(now_ms) - start)))
}

# Alternating which program starts first, so that neither always comes after the other.
empty_ms=() empty_kb=() client_ms=() shown_ms=()
for round in $(seq "$ROUNDS"); do
  if [ $((round % 2)) -eq 0 ]; then
    start_client
    finish "$client"
  fi
  start_empty
  finish "${running[0]}"
  if [ $((round % 2)) -eq 1 ]; then
    start_client
    if [ "$round" -lt "$ROUNDS" ]; then finish "$client"; fi
  fi
done
# The last round leaves a client locked for what follows.
if [ $((ROUNDS % 2)) -eq 0 ]; then start_client; fi
# The client started again only to be measured on is not counted.
client_ms=("${client_ms[@]:0:$ROUNDS}") shown_ms=("${shown_ms[@]:0:$ROUNDS}")
e=$(median "${empty_ms[@]}") c=$(median "${client_ms[@]}") s=$(median "${shown_ms[@]}")
awk -v e="$e" -v c="$c" -v s="$s" -v n="$ROUNDS" 'BEGIN {
  printf "start to locked (15 switches applied, first window up), median of %d: empty window %d ms, SentavoClient %d ms: ratio %.2f\n", n, e, c, c / e
  printf "start to the lock window on the screen (notice answered by a program): %d ms\n", s }'

measure() {
  local before after
  sleep 2
  before=$(ticks "$1")
  sleep "$SAMPLE"
  after=$(ticks "$1")
  awk -v t=$((after - before)) -v hz="$hz" -v s="$SAMPLE" -v what="$2" \
    'BEGIN { printf "CPU per minute %s: %.2f s (%.1f%% of one core)\n", what, t / hz * 60 / s, t / hz / s * 100 }'
}
measure "$client" "while locked"
wine "$root/build/windows/bench/client_type_code.exe" bench
sleep 2
"$root/build/native/tools/sentavo-codes/sentavo-codes" show "$work/shared/bench.dat" |
  grep -E '"(loggedIn|secondsLeft)"' | tr -d ' \n'
echo
measure "$client" "during a guest period"
client_kb=$(peak_kb "$client")
finish "$client"
ek=$(median "${empty_kb[@]}")
awk -v c="$client_kb" -v e="$ek" 'BEGIN {
  printf "peak memory (VmHWM of the Wine process): empty window %.1f MB, SentavoClient %.1f MB (after the locked sample and a period): ratio %.2f\n", e / 1024, c / 1024, c / e }'

# What Timer2's polling costs by itself under Wine: the least program with a 1 ms window timer,
# once doing nothing at a tick and once reading the pointer (GetCursorPos) at each.
for what in timer cursor; do
  (cd "$work/empty" && exec wine "$root/build/windows/bench/timer2_yardstick.exe" "$what") &
  running=($!)
  until window_up 'Sentavo timer yardstick'; do sleep 0.01; done
  measure "${running[0]}" "of a program with Timer2 alone ($what)"
  finish "${running[0]}"
done

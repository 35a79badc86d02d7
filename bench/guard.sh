#!/usr/bin/env bash
# Prints the guard's figures beside the standalone client's, measured in one run under Wine (not a
# test): Enter to the countdown shown (with the guard, a round trip through its pipe), CPU per
# minute while locked and during a guest's period (the guard and its lock window together), and a
# killed lock window to the lock window back on screen.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
SAMPLE=${SAMPLE:-15}
cmake --build --preset native -j2 --target sentavo-codes >/dev/null
cmake --build --preset windows -j2 --target SentavoClient SentavoGuard client_type_code >/dev/null
# shellcheck source=/dev/null
source "$root/scripts/wine-session"
wine_session_start
export LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
work=$(mktemp -d)
trial_key='HKLM\Software\Brenholt\SystemLock\Gina'
trap 'pkill -f "$(basename "$work").app" 2>/dev/null || true; wine reg delete "$trial_key" /v Journal /f /reg:64 >/dev/null 2>&1 || true; wine_session_stop; rm -rf "$work"' EXIT
mkdir -p "$work/app" "$work/shared"
cp "$root/build/windows/client/SentavoClient.exe" "$root/build/windows/client/lockgina.dll" \
   "$root/build/windows/guard/SentavoGuard.exe" "$work/app/"
codes="$root/build/native/tools/sentavo-codes/sentavo-codes"
"$codes" config --out "$work/app/Sentavo.cfg" --server-path "Z:${work//\//\\}\\shared" \
  --establishment Korvalen --password bench >/dev/null
wine reg add "$trial_key" /v Journal /d "Z:${work//\//\\}\\journal.txt" /f /reg:64 >/dev/null
hz=$(getconf CLK_TCK)
# The Wine processes of one of our programs: their command lines name the Windows path.
tag=$(basename "$work")
pids() { pgrep -f "$tag.app.$1" || true; }
ticks() { local t=0 p; for p in "$@"; do t=$((t + $(awk '{print $14 + $15}' "/proc/$p/stat" 2>/dev/null || echo 0))); done; echo "$t"; }
window_up() { xwininfo -root -tree 2>/dev/null | grep -q '"Sentavo - Client - Korvalen"'; }
cpu() {  # what, programs...
  local what=$1 before after; shift
  local ps=(); for p in "$@"; do mapfile -t -O "${#ps[@]}" ps < <(pids "$p"); done
  sleep 2
  before=$(ticks "${ps[@]}"); sleep "$SAMPLE"; after=$(ticks "${ps[@]}")
  awk -v t=$((after - before)) -v hz="$hz" -v s="$SAMPLE" -v w="$what" \
    'BEGIN { printf "  CPU per minute %s: %.2f s\n", w, t / hz * 60 / s }'
}
# The logon component's notice comes before the lock window; it has the focus.
answer_notice() {
  for _ in $(seq 100); do window_up && break; xdotool key Return 2>/dev/null || true; sleep 0.2; done
  sleep 1
}
win_app="Z:${work//\//\\}\\app"

echo "standalone SentavoClient:"
"$codes" issue --share "$work/shared" --name bench1 --seconds 3600 --type once --reusable --establishment Korvalen >/dev/null
(cd "$work/app" && exec wine "$win_app\\SentavoClient.exe") &
answer_notice
cpu "while locked" SentavoClient.exe
ms=$(wine "$root/build/windows/bench/client_type_code.exe" --time bench1 | tr -d '\r') \
  || { echo "  the code did not unlock the lock window: no figures of a guest period"; exit 1; }
echo "  Enter to the countdown shown: $ms ms"
cpu "during a guest period" SentavoClient.exe
pkill -f "$tag.app.SentavoClient.exe"; sleep 2
wine reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Runonce' /v SystemLockFrontApp /f >/dev/null 2>&1 || true

echo "SentavoGuard (console) with its lock window:"
"$codes" issue --share "$work/shared" --name bench2 --seconds 3600 --type once --reusable --establishment Korvalen >/dev/null
(cd "$work/app" && exec wine "$win_app\\SentavoGuard.exe" console >"$work/guard.log") &
answer_notice
cpu "while locked (guard and window)" SentavoGuard.exe SentavoClient.exe
ms=$(wine "$root/build/windows/bench/client_type_code.exe" --time bench2 | tr -d '\r') \
  || { echo "  the code did not unlock the lock window: no figures of a guest period"; exit 1; }
echo "  Enter to the countdown shown: $ms ms"
cpu "during a guest period (guard and window)" SentavoGuard.exe SentavoClient.exe
for round in 1 2 3; do
  start=$(date +%s%N)
  pkill -9 -f "$tag.app.SentavoClient.exe"
  while window_up; do sleep 0.01; done
  until window_up; do sleep 0.01; done
  echo "  killed lock window to the lock window back ($round): $(( ($(date +%s%N) - start) / 1000000 )) ms"
  sleep 3
done

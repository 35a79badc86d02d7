#!/usr/bin/env bash
# The README's main command as a person uses it. `scripts/run` on a display (an Xvfb of our own)
# opens the guest's PC and the operator's PC side by side; this drives one code through them with
# real X input (xdotool): the operator confirms the notice, logs in to SentavoAdmin, issues a code on
# "Vytváření kódů"; the guest types it on the lock screen. The shared folder then shows the guest's
# period running. A screenshot of both PCs is left in build/demo/screenshots/two-pcs.png.
# Everything it starts ends with it, and no client is left on the prefix's run-once list.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
demo="$root/build/demo"
log="$root/build/two-pcs-test.log"  # build/demo is made anew by scripts/run
reg="$root/build/wineprefix/system.reg"
export LC_ALL=C.UTF-8  # the window titles are UTF-8
guest_title="Sentavo – hostovský počítač"
operator_title="Sentavo – obsluha"
code="host$$"

fail() {
  echo "two-pcs: FAILED: $*" >&2
  import -window root "$root/build/two-pcs-failure.png" 2>/dev/null &&
    echo "two-pcs: the screen at that moment: build/two-pcs-failure.png" >&2
  echo "--- scripts/run said:" >&2
  cat "$log" >&2 || true
  exit 1
}
# Runs a command every 0.1 s until it succeeds, for at most $1 seconds.
wait_for() {
  local tries=$(($1 * 10))
  shift
  for _ in $(seq "$tries"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# A display of our own, wide enough for both PCs side by side. It has no window manager, so the
# keyboard focus follows the pointer.
fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
xvfb=$!
run=
cleanup() {
  # scripts/run ends the Wine server of the prefix and takes the client off the run-once list.
  if [ -n "$run" ]; then
    kill -TERM "$run" 2>/dev/null || true
    wait "$run" 2>/dev/null || true
  fi
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -f "$fdfile"
}
trap cleanup EXIT
wait_for 10 test -s "$fdfile" || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$fdfile")"

"$root/scripts/run" >"$log" 2>&1 &
run=$!

# --- finding windows: each PC is a display of its own in a window of ours; the Win32 windows of
# its Wine desktop are X windows on that display ---
window_named() { xdotool search --name "^$1\$" 2>/dev/null | head -n 1; }
# The PCs' displays, as scripts/run reports them: "... (the guest's, ...; display :N)".
pc_display() { sed -n "s/^.*$1.*; display \(:[0-9]*\)).*\$/\1/p" "$log" | head -n 1; }
both_pcs() {
  kill -0 "$run" 2>/dev/null || fail "scripts/run ended before both PCs appeared"
  guest=$(window_named "$guest_title")
  operator=$(window_named "$operator_title")
  guest_display=$(pc_display "the guest's")
  operator_display=$(pc_display "the operator's")
  [ -n "$guest" ] && [ -n "$operator" ] && [ -n "$guest_display" ] && [ -n "$operator_display" ]
}
# Sets wx wy ww wh (on our screen) to the shown window "$2" of the PC "$1" (guest or operator).
shown() {
  local display window id geometry at
  display=${1}_display window=${!1}
  display=${!display}
  while read -r id geometry at; do
    xwininfo -display "$display" -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' ||
      continue
    IFS='x+' read -r ww wh _ _ <<<"$geometry"
    IFS='+' read -r _ wx wy <<<"$at"
    wx=$((wx + $(xwininfo -id "$window" | awk '/Absolute upper-left X/ { print $NF }')))
    wy=$((wy + $(xwininfo -id "$window" | awk '/Absolute upper-left Y/ { print $NF }')))
    return 0
  done < <(xwininfo -display "$display" -root -tree 2>/dev/null |
    awk -v name="\"$2\":" 'index($0, name) { print $1, $(NF - 1), $NF }')
  return 1
}
gone() { ! shown "$@"; }
click() { xdotool mousemove --sync "$1" "$2" click 1; }
# A window manager gives the keyboard to the PC clicked into; without one it is given here.
keyboard_to() {
  xdotool windowfocus "$1"
  wait_for 5 focused "$1" || fail "the keyboard did not move to the window $1"
}
focused() { [ "$(xdotool getwindowfocus -f)" = "$1" ]; }
# The OK button of a message box shown as "$2" on desktop $1.
answer_box() {
  shown "$1" "$2" || return 1
  click $((wx + ww / 2)) $((wy + wh - 23))
  wait_for 10 gone "$1" "$2" || fail "the box \"$2\" did not close"
}
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null | awk 'NR == 2 { print $3 }'; }
is_white() { [ "$(pixel "$1" "$2")" = "#FFFFFF" ]; }
# The code file's secondsLeft (little-endian int32 at 20) and loggedIn (byte 335).
seconds_left() { od -An -t d4 -j 20 -N 4 "$demo/share/$code.dat" | tr -d ' '; }
logged_in() { [ "$(od -An -t u1 -j 335 -N 1 "$demo/share/$code.dat" 2>/dev/null | tr -d ' ')" = 1 ]; }

# scripts/run installs and builds first: the whole of that is bounded here.
wait_for 900 both_pcs || fail "the windows \"$guest_title\" and \"$operator_title\" did not appear"
echo "two-pcs: both PCs are up (displays $guest_display and $operator_display)"

# The guest's PC: the logon component's notice (where the machine policies are not in force), then
# the lock screen.
guest_ready() { shown guest "Sentavo" || shown guest "Sentavo - Client - Korvalen"; }
wait_for 60 guest_ready || fail "the guest's PC shows neither the notice nor the lock screen"
if shown guest "Sentavo"; then answer_box guest "Sentavo"; fi
wait_for 30 shown guest "Sentavo - Client - Korvalen" || fail "no lock screen on the guest's PC"
lock_x=$wx lock_y=$wy

# The operator's PC: "Používáte základní heslo…", then the login window.
wait_for 60 shown operator "Information" || fail "no notice about the default password"
answer_box operator "Information"
shown operator "Sentavo - Admin" || fail "no login window"
click $((wx + 188)) $((wy + 93))  # the password box
keyboard_to "$operator"
xdotool type --delay 40 vamor
click $((wx + 279)) $((wy + 138))  # "Ověřit"
wait_for 30 shown operator "Správa uživatelských kódů" || fail "the password did not open the code window"
codes_x=$wx codes_y=$wy

# "Vytváření kódů", the third tab: the code box (white, where the list of issued codes was black)
# takes a name.
click $((codes_x + 196)) $((codes_y + 30))
wait_for 10 is_white $((codes_x + 220)) $((codes_y + 67)) || fail "the tab \"Vytváření kódů\" did not open"
click $((codes_x + 220)) $((codes_y + 67))
xdotool type --delay 40 "$code"
click $((codes_x + 235)) $((codes_y + 378))  # the type of code: its first, "Jednorázový"
xdotool key Down Return
click $((codes_x + 499)) $((codes_y + 442))  # "Uložit kód"
answered() { shown operator "Information" || shown operator "Error"; }
wait_for 10 answered || fail "no answer to \"Uložit kód\""
if shown operator "Error"; then fail "SentavoAdmin refused the code (build/two-pcs-failure.png)"; fi
answer_box operator "Information"
[ -f "$demo/share/$code.dat" ] || fail "no code file $code.dat in the shared folder"
echo "two-pcs: the operator issued $code"

# The guest types the code on the lock screen; the period starts and the code file counts down.
click $((lock_x + 248)) $((lock_y + 218))  # the code box
keyboard_to "$guest"
xdotool type --delay 40 "$code"
xdotool key Return
wait_for 10 logged_in || fail "the guest's period did not start"
first=$(seconds_left)
falls() { [ "$(seconds_left)" -lt "$first" ]; }
wait_for 5 falls || fail "the time left stays at $first seconds"
echo "two-pcs: the guest's period runs ($(seconds_left) s left)"

xdotool mousemove --sync $((codes_x + 300)) $((codes_y + 200))
guest_h=$(xwininfo -id "$guest" | awk '/Height/ { print $NF }')
operator_right=$(xwininfo -id "$operator" | awk '/Absolute upper-left X/ { x = $NF } /Width/ { print x + $NF }')
import -window root -crop "${operator_right}x${guest_h}+0+0" +repage "$demo/screenshots/two-pcs.png"

# Ending the demo leaves nothing behind: no Wine server, no client on the run-once list.
kill -TERM "$run"
wait "$run" || true
run=
if grep -qi '^"SystemLockFrontApp"=' "$reg"; then fail "the client is left on the run-once list"; fi
echo "two-pcs: passed; both PCs in $demo/screenshots/two-pcs.png"

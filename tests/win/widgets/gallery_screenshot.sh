#!/usr/bin/env bash
# Starts widget-gallery.exe under Wine, waits for its window and its first animations, saves a
# screenshot of the whole X display, and lets the gallery close itself.
#   gallery_screenshot.sh <wine-run> <widget-gallery.exe> <output.png>
set -euo pipefail
run=$1 exe=$2 out=$3
if [ -z "${DISPLAY:-}" ]; then
  echo "gallery_screenshot: no X display; run the Windows tests under scripts/wine-session" >&2
  exit 1
fi
mkdir -p "$(dirname "$out")"
rm -f "$out"
"$run" "$exe" --exit-after 15 &
pid=$!
shown=no
for _ in $(seq 150); do
  if xdotool search --name "Sentavo widget gallery" >/dev/null 2>&1; then shown=yes; break; fi
  sleep 0.2
done
if [ "$shown" != yes ]; then
  echo "gallery_screenshot: the gallery window did not appear" >&2
  wait "$pid" || true
  exit 1
fi
sleep 4  # a few seconds of the clock and the reveals
import -window root "$out"
wait "$pid"
[ -s "$out" ] || { echo "gallery_screenshot: no picture saved" >&2; exit 1; }
echo "gallery_screenshot: saved $out"

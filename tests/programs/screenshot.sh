#!/usr/bin/env bash
# Screenshot of the launcher's login frame, taken on the host: starts the
# launcher under wine on the current DISPLAY and WINEPREFIX, waits until the
# frame has painted, saves the frame's screen area (over a checkerboard root,
# so the transparent parts of its shape show) and closes the launcher with its
# own close button.
#   screenshot_login.sh <launcher exe> <output png>
set -euo pipefail

exe=$1
out=$2
: "${DISPLAY:?needs the test session's DISPLAY}"
: "${WINEPREFIX:?needs the test session's WINEPREFIX}"
export WINEDEBUG=${WINEDEBUG:--all}
wine=/usr/lib/wine/wine64
work=$(mktemp -d)
launcher=""

cleanup() {
  if [ -n "$launcher" ] && kill -0 "$launcher" 2>/dev/null; then
    kill "$launcher" 2>/dev/null || true
  fi
  # Back to a plain black root.
  display -window root "$work/black.png" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

convert -size 8x8 xc:black "$work/black.png"
convert -size 64x64 pattern:checkerboard -scale 200% "$work/checker.png"

"$wine" "$exe" &
launcher=$!

# The frame's X window carries the launcher's process id and title.
find_window() {
  xdotool search --all --onlyvisible --pid "$launcher" --name "$1" 2>/dev/null | head -n1 || true
}
window=""
deadline=$((SECONDS + 60))
while [ -z "$window" ]; do
  window=$(find_window '^Zentari$')
  [ -n "$window" ] && break
  if [ -n "$(find_window '^提示$')" ]; then
    echo "another launcher holds the single-instance guard in this wine session" >&2
    exit 1
  fi
  kill -0 "$launcher" 2>/dev/null || { echo "the launcher ended early" >&2; exit 1; }
  [ "$SECONDS" -lt "$deadline" ] || { echo "no login frame on $DISPLAY" >&2; exit 1; }
  sleep 0.1
done
eval "$(xdotool getwindowgeometry --shell "$window")"
# Only now: an X server without clients resets its root when display quits.
# display leaves the background behind and reports failure; the screenshot
# shows whether it took.
display -window root "$work/checker.png" >/dev/null 2>&1 || true

# Painted once two shots in a row agree and the frame is not blank.
previous=""
painted=""
for _ in $(seq 60); do
  sleep 0.25
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/shot.png"
  sum=$(convert "$work/shot.png" -format '%#' info:)
  mean=$(convert "$work/shot.png" -colorspace gray -format '%[fx:mean]' info:)
  if [ "$sum" = "$previous" ] && awk -v m="$mean" 'BEGIN { exit !(m > 0.05) }'; then
    painted=1
    break
  fi
  previous=$sum
done
[ -n "$painted" ] || { echo "the login frame never finished painting" >&2; exit 1; }
mkdir -p "$(dirname "$out")"
cp "$work/shot.png" "$out"
echo "saved ${WIDTH}x${HEIGHT} at +${X}+${Y} to $out"

# The close button (closeRect 1043,155,1074,186 of the shipped configuration).
xdotool mousemove "$((X + 1058))" "$((Y + 170))" click 1
for _ in $(seq 100); do
  kill -0 "$launcher" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$launcher" 2>/dev/null; then
  echo "the close button did not end the launcher" >&2
  exit 1
fi
wait "$launcher" && code=0 || code=$?
launcher=""
[ "$code" -eq 0 ] || { echo "the launcher exited with $code" >&2; exit 1; }

#!/usr/bin/env bash
# Screenshots of the launcher's windows, taken on the host from the X display
# the launcher runs on (the test session's DISPLAY and WINEPREFIX).
#   screenshot.sh login <launcher exe> <output png> [reference png]
#     The login frame's screen area, over a checkerboard root so the
#     transparent parts of its shape show; then the frame's own close button
#     ends the launcher.
#   screenshot.sh play <launcher exe> <output png>
#     A copy of the launcher whose login page address carries the keyword
#     opens the play window at once; the whole screen is saved with the
#     maximised window on it. Then the title bar's close button and a yes to
#     the question end the launcher.
# With a reference picture, the shot must equal it pixel for pixel: the
# windows are drawn by the same code, skin and X server every run, so any
# difference is a change in how the launcher looks.
set -euo pipefail

mode=$1
exe=$2
out=$3
reference=${4:-}
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

# A copy of the launcher whose trailer is $2 instead of the built one: the
# trailer starts where the last section's raw data ends.
with_trailer() {
  python3 - "$1" "$2" "$3" <<'PY'
import struct, sys
src, trailer, dst = sys.argv[1], sys.argv[2], sys.argv[3]
data = open(src, 'rb').read()
nt = struct.unpack_from('<I', data, 0x3C)[0]
sections, = struct.unpack_from('<H', data, nt + 6)
optional, = struct.unpack_from('<H', data, nt + 20)
last = nt + 24 + optional + (sections - 1) * 40
size, pointer = struct.unpack_from('<II', data, last + 16)
open(dst, 'wb').write(data[:pointer + size] + trailer.encode('ascii'))
PY
}

# The launcher's X windows carry its process id and their titles.
find_window() {
  xdotool search --all --onlyvisible --pid "$launcher" --name "$1" 2>/dev/null | head -n1 || true
}

# Reads the geometry of the launcher's visible window titled $1 into X, Y,
# WIDTH and HEIGHT. A window that search has just found may still be mapped
# or replaced by wine, and geometry then fails with BadWindow: search again
# until one answers with a real size.
read_geometry() {
  local window answer deadline=$((SECONDS + 30))
  while :; do
    window=$(find_window "$1")
    if [ -n "$window" ] && answer=$(xdotool getwindowgeometry --shell "$window" 2>/dev/null); then
      X=$(sed -n 's/^X=\([0-9-]*\)$/\1/p' <<<"$answer")
      Y=$(sed -n 's/^Y=\([0-9-]*\)$/\1/p' <<<"$answer")
      WIDTH=$(sed -n 's/^WIDTH=\([0-9]*\)$/\1/p' <<<"$answer")
      HEIGHT=$(sed -n 's/^HEIGHT=\([0-9]*\)$/\1/p' <<<"$answer")
      if [ -n "$X" ] && [ -n "$Y" ] && [ "${WIDTH:-0}" -gt 1 ] && [ "${HEIGHT:-0}" -gt 1 ]; then
        return 0
      fi
    fi
    kill -0 "$launcher" 2>/dev/null || { echo "the launcher ended early" >&2; exit 1; }
    [ "$SECONDS" -lt "$deadline" ] || { echo "no readable geometry for window $1 on $DISPLAY" >&2; exit 1; }
    sleep 0.1
  done
}

# Runs one xdotool command and stops the script with its name when it fails.
xdo() {
  xdotool "$@" || { echo "xdotool $* failed" >&2; exit 1; }
}

# on_window NAME ARGS...: runs xdotool ARGS with the word WINDOW replaced by
# the launcher's window titled NAME, finding the window again while the
# command fails on it (bounded), for the same reason as read_geometry.
on_window() {
  local name=$1 window deadline=$((SECONDS + 30))
  shift
  while :; do
    window=$(find_window "$name")
    if [ -n "$window" ] && xdotool "${@//WINDOW/$window}" 2>/dev/null; then
      return 0
    fi
    [ "$SECONDS" -lt "$deadline" ] || { echo "xdotool $* on window $name kept failing" >&2; exit 1; }
    sleep 0.1
  done
}
wait_for_window() {
  local window="" deadline=$((SECONDS + 60))
  while [ -z "$window" ]; do
    window=$(find_window "$1")
    [ -n "$window" ] && break
    if [ "$1" != '^提示$' ] && [ -n "$(find_window '^提示$')" ]; then
      echo "another launcher holds the single-instance guard in this wine session" >&2
      exit 1
    fi
    kill -0 "$launcher" 2>/dev/null || { echo "the launcher ended early" >&2; exit 1; }
    [ "$SECONDS" -lt "$deadline" ] || { echo "no window $1 on $DISPLAY" >&2; exit 1; }
    sleep 0.1
  done
  echo "$window"
}

# Shoots the root, cropped to $1 when given, until two shots in a row agree
# and the picture is not blank; keeps it in $work/shot.png.
wait_painted() {
  local previous="" sum mean
  for _ in $(seq 80); do
    sleep 0.25
    import -window root ${1:+-crop "$1"} +repage "$work/shot.png" ||
      { echo "import could not read the root window of $DISPLAY" >&2; exit 1; }
    sum=$(convert "$work/shot.png" -format '%#' info:)
    mean=$(convert "$work/shot.png" -colorspace gray -format '%[fx:mean]' info:)
    if [ "$sum" = "$previous" ] && awk -v m="$mean" 'BEGIN { exit !(m > 0.05) }'; then
      return 0
    fi
    previous=$sum
  done
  echo "the $mode window never finished painting" >&2
  exit 1
}

save_shot() {
  mkdir -p "$(dirname "$out")"
  cp "$work/shot.png" "$out"
  echo "saved $(identify -format '%wx%h' "$out") to $out"
  [ -n "$reference" ] || return 0
  local differing
  differing=$(compare -metric AE "$out" "$reference" "${out%.png}-diff.png" 2>&1) || true
  if [ "$differing" != "0" ]; then
    echo "the $mode window differs from $reference in $differing pixels (see ${out%.png}-diff.png)" >&2
    exit 1
  fi
  echo "identical to $reference"
}

# Waits for the launcher to end by itself and checks its exit code.
expect_clean_exit() {
  for _ in $(seq 100); do
    kill -0 "$launcher" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$launcher" 2>/dev/null; then
    echo "$1 did not end the launcher" >&2
    exit 1
  fi
  wait "$launcher" && code=0 || code=$?
  launcher=""
  [ "$code" -eq 0 ] || { echo "the launcher exited with $code" >&2; exit 1; }
}

case $mode in
login)
  convert -size 64x64 pattern:checkerboard -scale 200% "$work/checker.png"
  "$wine" "$exe" &
  launcher=$!
  wait_for_window '^Zentari$' >/dev/null
  read_geometry '^Zentari$'
  # Only now: an X server without clients resets its root when display quits.
  # display leaves the background behind and reports failure; the screenshot
  # shows whether it took.
  display -window root "$work/checker.png" >/dev/null 2>&1 || true
  wait_painted "${WIDTH}x${HEIGHT}+${X}+${Y}"
  save_shot
  # The close button (closeRect 1043,155,1074,186 of the shipped configuration).
  xdo mousemove "$((X + 1058))" "$((Y + 170))" click 1
  expect_clean_exit "the close button"
  ;;
play)
  # Nothing listens on the discard port: the navigation is cancelled before
  # the login page would load, and the game page stays empty.
  with_trailer "$exe" "http://127.0.0.1:9/play?client=pc|tencent://message/?uin=10000&Site=zentari" \
    "$work/varnelTemplate.exe"
  "$wine" "$work/varnelTemplate.exe" &
  launcher=$!
  wait_for_window '^zntr$' >/dev/null
  # The launcher maximises the window right after creating it. Without a
  # window manager nothing answers the maximise request, and wine keeps the X
  # window at its former size while the window lays itself out for the whole
  # work area; do the window manager's part.
  sleep 1
  on_window '^zntr$' windowmove WINDOW 0 0 windowsize WINDOW 100% 100%
  wait_painted ""
  save_shot
  # The close button is the rightmost of the title bar's 27-pixel buttons,
  # which sit 3 pixels below the window's top.
  read_geometry '^zntr$'
  xdo mousemove "$((X + WIDTH - 14))" "$((Y + 16))" click 1
  wait_for_window '^提示$' >/dev/null
  on_window '^提示$' key --window WINDOW Return
  expect_clean_exit "the close button and its question"
  ;;
*)
  echo "usage: screenshot.sh login|play <launcher exe> <output png>" >&2
  exit 2
  ;;
esac

#!/usr/bin/env bash
# ctest's emulator: runs a Windows test exe under wine64 in the session that
# scripts/test.sh started (WINEPREFIX and DISPLAY come from there).
: "${WINEPREFIX:?run the tests through scripts/test.sh}"
export WINEDEBUG=${WINEDEBUG:--all}
exec /usr/lib/wine/wine64 "$@"

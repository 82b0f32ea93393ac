# Shared by scripts/run.sh and scripts/test.sh: installs what a fresh Debian
# machine lacks, configures and builds, and starts (then stops) exactly the
# Xvfb and wineserver this run needs. Source it; don't run it.

set -euo pipefail

VARNEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VARNEL_BUILD=${VARNEL_BUILD:-$VARNEL_ROOT/build}
WINE_BIN=/usr/lib/wine/wine64

log() { printf '== %s\n' "$*" >&2; }

# Debian packages the build and the tests need; nothing from i386.
varnel_packages=(
  cmake make file zip unzip p7zip-full python3 imagemagick xdotool x11-utils
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  libz-mingw-w64-dev libstb-dev googletest wine64 xvfb
)

ensure_packages() {
  local missing=()
  for p in "${varnel_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if ((${#missing[@]})); then
    log "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

# configure_build ARCH TARGET [extra cmake args...]: ARCH is i686 or x86_64,
# TARGET a build target ("all" for everything).
configure_build() {
  local arch=$1 target=$2; shift 2
  local dir=$VARNEL_BUILD/$arch
  cmake -S "$VARNEL_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$VARNEL_ROOT/cmake/toolchain-$arch.cmake" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$VARNEL_ROOT/scripts/wine-exec.sh" "$@" >/dev/null
  cmake --build "$dir" --target "$target" -j "$(nproc)" >"$dir/build.log" 2>&1 || { tail -n 60 "$dir/build.log"; return 1; }
}

varnel_started_xvfb=""
varnel_started_wineserver=""

stop_session() {
  if [ -n "$varnel_started_wineserver" ]; then
    WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true
    varnel_started_wineserver=""
  fi
  if [ -n "$varnel_started_xvfb" ]; then
    kill "$varnel_started_xvfb" >/dev/null 2>&1 || true
    wait "$varnel_started_xvfb" 2>/dev/null || true
    varnel_started_xvfb=""
  fi
}

# start_session [force-xvfb]: a wine prefix under the build folder, a display
# (our own Xvfb unless one exists and force-xvfb is not given) and a persistent
# wineserver so each test exe starts fast.
start_session() {
  export WINEPREFIX=$VARNEL_BUILD/wineprefix
  export WINEDEBUG=-all
  export WINEARCH=win64
  # Wine takes its ANSI code page from the locale; the suite's expectations
  # are written for the one C.UTF-8 gives (1252), whatever the host's is.
  export LC_ALL=C.UTF-8
  trap stop_session EXIT
  if [ "${1:-}" = force-xvfb ] || [ -z "${DISPLAY:-}" ]; then
    local n=90
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
    varnel_started_xvfb=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "creating the wine prefix in $WINEPREFIX"
    # No Mono or Gecko installer prompts during the first boot.
    WINEDLLOVERRIDES="mscoree,mshtml=" "$WINE_BIN" wineboot -i >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver64 -w || true
  fi
  /usr/lib/wine/wineserver64 -p >/dev/null 2>&1
  varnel_started_wineserver=1
  # Start wine's background services now, detached from our output: the first
  # wine process otherwise lends them its stdout, and a test runner reading that
  # pipe would wait for an end of file that never comes.
  "$WINE_BIN" wineboot </dev/null >/dev/null 2>&1 || true
}

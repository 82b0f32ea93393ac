#!/usr/bin/env bash
# Builds the launcher and runs it under wine64 (inside a private Xvfb when no
# display is set). wine64 cannot run the 32-bit product, so this runs the
# x86_64 build of the same sources; the i686 exe lands in build/i686.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages
configure_build x86_64 varnelTemplate
configure_build i686 varnelTemplate
start_session
log "running $VARNEL_BUILD/x86_64/varnelTemplate.exe"
set +e
"$WINE_BIN" "$VARNEL_BUILD/x86_64/varnelTemplate.exe"
rc=$?
log "launcher exited with code $rc"
exit $rc

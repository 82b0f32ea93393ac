#!/usr/bin/env bash
# Builds both architectures and runs the whole test suite under wine64 + Xvfb.
# Both builds stop at any warning; the product's (i686) exe is checked by the
# suite but cannot run here, so the tests run the x86_64 build.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

ensure_packages
log "building i686 (product)"
configure_build i686 all -DVARNEL_WERROR=ON
log "building x86_64 (tests)"
configure_build x86_64 all -DVARNEL_WERROR=ON -DVARNEL_BUILD_TESTS=ON -DVARNEL_BUILD_BENCH=ON \
  -DVARNEL_PRODUCT_EXE="$VARNEL_BUILD/i686/varnelTemplate.exe"
start_session force-xvfb
log "running the tests"
cd "$VARNEL_BUILD/x86_64"
ctest --output-on-failure --timeout 300 "$@"

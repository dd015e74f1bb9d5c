#!/usr/bin/env bash
# Sets up the machine (once), builds the dependencies (once, cached) and
# builds Orbisk and its tests into build/.
set -euo pipefail
. "$(dirname "$0")/lib/common.sh"

bash "$ORBISK_ROOT/scripts/setup-host.sh"
t0=$SECONDS
bash "$ORBISK_ROOT/scripts/build-deps.sh"
log "dependencies ready in $((SECONDS - t0)) s"

# Configured every time: the tree picks up subsystem folders that appear
# (a merge adding core/CMakeLists.txt), and an unchanged tree takes a second.
cmake -S "$ORBISK_ROOT" -B "$ORBISK_BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$ORBISK_ROOT/cmake/toolchain-mingw32.cmake" \
    -DCMAKE_BUILD_TYPE="${ORBISK_BUILD_TYPE:-RelWithDebInfo}" \
    -DORBISK_TEST_HOOKS="${ORBISK_TEST_HOOKS:-ON}" \
    -DORBISK_DEPS_FILE="$ORBISK_BUILD/deps.cmake" \
    -DPython3_EXECUTABLE=/usr/bin/python3 >/dev/null
cmake --build "$ORBISK_BUILD" -j"$ORBISK_JOBS"

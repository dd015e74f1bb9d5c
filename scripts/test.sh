#!/usr/bin/env bash
# Sets up, builds, and runs every test: the Windows test programs under Wine
# (with Xvfb and a PulseAudio null sink), and the checks run on Linux.
# Tests that need the screen or the sound server to themselves run side by
# side on the services' seats (ORBISK_SEATS, see scripts/services.sh).
# Extra arguments go to ctest (e.g. -R Converter).
set -euo pipefail
. "$(dirname "$0")/lib/common.sh"

bash "$ORBISK_ROOT/scripts/build.sh"
trap 'bash "$ORBISK_ROOT/scripts/services.sh" stop' EXIT
bash "$ORBISK_ROOT/scripts/services.sh" start
cd "$ORBISK_BUILD"
ctest --output-on-failure -j"$ORBISK_JOBS" --timeout 600 \
    --resource-spec-file "$ORBISK_BUILD/run/seats.json" "$@"

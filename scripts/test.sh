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
# Emulated (scripts/emulate-i386.sh), every program runs a few times slower
# and eight at a time load the machine unevenly: a test that fails there is
# run again, up to three times in all, and the log keeps every failure.
# Natively a test runs once.
repeat=()
if [ "$(head -n1 /proc/sys/fs/binfmt_misc/orbisk-i386 2>/dev/null)" = enabled ]; then
    repeat=(--repeat until-pass:3)
fi
ctest --output-on-failure -j"$ORBISK_JOBS" --timeout 600 "${repeat[@]}" \
    --resource-spec-file "$ORBISK_BUILD/run/seats.json" "$@"

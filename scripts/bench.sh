#!/usr/bin/env bash
# Builds, then runs every benchmark under Wine and prints its figures. The
# services are restarted on a screen large enough for 1920x1080 frames
# (ORBISK_SCREEN overrides it), with one seat so nothing else shares the
# machine, and stopped at the end.
# Extra arguments go to each benchmark program.
set -euo pipefail
. "$(dirname "$0")/lib/common.sh"

bash "$ORBISK_ROOT/scripts/build.sh"
bash "$ORBISK_ROOT/scripts/services.sh" stop
trap 'bash "$ORBISK_ROOT/scripts/services.sh" stop' EXIT
ORBISK_SEATS=1 ORBISK_SCREEN=${ORBISK_SCREEN:-1920x1080x24} bash "$ORBISK_ROOT/scripts/services.sh" start
status=0
for exe in "$ORBISK_BUILD"/bench-bin/*.exe; do
    log "$(basename "$exe")"
    bash "$ORBISK_ROOT/scripts/wine-run.sh" "$exe" "$@" || status=$?
done
exit $status

#!/usr/bin/env bash
# Sets up, builds and starts Orbisk under Wine.
# On a desktop (DISPLAY set) the program opens there and this script returns
# when it ends. Without a display it runs under Xvfb, writes a screenshot of
# its window to build/screenshots/orbisk.png, and closes it again.
set -euo pipefail
. "$(dirname "$0")/lib/common.sh"

bash "$ORBISK_ROOT/scripts/build.sh"
exe=$ORBISK_BUILD/Orbisk/Orbisk.exe
trap 'bash "$ORBISK_ROOT/scripts/services.sh" stop' EXIT
# One program needs one seat.
export ORBISK_SEATS=1

if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
    ORBISK_USE_DISPLAY=$DISPLAY bash "$ORBISK_ROOT/scripts/services.sh" start
    eval "$(bash "$ORBISK_ROOT/scripts/services.sh" env)"
    cd "$ORBISK_BUILD/Orbisk" && wine "$exe"
    exit 0
fi

unset DISPLAY
bash "$ORBISK_ROOT/scripts/services.sh" start
eval "$(bash "$ORBISK_ROOT/scripts/services.sh" env)"
(cd "$ORBISK_BUILD/Orbisk" && exec wine "$exe") &
prog=$!
win=""
for _ in $(seq 100); do
    win=$(xdotool search --name '^Orbisk$' 2>/dev/null | head -n1 || true)
    [ -n "$win" ] && break
    sleep 0.2
done
[ -n "$win" ] || die "Orbisk did not show its window"
sleep 1  # let it paint
mkdir -p "$ORBISK_BUILD/screenshots"
import -window "$win" "$ORBISK_BUILD/screenshots/orbisk.png"
log "Orbisk is running; its window: $ORBISK_BUILD/screenshots/orbisk.png"
# taskkill without /F asks the program to close its windows, as a user would.
wine taskkill /IM Orbisk.exe >/dev/null 2>&1 || true
wait "$prog" || true

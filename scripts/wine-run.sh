#!/usr/bin/env bash
# Runs one Windows program of the build under Wine with the test environment
# (zh_CN code page, its seat's prefix, X display and sound server).
# ctest uses it as the emulator of every test executable. A test that needs
# a seat of its own gets one from ctest ("id:2,slots:1" in
# CTEST_RESOURCE_GROUP_0_SEATS); everything else runs on seat 0.
set -euo pipefail
. "$(dirname "$0")/lib/common.sh"

seat=0
if [ -n "${CTEST_RESOURCE_GROUP_0_SEATS:-}" ]; then
    seat=${CTEST_RESOURCE_GROUP_0_SEATS#id:}
    seat=${seat%%,*}
fi
eval "$(bash "$ORBISK_ROOT/scripts/services.sh" env "$seat")"
[ -n "${DISPLAY:-}" ] || die "no X display for seat $seat: start the services first (scripts/services.sh start)"
# The test hooks (probe messages, the crash switch) answer only in processes
# the harness starts; the program a user starts ignores them.
export ORBISK_TEST_HOOKS=1

# ctest run without the seats file ignores the tests' resource groups: the
# tests that need a seat to themselves then take turns on seat 0. flock -o
# keeps the lock in flock itself, so a process the test leaves behind
# cannot hold it.
if [ -n "${ORBISK_NEEDS_SEAT:-}" ] && [ -z "${CTEST_RESOURCE_GROUP_COUNT:-}" ]; then
    exec flock -o "$ORBISK_RUN_DIR/lock" wine "$@"
fi
exec wine "$@"

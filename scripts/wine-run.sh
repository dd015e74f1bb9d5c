#!/usr/bin/env bash
# Runs one Windows program of the build under Wine with the test environment
# (zh_CN code page, the build's prefix, its X display and sound server).
# ctest uses it as the emulator of every test executable.
set -euo pipefail
. "$(dirname "$0")/lib/common.sh"
eval "$(bash "$ORBISK_ROOT/scripts/services.sh" env)"
[ -n "${DISPLAY:-}" ] || die "no X display: start the services first (scripts/services.sh start)"
# The test hooks (probe messages, the crash switch) answer only in processes
# the harness starts; the program a user starts ignores them.
export ORBISK_TEST_HOOKS=1
exec wine "$@"

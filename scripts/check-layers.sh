#!/usr/bin/env bash
# Fails when an include points up the layers. app/ is the top: nothing
# below it includes it. The window kit (kit/) serves the windows of every
# module, so it includes none of them (the drawing engine, drawing/ outside
# drawing/windows/, has no windows: the kit's menu sets its line width).
# core/ has no windows, so it includes neither the UI library nor the kit.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"
status=0
check() {  # check DIRS... -- PATTERN WHY
    local dirs=() pattern why
    while [ "$1" != -- ]; do dirs+=("$1"); shift; done
    shift; pattern=$1; why=$2
    local existing=()
    for d in "${dirs[@]}"; do [ -d "$d" ] && existing+=("$d"); done
    [ ${#existing[@]} -gt 0 ] || return 0
    local hits
    hits=$(grep -rnE --include='*.h' --include='*.cpp' --include='*.c' --include='*.rc' \
               "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"($pattern)" "${existing[@]}" || true)
    if [ -n "$hits" ]; then
        echo "$why:"
        echo "$hits"
        status=1
    fi
}
check core recorder drawing library settings kit platform -- 'app/' "includes app/ from below it"
check core recorder drawing library settings platform -- 'tests/' "includes the tests"
check core -- 'platform/ui/|kit/' "core/ includes the UI library or the window kit"
check kit -- 'drawing/windows/|library/|settings/' "the kit includes a module of windows"
[ $status = 0 ] && echo "layers respected"
exit $status

# Shared by every script: where things live and how they talk.
# shellcheck shell=bash

ORBISK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# Dependencies are built once per machine, outside the checkout, so a clean
# clone or a wiped build folder does not pay for ffmpeg again.
ORBISK_CACHE=${ORBISK_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/orbisk}
ORBISK_BUILD=${ORBISK_BUILD:-$ORBISK_ROOT/build}
ORBISK_HOST=i686-w64-mingw32
ORBISK_JOBS=${ORBISK_JOBS:-$(nproc)}
export ORBISK_ROOT ORBISK_CACHE ORBISK_BUILD ORBISK_HOST ORBISK_JOBS

log()  { printf '[orbisk] %s\n' "$*" >&2; }
die()  { printf '[orbisk] error: %s\n' "$*" >&2; exit 1; }

# Root runs apt directly; anyone else goes through sudo.
as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# The exact compilers the cache was built with: a toolchain upgrade must
# rebuild every dependency, never mix objects of two compilers.
compiler_id() {
    {
        ${ORBISK_HOST}-gcc-posix --version | head -n1
        ${ORBISK_HOST}-g++-posix --version | head -n1
        dpkg-query -W -f='${Version}\n' mingw-w64-i686-dev libz-mingw-w64-dev 2>/dev/null
        nasm -v 2>/dev/null
    } | sha256sum | cut -c1-16
}

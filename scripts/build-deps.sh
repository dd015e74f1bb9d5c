#!/usr/bin/env bash
# Cross-builds the Windows dependencies from Debian source packages into the
# cache, one folder per dependency keyed by its pin, its recipe, the shared
# flags, the compilers and the keys of what it builds on. A second run with
# nothing changed only computes the keys.
# Writes $ORBISK_BUILD/deps.cmake and deps.env naming each installed prefix.
set -euo pipefail
. "$(dirname "$0")/lib/common.sh"
. "$ORBISK_ROOT/scripts/deps/flags.sh"

LOCK=$ORBISK_ROOT/scripts/deps.lock
SRCCACHE=$ORBISK_CACHE/src
PKGCACHE=$ORBISK_CACHE/pkg
mkdir -p "$SRCCACHE" "$PKGCACHE" "$ORBISK_BUILD"
COMPILER=$(compiler_id)
declare -A KEY PREFIXES

strip_epoch() { echo "${1#*:}"; }

# Fetches NAME=VERSION into the source cache; prints the version obtained.
# Debian removes superseded versions from its pool, so a pin that is gone
# falls back to the current version with a warning asking for a lock update.
fetch_source() {
    local pkg=$1 ver=$2 v
    v=$(strip_epoch "$ver")
    if [ ! -f "$SRCCACHE/${pkg}_${v}.dsc" ]; then
        if ! (cd "$SRCCACHE" && apt-get source --download-only -qq "$pkg=$ver" >/dev/null 2>&1); then
            local cur
            cur=$(apt-cache showsrc "$pkg" 2>/dev/null | awk '/^Version:/{print $2; exit}')
            [ -n "$cur" ] || die "source package $pkg is not available (is deb-src enabled?)"
            log "WARNING: $pkg $ver is gone from Debian's pool; using $cur. Update scripts/deps.lock."
            ver=$cur; v=$(strip_epoch "$ver")
            if [ ! -f "$SRCCACHE/${pkg}_${v}.dsc" ]; then
                (cd "$SRCCACHE" && apt-get source --download-only -qq "$pkg=$ver" >/dev/null 2>&1) \
                    || die "cannot download $pkg $ver"
            fi
        fi
    fi
    echo "$ver"
}

deps_env() {  # DEP_<name>=<prefix> for each dependency listed in $1
    [ "$1" = - ] && return 0
    local d
    for d in ${1//,/ }; do echo "DEP_$d=${PREFIXES[$d]}"; done
}

build_one() {
    local name=$1 pkg=$2 ver=$3 needs=$4 recipe=$ORBISK_ROOT/scripts/deps/$1.sh
    [ -f "$recipe" ] || die "no recipe for $name"
    if [ "$ver" = installed ]; then
        ver=$(dpkg-query -W -f='${Version}' "$pkg")
    elif [ ! -f "$SRCCACHE/${pkg}_$(strip_epoch "$ver").dsc" ]; then
        ver=$(fetch_source "$pkg" "$ver")
    fi
    local depkeys="" d
    if [ "$needs" != - ]; then
        for d in ${needs//,/ }; do depkeys="$depkeys $d=${KEY[$d]}"; done
    fi
    local key
    key=$( { echo "$name $pkg $ver $COMPILER $depkeys"; cat "$recipe" "$ORBISK_ROOT/scripts/deps/flags.sh"; } \
           | sha256sum | cut -c1-16)
    KEY[$name]=$key
    local prefix=$PKGCACHE/$name-$key
    PREFIXES[$name]=$prefix
    [ -f "$prefix/.done" ] && return 0

    log "building $name ($pkg $ver)"
    local t0=$SECONDS work=$ORBISK_CACHE/work/$name
    rm -rf "$work" "$prefix"; mkdir -p "$work/logs"
    # A package marked "installed" brings its sources with it (googletest).
    if [ "$3" != installed ]; then
        dpkg-source --no-check -x -q "$SRCCACHE/${pkg}_$(strip_epoch "$ver").dsc" "$work/src" >/dev/null 2>&1 \
            || die "cannot unpack $pkg $ver"
    fi
    mkdir -p "$work/src"
    # A process of its own, so that "set -e" holds inside the recipe; the
    # prefix is final from the start because pkg-config files record it.
    if ! env PREFIX="$prefix" LOGDIR="$work/logs" RECIPE="$recipe" SRCDIR="$work/src" \
            $(deps_env "$needs") bash -euo pipefail -c '
                . "$ORBISK_ROOT/scripts/lib/common.sh"
                . "$ORBISK_ROOT/scripts/deps/flags.sh"
                . "$RECIPE"
                cd "$SRCDIR"
                build'; then
        log "building $name failed; logs in $work/logs:"
        tail -n 30 "$work"/logs/*.log >&2 || true
        exit 1
    fi
    # Only one key of a dependency is kept: older builds are dead weight.
    find "$PKGCACHE" -maxdepth 1 -name "$name-*" ! -name "$name-$key" -exec rm -rf {} +
    touch "$prefix/.done"
    rm -rf "$work"
    log "built $name in $((SECONDS - t0)) s"
}

while read -r name pkg ver needs; do
    case "$name" in ''|'#'*) continue ;; esac
    build_one "$name" "$pkg" "$ver" "$needs"
done < "$LOCK"

{
    echo "# Written by scripts/build-deps.sh"
    for n in "${!PREFIXES[@]}"; do echo "set(ORBISK_DEP_${n^^} \"${PREFIXES[$n]}\")"; done | sort
} > "$ORBISK_BUILD/deps.cmake.new"
{
    for n in "${!PREFIXES[@]}"; do echo "ORBISK_DEP_${n^^}=\"${PREFIXES[$n]}\""; done | sort
} > "$ORBISK_BUILD/deps.env.new"
# Rewriting an unchanged file would make CMake reconfigure every time.
for f in deps.cmake deps.env; do
    if cmp -s "$ORBISK_BUILD/$f.new" "$ORBISK_BUILD/$f"; then rm "$ORBISK_BUILD/$f.new"
    else mv "$ORBISK_BUILD/$f.new" "$ORBISK_BUILD/$f"; fi
done

#!/usr/bin/env bash
# Lets a machine whose kernel runs 64-bit programs only (IA-32 emulation off,
# as on some virtual machines) run 32-bit Wine: the kernel hands every i386
# ELF program to a user-mode i386 emulator through binfmt_misc.
# Does nothing where 32-bit programs run natively.
#
# The emulator is QEMU's, at a pinned version taken from Debian's packages:
# the release's own QEMU (7.2) treats MAP_FIXED_NOREPLACE as a mere hint, so
# Wine cannot place its shared user data and stops at start-up; 10.0 honours
# it. The static binary lives in the dependency cache; binfmt_misc opens it
# once at registration ("F"), so the entry keeps working from any mount
# namespace.
set -euo pipefail
. "$(dirname "$0")/lib/common.sh"

QEMU_VERSION=1:10.0.2+ds-2+deb13u1~bpo12+1
QEMU_DEB=pool/main/q/qemu/qemu-user_10.0.2+ds-2+deb13u1~bpo12+1_amd64.deb
QEMU_SHA256=10a2dec99f2b2d0b1097ff0375aea35b89322d6631fc96700511b02e05bf6fef
MIRROR=${ORBISK_DEBIAN_MIRROR:-http://deb.debian.org/debian}

BINFMT=/proc/sys/fs/binfmt_misc
ENTRY=orbisk-i386
EMULATOR=$ORBISK_CACHE/qemu-${QEMU_VERSION##*:}/qemu-i386
# The ELF header of an i386 executable or shared object (as Debian's
# qemu-user-binfmt matches it).
MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

[ -x /lib/ld-linux.so.2 ] || die "the i386 C library is missing: run scripts/setup-host.sh"

runs_32bit() { /lib/ld-linux.so.2 --version >/dev/null 2>&1; }

[ "$(cat "$BINFMT/$ENTRY" 2>/dev/null | head -n1)" = enabled ] && runs_32bit && exit 0

if [ ! -e "$BINFMT/register" ]; then
    as_root mount -t binfmt_misc binfmt_misc "$BINFMT" ||
        die "binfmt_misc is not available, so 32-bit programs cannot be emulated here"
fi
# Another i386 emulator (an older QEMU) would take the programs before ours.
for e in "$BINFMT"/*; do
    [ -f "$e" ] && [ "$(basename "$e")" != "$ENTRY" ] || continue
    if grep -q '^interpreter .*qemu-i386' "$e" 2>/dev/null; then
        log "disabling the binfmt entry $(basename "$e") (an i386 emulator that cannot run Wine)"
        echo -1 | as_root tee "$e" >/dev/null
    fi
done
runs_32bit && exit 0

if [ ! -x "$EMULATOR" ]; then
    log "fetching QEMU $QEMU_VERSION (an i386 emulator: this kernel runs no 32-bit programs)"
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    curl -fsSL --retry 3 -o "$tmp/qemu.deb" "$MIRROR/$QEMU_DEB" ||
        die "could not download $MIRROR/$QEMU_DEB"
    echo "$QEMU_SHA256  $tmp/qemu.deb" | sha256sum -c --quiet - ||
        die "$QEMU_DEB does not have the pinned checksum"
    dpkg-deb -x "$tmp/qemu.deb" "$tmp/x"
    mkdir -p "$(dirname "$EMULATOR")"
    install -m 755 "$tmp/x/usr/bin/qemu-i386" "$EMULATOR.tmp"
    mv "$EMULATOR.tmp" "$EMULATOR"
fi

[ -e "$BINFMT/$ENTRY" ] && echo -1 | as_root tee "$BINFMT/$ENTRY" >/dev/null
printf ':%s:M::%s:%s:%s:F\n' "$ENTRY" "$MAGIC" "$MASK" "$EMULATOR" | as_root tee "$BINFMT/register" >/dev/null
runs_32bit || die "32-bit programs still do not run through $EMULATOR"
log "32-bit programs run through $EMULATOR"

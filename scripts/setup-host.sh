#!/usr/bin/env bash
# Installs the Debian packages the build, the program and its tests need.
# Safe to run again: does nothing (and says nothing) when all is in place.
set -euo pipefail
. "$(dirname "$0")/lib/common.sh"

PACKAGES=(
    # cross toolchain and the tools the dependency recipes call
    g++-mingw-w64-i686-posix libz-mingw-w64-dev cmake ninja-build make
    autoconf automake libtool pkg-config nasm dpkg-dev xz-utils bzip2
    googletest python3 python3-fonttools fonts-dseg
    # running the Windows binaries
    wine wine32:i386 wine64 xvfb xauth fonts-wqy-microhei locales
    # 32-bit OpenGL: Wine's DirectShow renderers present through Direct3D
    # (the camera preview), and without these they crash
    libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386
    # Wine's DirectShow splitters and decoders (the editor's preview and
    # the companion player) are GStreamer's
    gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386 gstreamer1.0-libav:i386
    # checking what they write and driving them
    ffmpeg pulseaudio pulseaudio-utils xdotool x11-apps imagemagick
)

missing=()
for p in "${PACKAGES[@]}"; do
    st=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$st" = "install ok installed" ] || missing+=("$p")
done

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    log "adding the i386 architecture (32-bit Wine)"
    as_root dpkg --add-architecture i386
    need_update=1
fi
# Dependencies are built from Debian's own source packages.
if ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    log "enabling deb-src"
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        as_root sed -i -E 's/^Types: deb$/Types: deb deb-src/' /etc/apt/sources.list.d/debian.sources
    else
        as_root sh -c "grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >> /etc/apt/sources.list"
    fi
    need_update=1
fi

if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ]; then
    log "installing ${#missing[@]} packages: ${missing[*]}"
    # A mirror in the middle of a sync fails the update of one index for a
    # while; the others are read, and the install below says if a package
    # is really out of reach.
    # Without the security index of one architecture, packages that must
    # match across i386 and amd64 only agree at the release's own versions.
    target=()
    for try in 1 2 3; do
        as_root apt-get update -qq && break
        if [ $try = 3 ]; then
            . /etc/os-release
            target=(-t "$VERSION_CODENAME")
            log "apt-get update failed three times; installing the $VERSION_CODENAME versions"
            break
        fi
        log "apt-get update failed; trying again in $((try * 10)) s"
        sleep $((try * 10))
    done
    if [ ${#missing[@]} -gt 0 ]; then
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${target[@]}" "${missing[@]}" >/dev/null
    fi
fi

# Wine reads the code page from the C library's locale: without a generated
# zh_CN.UTF-8 it falls back to 1252 and every Chinese text turns into "?".
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
    log "generating the zh_CN.UTF-8 locale"
    as_root localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

# A kernel without IA-32 emulation runs 32-bit Wine only through an emulator.
bash "$ORBISK_ROOT/scripts/emulate-i386.sh"

# Compiler settings every recipe shares; part of every cache key.
# shellcheck shell=bash
export CC=${ORBISK_HOST}-gcc-posix
export CXX=${ORBISK_HOST}-g++-posix
export AR=${ORBISK_HOST}-ar
export RANLIB=${ORBISK_HOST}-ranlib
export STRIP=${ORBISK_HOST}-strip
export WINDRES=${ORBISK_HOST}-windres
# SSE2 everywhere (any x86 that runs a screen recorder has it); a realigned
# stack because Windows only promises 4-byte alignment to callbacks.
export CFLAGS="-O2 -msse2 -mfpmath=sse -mstackrealign"
export CXXFLAGS="$CFLAGS"
export LDFLAGS="-static -static-libgcc"
# pkg-config must see only the cross-built libraries, never the host's.
export PKG_CONFIG_LIBDIR=""
export PKG_CONFIG_PATH=""
TOOLCHAIN_FILE="$ORBISK_ROOT/cmake/toolchain-mingw32.cmake"

cmake_cross() {  # cmake_cross SRC BUILD [options...]
    local src=$1 bld=$2; shift 2
    cmake -S "$src" -B "$bld" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN_FILE" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" \
        -DBUILD_SHARED_LIBS=OFF "$@" >"$LOGDIR/configure.log" 2>&1
    cmake --build "$bld" -j"$ORBISK_JOBS" >"$LOGDIR/build.log" 2>&1
    cmake --install "$bld" >"$LOGDIR/install.log" 2>&1
}

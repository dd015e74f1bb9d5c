# The converter the program ships as "vintx.exe". Everything native stays in
# (users convert whatever they recorded or downloaded); devices, hardware
# acceleration and the network are left out because the program never uses
# them from the converter.
# ffmpeg sets its own optimisation and alignment flags: the shared
# -mstackrealign takes the frame pointer its x86 inline assembly needs.
build() {
    unset CFLAGS CXXFLAGS LDFLAGS
    local inc="" lib="" pc=""
    for d in "$DEP_x264" "$DEP_lame" "$DEP_vpx" "$DEP_opus" "$DEP_amr"; do
        inc="$inc -I$d/include"; lib="$lib -L$d/lib"; pc="$pc${pc:+:}$d/lib/pkgconfig"
    done
    PKG_CONFIG_LIBDIR="$pc" ./configure --prefix="$PREFIX" \
        --enable-cross-compile --target-os=mingw32 --arch=x86 \
        --cross-prefix=${ORBISK_HOST}- --cc="$CC" --cxx="$CXX" \
        --pkg-config=pkg-config --pkg-config-flags=--static \
        --extra-cflags="$inc" --extra-ldflags="$lib -static" \
        --disable-doc --disable-ffplay --disable-ffprobe --disable-network \
        --disable-devices --disable-hwaccels --disable-debug \
        --disable-autodetect --enable-w32threads --enable-zlib \
        --disable-shared --enable-static \
        --enable-gpl --enable-version3 \
        --enable-libx264 --enable-libmp3lame --enable-libvpx --enable-libopus \
        --enable-libopencore-amrnb >"$LOGDIR/configure.log" 2>&1
    make -j"$ORBISK_JOBS" >"$LOGDIR/build.log" 2>&1
    mkdir -p "$PREFIX/bin"
    $STRIP -o "$PREFIX/bin/ffmpeg.exe" ffmpeg.exe
}

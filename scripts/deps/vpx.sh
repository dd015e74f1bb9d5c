# VP8/VP9 for the webm conversion.
build() {
    CROSS=${ORBISK_HOST}- ./configure --target=x86-win32-gcc --prefix="$PREFIX" \
        --enable-static --disable-shared --disable-examples --disable-tools \
        --disable-docs --disable-unit-tests --enable-vp8 --enable-vp9 \
        --disable-avx512 >"$LOGDIR/configure.log" 2>&1
    make -j"$ORBISK_JOBS" >"$LOGDIR/build.log" 2>&1
    make install >"$LOGDIR/install.log" 2>&1
}

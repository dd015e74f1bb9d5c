# Kept in the cache both for ffmpeg and for the Video for Windows compressor.
# nasm stays on: the assembly makes the encoder several times faster.
build() {
    ./configure --host=$ORBISK_HOST --cross-prefix=${ORBISK_HOST}- --prefix="$PREFIX" \
        --enable-static --disable-cli --disable-opencl --enable-win32thread \
        --extra-cflags="-mstackrealign" >"$LOGDIR/configure.log" 2>&1
    make -j"$ORBISK_JOBS" >"$LOGDIR/build.log" 2>&1
    make install-lib-static >"$LOGDIR/install.log" 2>&1
}

# Opus for the webm conversion's sound. Its configure turns on
# _FORTIFY_SOURCE, whose checks need libssp that MinGW's static link lacks.
build() {
    ./configure --host=$ORBISK_HOST --prefix="$PREFIX" --enable-static --disable-shared \
        --disable-doc --disable-extra-programs --disable-stack-protector \
        CFLAGS="$CFLAGS -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=0" >"$LOGDIR/configure.log" 2>&1
    make -j"$ORBISK_JOBS" >"$LOGDIR/build.log" 2>&1
    make install >"$LOGDIR/install.log" 2>&1
}

# AMR-NB for the 3gp conversion's sound (the format allows nothing else).
build() {
    ./configure --host=$ORBISK_HOST --prefix="$PREFIX" --enable-static --disable-shared \
        CXXFLAGS="$CXXFLAGS" >"$LOGDIR/configure.log" 2>&1
    make -j"$ORBISK_JOBS" >"$LOGDIR/build.log" 2>&1
    make install >"$LOGDIR/install.log" 2>&1
}

# libmp3lame for ffmpeg, and the Blade front end as "lame_enc.dll".
build() {
    sed -i 's/<Windef.h>/<windef.h>/' Dll/BladeMP3EncDLL.c
    autoreconf -fi >"$LOGDIR/autoreconf.log" 2>&1
    # configure cannot read the MinGW compiler's version and would fall back
    # to an unoptimised build, so the flags are given here.
    ./configure --host=$ORBISK_HOST --prefix="$PREFIX" --enable-static --disable-shared \
        --disable-frontend --disable-gtktest --disable-decoder \
        CFLAGS="$CFLAGS" >"$LOGDIR/configure.log" 2>&1
    make -j"$ORBISK_JOBS" >"$LOGDIR/build.log" 2>&1
    make install >"$LOGDIR/install.log" 2>&1
    mkdir -p "$PREFIX/bin"
    $CC $CFLAGS -I include -I libmp3lame -I . -DHAVE_CONFIG_H -c Dll/BladeMP3EncDLL.c -o BladeMP3EncDLL.o
    $CC -shared -o "$PREFIX/bin/lame_enc.dll" BladeMP3EncDLL.o Dll/BladeMP3EncDLL.def \
        "$PREFIX/lib/libmp3lame.a" $LDFLAGS -Wl,--enable-stdcall-fixup
    $STRIP "$PREFIX/bin/lame_enc.dll"
    # The Blade interface header, for the program that loads the DLL.
    cp Dll/BladeMP3EncDLL.h "$PREFIX/include/lame/"
}

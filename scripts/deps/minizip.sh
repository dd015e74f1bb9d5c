# zlib's contrib/minizip as Debian ships it (CVE-2023-45853 patched), on
# top of MinGW's static zlib.
build() {
    mkdir -p "$PREFIX/include/minizip" "$PREFIX/lib" obj
    for f in ioapi unzip zip iowin32 mztools; do
        $CC $CFLAGS -DNOCRYPT= -DUSE_FILE32API -c $f.c -o obj/$f.o
    done
    $AR rcs "$PREFIX/lib/libminizip.a" obj/*.o
    cp ioapi.h unzip.h zip.h iowin32.h mztools.h crypt.h "$PREFIX/include/minizip/"
}

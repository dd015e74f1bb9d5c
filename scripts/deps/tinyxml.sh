# TinyXML has no build system worth cross-compiling: four sources, one archive.
build() {
    mkdir -p "$PREFIX/include" "$PREFIX/lib" obj
    for f in tinyxml tinystr tinyxmlerror tinyxmlparser; do
        $CXX $CXXFLAGS -DTIXML_USE_STL -c $f.cpp -o obj/$f.o
    done
    $AR rcs "$PREFIX/lib/libtinyxml.a" obj/*.o
    cp tinyxml.h tinystr.h "$PREFIX/include/"
}

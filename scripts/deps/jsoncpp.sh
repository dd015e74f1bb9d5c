# Tests and the post-build unit test would run Windows programs at build time.
build() {
    cmake_cross . _build -DBUILD_STATIC_LIBS=ON -DJSONCPP_WITH_TESTS=OFF \
        -DJSONCPP_WITH_POST_BUILD_UNITTEST=OFF -DJSONCPP_WITH_PKGCONFIG_SUPPORT=OFF \
        -DJSONCPP_WITH_CMAKE_PACKAGE=OFF -DJSONCPP_WITH_EXAMPLE=OFF
}

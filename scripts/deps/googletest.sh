# Debian's googletest package installs its sources; they build for MinGW as is.
build() {
    cmake_cross /usr/src/googletest _build -Dgtest_disable_pthreads=OFF -DINSTALL_GTEST=ON
}

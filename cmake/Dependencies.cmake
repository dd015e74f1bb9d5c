# Imported targets over the prefixes that scripts/build-deps.sh installed.

function(orbisk_import name lib)
    add_library(${name} STATIC IMPORTED GLOBAL)
    set_target_properties(${name} PROPERTIES IMPORTED_LOCATION "${lib}")
    cmake_parse_arguments(A "" "" "INCLUDE;DEFINE;LINK" ${ARGN})
    if(A_INCLUDE)
        target_include_directories(${name} SYSTEM INTERFACE ${A_INCLUDE})
    endif()
    if(A_DEFINE)
        target_compile_definitions(${name} INTERFACE ${A_DEFINE})
    endif()
    if(A_LINK)
        target_link_libraries(${name} INTERFACE ${A_LINK})
    endif()
endfunction()

orbisk_import(dep::tinyxml "${ORBISK_DEP_TINYXML}/lib/libtinyxml.a"
    INCLUDE "${ORBISK_DEP_TINYXML}/include" DEFINE TIXML_USE_STL)
orbisk_import(dep::jsoncpp "${ORBISK_DEP_JSONCPP}/lib/libjsoncpp.a"
    INCLUDE "${ORBISK_DEP_JSONCPP}/include")
orbisk_import(dep::curl "${ORBISK_DEP_CURL}/lib/libcurl.a"
    INCLUDE "${ORBISK_DEP_CURL}/include" DEFINE CURL_STATICLIB
    LINK ws2_32 crypt32 secur32 bcrypt advapi32 normaliz)
# MinGW's own zlib, the static archive (CMake would pick the import library).
orbisk_import(dep::zlib "/usr/${ORBISK_TRIPLE}/lib/libz.a")
orbisk_import(dep::minizip "${ORBISK_DEP_MINIZIP}/lib/libminizip.a"
    INCLUDE "${ORBISK_DEP_MINIZIP}/include" LINK dep::zlib)
orbisk_import(dep::x264 "${ORBISK_DEP_X264}/lib/libx264.a"
    INCLUDE "${ORBISK_DEP_X264}/include")
orbisk_import(dep::gtest "${ORBISK_DEP_GOOGLETEST}/lib/libgtest.a"
    INCLUDE "${ORBISK_DEP_GOOGLETEST}/include")
orbisk_import(dep::gtest_main "${ORBISK_DEP_GOOGLETEST}/lib/libgtest_main.a" LINK dep::gtest)
orbisk_import(dep::gmock "${ORBISK_DEP_GOOGLETEST}/lib/libgmock.a"
    INCLUDE "${ORBISK_DEP_GOOGLETEST}/include" LINK dep::gtest)

# Files that ship beside the program rather than link into it.
set(ORBISK_LAME_DLL "${ORBISK_DEP_LAME}/bin/lame_enc.dll")
set(ORBISK_FFMPEG_EXE "${ORBISK_DEP_FFMPEG}/bin/ffmpeg.exe")

# The Blade interface of lame_enc.dll: a header only, the DLL is loaded at
# run time.
add_library(dep::lame_blade INTERFACE IMPORTED GLOBAL)
target_include_directories(dep::lame_blade SYSTEM INTERFACE "${ORBISK_DEP_LAME}/include/lame")

# orbisk_add_skin_package(<target> SKIN_DIR <folder> [ID <n>] [NAME <base>])
#
# Packs every file under SKIN_DIR (layouts and images) into a zip at build
# time and links it into <target> as resource <ID> (default 130) of type
# "ZIPRES", where the UI library reads its skin package. Adding, changing or
# removing a file of the folder rebuilds the zip and relinks the target.
# Call it in the directory that defines <target> (the build rule of the zip
# belongs to that directory). Python 3 runs the packing (tools/pack_skin.py).
set(ORBISK_PACK_SKIN "${CMAKE_CURRENT_LIST_DIR}/tools/pack_skin.py" CACHE INTERNAL "")

function(orbisk_add_skin_package target)
    cmake_parse_arguments(S "" "SKIN_DIR;ID;NAME" "" ${ARGN})
    if(NOT S_SKIN_DIR)
        message(FATAL_ERROR "orbisk_add_skin_package(${target}): SKIN_DIR is required")
    endif()
    get_filename_component(skin_dir "${S_SKIN_DIR}" ABSOLUTE)
    if(NOT S_ID)
        set(S_ID 130)
    endif()
    if(NOT S_NAME)
        set(S_NAME "${target}_skin")
    endif()
    if(Python3_EXECUTABLE)
        set(python "${Python3_EXECUTABLE}")
    else()
        set(python python3)
    endif()
    file(GLOB_RECURSE skin_files CONFIGURE_DEPENDS "${skin_dir}/*")
    set(zip "${CMAKE_CURRENT_BINARY_DIR}/${S_NAME}.zip")
    set(rc "${CMAKE_CURRENT_BINARY_DIR}/${S_NAME}.rc")
    add_custom_command(OUTPUT "${zip}"
        COMMAND "${python}" "${ORBISK_PACK_SKIN}" "${skin_dir}" "${zip}"
        DEPENDS ${skin_files} "${ORBISK_PACK_SKIN}"
        COMMENT "Packing skin ${S_NAME}.zip"
        VERBATIM)
    file(WRITE "${rc}.in" "${S_ID} ZIPRES \"${zip}\"\n")
    configure_file("${rc}.in" "${rc}" COPYONLY)
    set_source_files_properties("${rc}" PROPERTIES OBJECT_DEPENDS "${zip}")
    target_sources(${target} PRIVATE "${rc}" "${zip}")
endfunction()

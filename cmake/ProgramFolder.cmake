# Fills the program folder with what ships beside Orbisk.exe:
#   lame_enc.dll, vintx.exe (the converter), plugins\, res\font\UnidreamLED.TTF,
#   help.html (the README's usage text, which the help button opens)

set(_pf "${ORBISK_PROGRAM_DIR}")
find_package(Python3 COMPONENTS Interpreter REQUIRED)
set(ORBISK_DSEG_FONT "/usr/share/fonts/truetype/dseg/DSEG7Classic-Regular.ttf" CACHE FILEPATH
    "Seven-segment font the LED labels are made from (Debian package fonts-dseg)")

add_custom_command(OUTPUT "${_pf}/lame_enc.dll"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${ORBISK_LAME_DLL}" "${_pf}/lame_enc.dll"
    DEPENDS "${ORBISK_LAME_DLL}" VERBATIM)
add_custom_command(OUTPUT "${_pf}/vintx.exe"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${ORBISK_FFMPEG_EXE}" "${_pf}/vintx.exe"
    DEPENDS "${ORBISK_FFMPEG_EXE}" VERBATIM)
add_custom_command(OUTPUT "${_pf}/res/font/UnidreamLED.TTF"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${_pf}/res/font"
    COMMAND Python3::Interpreter "${CMAKE_SOURCE_DIR}/scripts/make-led-font.py"
            "${ORBISK_DSEG_FONT}" "${_pf}/res/font/UnidreamLED.TTF"
    DEPENDS "${ORBISK_DSEG_FONT}" "${CMAKE_SOURCE_DIR}/scripts/make-led-font.py" VERBATIM)
add_custom_command(OUTPUT "${_pf}/help.html"
    COMMAND Python3::Interpreter "${CMAKE_SOURCE_DIR}/scripts/make-help-page.py"
            "${CMAKE_SOURCE_DIR}/README.md" "${_pf}/help.html"
    DEPENDS "${CMAKE_SOURCE_DIR}/README.md" "${CMAKE_SOURCE_DIR}/scripts/make-help-page.py"
    VERBATIM)
add_custom_target(program_folder ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory "${_pf}/plugins/x264" "${_pf}/plugins/xvid32"
    DEPENDS "${_pf}/lame_enc.dll" "${_pf}/vintx.exe" "${_pf}/res/font/UnidreamLED.TTF"
            "${_pf}/help.html")
add_dependencies(Orbisk program_folder)

#!/usr/bin/env bash
# Fails when a shipped .exe or .dll imports anything but Windows' own DLLs
# and the program's own (a MinGW runtime DLL would stop it from starting on
# a machine that has no MinGW).
set -euo pipefail
dir=${1:?usage: check-imports.sh PROGRAM_FOLDER}
SYSTEM=" kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll
 comctl32.dll comdlg32.dll gdiplus.dll msvcrt.dll ws2_32.dll winmm.dll msvfw32.dll avifil32.dll
 shlwapi.dll crypt32.dll secur32.dll bcrypt.dll dbghelp.dll version.dll imm32.dll msimg32.dll
 normaliz.dll psapi.dll winspool.drv uxtheme.dll dwmapi.dll ntdll.dll strmiids.dll quartz.dll
 iphlpapi.dll userenv.dll setupapi.dll mfplat.dll riched20.dll msacm32.dll
 camhook.dll "
# One blank between names, line breaks included, so every name matches.
SYSTEM=" $(echo $SYSTEM) "
status=0 count=0
while IFS= read -r -d '' f; do
    count=$((count + 1))
    while read -r dll; do
        lc=$(echo "$dll" | tr 'A-Z' 'a-z')
        case "$SYSTEM" in
            *" $lc "*) ;;
            *) echo "${f#"$dir"/} imports $dll"; status=1 ;;
        esac
    done < <(i686-w64-mingw32-objdump -p "$f" | awk '/DLL Name:/{print $3}')
done < <(find "$dir" -type f \( -iname '*.exe' -o -iname '*.dll' \) -print0)
[ $count -gt 0 ] || { echo "no binaries in $dir"; exit 1; }
echo "$count binaries checked"
exit $status

#!/bin/sh
# Fails when a Windows program needs a DLL that a bare Windows machine lacks
# (for example the MinGW runtime DLLs). Usage: check-imports.sh OBJDUMP EXE...
objdump=$1
shift
status=0
for exe in "$@"; do
  for dll in $("$objdump" -p "$exe" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u); do
    case "$dll" in
      kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|comdlg32.dll|advapi32.dll|shell32.dll|ole32.dll|\
      version.dll|msimg32.dll|msvcrt.dll|setupapi.dll|winmm.dll|shlwapi.dll|ws2_32.dll) ;;
      *) echo "$exe needs $dll"; status=1 ;;
    esac
  done
done
exit $status

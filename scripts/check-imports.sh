#!/usr/bin/env bash
# Checks that every .exe and .dll in the given folders imports only Windows'
# own DLLs (the build links statically, so nothing of mingw-w64 may be needed
# at run time).  Tessaly.exe may also import sorrel_x64.dll, its hook library.
#   check-imports.sh FOLDER...
set -u
# The tools' messages are read below: in English, whatever locale the caller runs.
export LC_ALL=C LANGUAGE=C
allowed='^(kernel32|user32|gdi32|shell32|comdlg32|comctl32|ole32|oleaut32|rpcrt4|advapi32|msvcrt|shlwapi|version|ws2_32|bcrypt|uxtheme|wtsapi32|api-ms-win-[a-z0-9-]+)\.dll$'
status=0
checked=0
for dir in "$@"; do
  for file in "$dir"/*.exe "$dir"/*.dll; do
    [ -f "$file" ] || continue
    checked=$((checked + 1))
    name=$(basename "$file")
    while read -r dll; do
      lower=$(printf '%s' "$dll" | tr 'A-Z' 'a-z')
      if [[ $lower =~ $allowed ]]; then continue; fi
      if [ "$name" = Tessaly.exe ] && [ "$lower" = sorrel_x64.dll ]; then continue; fi
      echo "$name imports $dll, which is not a Windows system DLL"
      status=1
    done < <(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
  done
done
echo "checked the imports of $checked programs and libraries"
[ $checked -gt 0 ] || status=1
exit $status

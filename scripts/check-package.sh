#!/usr/bin/env bash
# Builds the release zip of a Windows build folder into a scratch folder and
# checks it: named Tessaly-VERSION-win64.zip, holding exactly Tessaly.exe,
# sorrel_x64.dll and ReadMe.txt in one top folder.
#   check-package.sh BUILD_FOLDER VERSION
set -u
# The tools' messages are read below: in English, whatever locale the caller runs.
export LC_ALL=C LANGUAGE=C
build=$1
version=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$build" && cpack -B "$scratch" >/dev/null) || { echo "cpack failed"; exit 1; }
zip="$scratch/Tessaly-$version-win64.zip"
[ -f "$zip" ] || { echo "no $zip; cpack made: $(ls "$scratch")"; exit 1; }
listed=$(unzip -Z1 "$zip" | grep -v '/$' | sort | tr '\n' ' ')
expected="Tessaly-$version-win64/ReadMe.txt Tessaly-$version-win64/Tessaly.exe Tessaly-$version-win64/sorrel_x64.dll "
if [ "$listed" != "$expected" ]; then
  echo "the zip holds: $listed"
  echo "expected:      $expected"
  exit 1
fi
echo "Tessaly-$version-win64.zip holds exactly: $listed"

# With a Wine prefix given (a fresh copy is made of it): the unpacked folder
# runs, and a second copy started beside the first exits with -1.
template=${3:-}
[ -n "$template" ] || exit 0
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="$scratch/prefix"
[ -f "$template/.tessaly-ready" ] && cp -a "$template" "$WINEPREFIX" || { echo "no Wine prefix at $template (the short demo makes it)"; exit 1; }
. "$here/wine-env.sh"
tessaly_private_home
own_display=0
if [ -z "${DISPLAY:-}" ]; then tessaly_start_xvfb; own_display=1; fi
unpacked="$WINEPREFIX/drive_c/Tessaly"
mkdir -p "$unpacked" && unzip -q -j "$zip" -d "$unpacked"
wine 'C:\Tessaly\Tessaly.exe' &
first=$!
folder=$(echo "$WINEPREFIX"/drive_c/users/*/AppData/Roaming)/Brindle-Works/Tessaly
for _ in $(seq 100); do [ -d "$folder" ] && break; sleep 0.1; done
sleep 2  # the folder is made just before the window
wine 'C:\Tessaly\Tessaly.exe'
second=$?
wineserver -k 2>/dev/null
wait $first 2>/dev/null
wineserver -w 2>/dev/null
[ $own_display = 1 ] && tessaly_stop_xvfb
if [ ! -d "$folder" ]; then echo "the unpacked Tessaly.exe did not start (no settings folder)"; exit 1; fi
if [ $second -ne 255 ]; then echo "a second copy exited with $second, not -1"; exit 1; fi
echo "the unpacked Tessaly.exe runs; a second copy exits with -1"

#!/usr/bin/env bash
# The demo: builds the release and shows Tessaly doing its job under Wine on a
# 1024x768 virtual desktop, on the system's own shell view of 40 real files
# (the shell desktop): Save, scramble, Restore, then a resolution change to
# 800x600 and back with the automatic restore and capture on, the tray menu,
# the undo of a restore, and the tray menu of an English Windows.  Leaves in
# demo/ the screenshots of each step (PNG), the layout files Tessaly wrote,
# the release zip and report.txt.
# Exits non-zero if any icon is not where it should be.
#   bash scripts/demo.sh [--icons N]
set -u
cd "$(dirname "$0")/.."
root=$(pwd)
icons=40
[ "${1:-}" = --icons ] && icons=${2:-40}

scripts/install-deps.sh --demo || { echo "demo.sh: installing the dependencies failed"; exit 1; }
mkdir -p build
cmake --preset windows >build/windows-configure.log 2>&1 || { cat build/windows-configure.log; exit 1; }
cmake --build --preset windows --target Tessaly sorrel_x64 demo_runner shell_desktop shell_proxy tessaly_readme || exit 1
rm -rf build/windows/package
(cd build/windows && cpack >/dev/null) || { echo "demo.sh: packaging failed"; exit 1; }

rm -rf demo build/windows/wineprefix-demo-run
mkdir -p demo
cp build/windows/package/Tessaly-*-win64.zip demo/
started=$(date +%s)
scripts/wine-run.sh --prefix build/windows/wineprefix-demo-run --desktop "TessalyDemo,1024x768" \
  build/windows/bin/demo_runner.exe --tessaly "Z:$root/build/windows/Tessaly/Tessaly.exe" \
  --out "Z:$root/demo" --icons "$icons"
rc=$?

for bmp in demo/*.bmp; do
  [ -f "$bmp" ] || continue
  /usr/bin/convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
for f in build/windows/wineprefix-demo-run/drive_c/users/*/AppData/Roaming/Brindle-Works/Tessaly/*.*; do
  [ -f "$f" ] && cp "$f" demo/
done
echo "demo: $(( $(date +%s) - started )) s under Wine, outputs in $root/demo/:"
ls demo
exit $rc

#!/usr/bin/env bash
# Runs a Windows program in a fresh Wine prefix of its own:
#   wine-run-fresh.sh --template DIR --prefix DIR [--desktop NAME,WxH | --monitors] [--locale NAME] program.exe [args...]
# The template prefix is made once (wineboot) and then copied, which is much
# faster than booting a new prefix for every run; the copy at --prefix and
# Wine's home beside it (DIR.home) are made for the run and removed after it
# (TESSALY_KEEP_PREFIX=1 keeps them), so that the files a test leaves on the
# Desktop are gone at the next and the disk holds one copy at a time.  Everything else
# is as scripts/wine-run.sh does it.  --monitors runs the program on an X
# server of its own with two monitors (tessaly_start_xorg_monitors).
set -u
here=$(cd "$(dirname "$0")" && pwd)
template=
prefix=
pass=()
monitors=0
while [ $# -gt 0 ]; do
  case "$1" in
    --template) template=$2; shift 2 ;;
    --prefix) prefix=$2; shift 2 ;;
    --desktop) pass+=(--desktop "$2"); shift 2 ;;
    --monitors) monitors=1; shift ;;
    --locale) pass+=(--locale "$2"); shift 2 ;;
    *) break ;;
  esac
done
[ -n "$template" ] && [ -n "$prefix" ] && [ $# -ge 1 ] || {
  echo "usage: $0 --template DIR --prefix DIR [--desktop NAME,WxH | --monitors] [--locale NAME] program.exe [args...]" >&2; exit 2; }

# Makes the template under its own lock; its wineserver is waited for, so that
# the registry files are complete before anything copies them.
(
  flock 9
  if [ ! -f "$template/.tessaly-ready" ]; then
    export WINEPREFIX=$template
    . "$here/wine-env.sh"
    tessaly_private_home
    own_display=0
    if [ -z "${DISPLAY:-}" ]; then tessaly_start_xvfb; own_display=1; fi
    tessaly_wine_prefix_ready
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    [ $own_display = 1 ] && tessaly_stop_xvfb
  fi
) 9>"$template.template-lock"

WINEPREFIX=$prefix wineserver -k 2>/dev/null
rm -rf "$prefix" "$prefix.home"
cp -a "$template" "$prefix" || exit 1
if [ $monitors = 1 ]; then
  . "$here/wine-env.sh"
  tessaly_start_xorg_monitors
fi
"$here/wine-run.sh" --prefix "$prefix" "${pass[@]}" "$@"
rc=$?
# Nothing of this run outlives it.
WINEPREFIX=$prefix wineserver -k 2>/dev/null
WINEPREFIX=$prefix wineserver -w 2>/dev/null
[ $monitors = 1 ] && tessaly_stop_xorg_monitors
# Each prefix is a whole copy of Windows: a run leaves none behind (the disk
# of a CI machine holds only a few), unless asked to, for a look after a
# failure.
[ "${TESSALY_KEEP_PREFIX:-0}" = 1 ] || rm -rf "$prefix" "$prefix.home"
exit $rc

#!/usr/bin/env bash
# Runs a Windows program of the build under Wine:
#   wine-run.sh --prefix DIR [--desktop NAME,WxH] [--locale NAME] program.exe [args...]
# The prefix is made on first use.  When DISPLAY is unset, an Xvfb is started
# for this run alone and it, and the prefix's wineserver, are stopped at the
# end, so that nothing outlives the run.  With --desktop the program runs on a
# Wine virtual desktop of that name and size.  Wine's home is DIR.home, never
# the caller's: the prefix's Desktop and Documents are folders of its own.
# --locale runs it in another locale than ja_JP.UTF-8: en_US.UTF-8 gives an
# English Windows (display language 0409, ANSI code page 1252).
set -u
here=$(cd "$(dirname "$0")" && pwd)
prefix=
desktop=
locale=
while [ $# -gt 0 ]; do
  case "$1" in
    --prefix) prefix=$2; shift 2 ;;
    --desktop) desktop=$2; shift 2 ;;
    --locale) locale=$2; shift 2 ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] || { echo "usage: $0 --prefix DIR [--desktop NAME,WxH] [--locale NAME] program.exe [args...]" >&2; exit 2; }
prefix=${prefix:-${WINEPREFIX:-$here/../build/windows/wineprefix}}
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX="$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")"
. "$here/wine-env.sh"
if [ -n "$locale" ]; then export LC_ALL=$locale LANG=$locale; fi
tessaly_private_home

own_display=0
if [ -z "${DISPLAY:-}" ]; then
  tessaly_start_xvfb
  own_display=1
fi
tessaly_wine_prefix_ready

if [ -n "$desktop" ]; then
  # Every program of the prefix then runs on that virtual desktop, and wine
  # passes the program's exit code through (wine explorer /desktop does not).
  name=${desktop%%,*}
  size=${desktop#*,}
  if [ "$(cat "$WINEPREFIX/.tessaly-desktop" 2>/dev/null)" != "$desktop" ]; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d "$name" /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v "$name" /d "$size" /f >/dev/null 2>&1
    echo "$desktop" > "$WINEPREFIX/.tessaly-desktop"
  fi
fi
wine "$@"
rc=$?

if [ $own_display = 1 ]; then
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  tessaly_stop_xvfb
fi
exit $rc

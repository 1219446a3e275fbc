# Sourced by the Wine scripts: the environment every Windows program of the
# build runs in.  Expects WINEPREFIX to be set.
#
# LC_ALL (not LANG) makes Wine choose code page 932 as the ANSI code page, even
# where the ja_JP locale is not generated; with LANG alone Wine falls back to
# 1252 and every CP932 text silently round-trips as 1252.
export WINEDEBUG=-all
export LC_ALL=ja_JP.UTF-8 2>/dev/null
export WINEARCH=win64
# A crash ends the process instead of starting winedbg, which would hold the
# run's pipes open; the Mono and Gecko installers are never wanted.
export WINEDLLOVERRIDES="winedbg.exe=d;mscoree=d;mshtml=d"

# tessaly_private_home: gives Wine a home of its own beside the prefix
# ($WINEPREFIX.home).  Wine links the prefix's Desktop, Documents, Music...
# to $HOME when ~/Desktop is missing, so a test that makes files on the
# Desktop would make them in the real home.
tessaly_private_home() {
  export HOME="$WINEPREFIX.home"
  mkdir -p "$HOME"
}

# tessaly_wine_prefix_ready: makes the prefix once (wineboot -i), serialised
# with a lock so that parallel test programs do not race to create it.  The
# user's folders become folders of the prefix, as on Windows: every link
# that wineboot made into a home (this one or, in a prefix made before, the
# real one) is replaced by an empty folder.
tessaly_wine_prefix_ready() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.tessaly-ready" ]; then
      rm -rf "$WINEPREFIX"
      wine wineboot -i >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.tessaly-ready"
    fi
    for folder in "$WINEPREFIX"/drive_c/users/*/*; do
      if [ -L "$folder" ]; then rm -f "$folder" && mkdir "$folder"; fi
    done
    if [ ! -f "$WINEPREFIX/.tessaly-unmanaged" ]; then
      # Windows not managed by the (absent) window manager: a managed window
      # makes Wine wait two seconds for every hide.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      touch "$WINEPREFIX/.tessaly-unmanaged"
    fi
  ) 9>"$WINEPREFIX.lock"
}

# tessaly_free_display: prints a display number no X server uses.
tessaly_free_display() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  echo "$n"
}

# tessaly_start_xvfb: starts Xvfb on a free display, exports DISPLAY and
# TESSALY_XVFB_PID.  The caller stops it with tessaly_stop_xvfb.
tessaly_start_xvfb() {
  local n
  n=$(tessaly_free_display)
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  TESSALY_XVFB_PID=$!
  export DISPLAY=":$n"
  local i=0
  while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 100 ]; do sleep 0.05; i=$((i + 1)); done
}

tessaly_stop_xvfb() {
  if [ -n "${TESSALY_XVFB_PID:-}" ]; then
    kill "$TESSALY_XVFB_PID" 2>/dev/null
    wait "$TESSALY_XVFB_PID" 2>/dev/null
    TESSALY_XVFB_PID=
  fi
}

# tessaly_start_xorg_monitors: starts an X server of two monitors on a free
# display (Xorg with the dummy driver; Xvfb and Wine's virtual desktop show
# one): a primary of 1024 x 768 at 0,0 and one of 800 x 600 right of it,
# top-aligned.  Exports DISPLAY and TESSALY_XORG_PID; the caller stops it
# with tessaly_stop_xorg_monitors.  Every output that a test may use is
# switched on once before Wine starts (Wine misses outputs added later), and
# each change is followed by a query, which makes the server apply it.
tessaly_start_xorg_monitors() {
  local n here
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  n=$(tessaly_free_display)
  Xorg ":$n" -config "$here/xorg-monitors.conf" -noreset -nolisten tcp -novtswitch -sharevts \
    -logfile "/tmp/tessaly-xorg-$n.log" >/dev/null 2>&1 &
  TESSALY_XORG_PID=$!
  export DISPLAY=":$n"
  local i=0
  while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i + 1)); done
  xrandr --output DUMMY0 --mode 1024x768 --pos 0x0 --primary >/dev/null 2>&1
  xrandr >/dev/null 2>&1
  for mode in 800x600 1024x768; do xrandr --addmode DUMMY1 "$mode" >/dev/null 2>&1; done
  xrandr --output DUMMY1 --mode 800x600 --pos 1024x0 >/dev/null 2>&1
  xrandr >/dev/null 2>&1
}

tessaly_stop_xorg_monitors() {
  if [ -n "${TESSALY_XORG_PID:-}" ]; then
    kill "$TESSALY_XORG_PID" 2>/dev/null
    wait "$TESSALY_XORG_PID" 2>/dev/null
    TESSALY_XORG_PID=
  fi
}

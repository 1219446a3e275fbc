#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need and this
# machine lacks.  Needs root (or sudo) only when something is missing.
#   install-deps.sh [--demo]
set -u
# mingw-w64-tools and libwine-dev: widl and the IDL files it reads, for the
# test desktops' proxy of the shell interfaces.  clang and its runtime
# (libFuzzer, the sanitizers): the fuzz targets.  Xorg's dummy driver and
# xrandr: the tests of several monitors.
packages="cmake make unzip g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev libbenchmark-dev g++-mingw-w64-x86-64 mingw-w64-tools libwine-dev wine wine64 xvfb xauth xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils"
for option in "$@"; do
  case "$option" in
    # The demo turns its screenshots into PNG files, and its pictures need a
    # Japanese font for Wine to draw the icons' names with.
    --demo) packages="$packages imagemagick fonts-ipafont-gothic" ;;
  esac
done
missing=
packages="$packages locales"
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
sudo=
[ "$(id -u)" = 0 ] || sudo=sudo
if [ -n "$missing" ]; then
  echo "installing:$missing"
  $sudo apt-get update -q || exit 1
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q $missing || exit 1
fi

# Wine converts file names through the C library's locale: without a
# generated ja_JP.UTF-8, files with Japanese names cannot be made or found.
# The English groups run Wine under en_US.UTF-8 (code page 1252), which needs
# its locale as well.
for wanted in ja_JP en_US; do
  if ! locale -a 2>/dev/null | grep -qix "$wanted.utf8"; then
    echo "generating the $wanted.UTF-8 locale"
    grep -qx "$wanted.UTF-8 UTF-8" /etc/locale.gen 2>/dev/null || echo "$wanted.UTF-8 UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null || exit 1
  fi
done

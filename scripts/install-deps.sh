#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need and this
# machine lacks.  Needs root (or sudo) only when something is missing.
set -u
packages="cmake make g++ libgtest-dev libgmock-dev libbenchmark-dev g++-mingw-w64-x86-64 wine wine64 xvfb xauth clang libclang-rt-14-dev"
# The demo also turns its screenshots into PNG files.
[ "${1:-}" = --demo ] && packages="$packages imagemagick"
missing=
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "installing:$missing"
sudo=
[ "$(id -u)" = 0 ] || sudo=sudo
$sudo apt-get update -q || exit 1
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing || exit 1

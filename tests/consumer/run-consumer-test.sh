#!/bin/sh
# Installs the engine of a build tree into a prefix of its own, builds this
# folder's program against it by the CMake package and by pkg-config, and
# runs both on a module:
#   run-consumer-test.sh BUILD MODULE
# CXX, CXXFLAGS and LDFLAGS reach both builds, so a sanitizer tree's library
# links as it was compiled.
set -eu
if [ $# -ne 2 ]; then
  echo "usage: run-consumer-test.sh BUILD MODULE" >&2
  exit 2
fi
build=$1 module=$2
here=$(cd "$(dirname "$0")" && pwd)
prefix=$build/consumer-prefix work=$build/consumer-build
log=$work/step.log
fail() { echo "FAIL: $*"; exit 1; }
# A step's output is shown only when it fails.
quiet() { "$@" >"$log" 2>&1 || { cat "$log"; return 1; }; }

[ -f "$build/cmake_install.cmake" ] || fail "$build is not a configured build tree"
rm -rf "$prefix" "$work"
mkdir -p "$work"
export CXXFLAGS="${CXXFLAGS:-} -Wall -Wextra"
quiet cmake --install "$build" --prefix "$prefix" --component tarnxm || fail "the engine did not install into $prefix"
quiet cmake -S "$here" -B "$work/cmake" -DCMAKE_PREFIX_PATH="$prefix" || fail "find_package(tarnxm) did not configure"
quiet cmake --build "$work/cmake" || fail "the consumer did not build against tarnxm::tarnxm"
title=$("$work/cmake/tarnxm_consumer" "$module") || fail "the CMake-built consumer failed on $module"

PKG_CONFIG_PATH=$(dirname "$(find "$prefix" -name tarnxm.pc)")
export PKG_CONFIG_PATH
flags=$(pkg-config --cflags --libs tarnxm) || fail "pkg-config does not know tarnxm"
# Word splitting of the flags is meant.
quiet ${CXX:-c++} $CXXFLAGS -o "$work/tarnxm_consumer" "$here/main.cpp" $flags ${LDFLAGS:-} ||
  fail "the consumer did not build with pkg-config's flags"
"$work/tarnxm_consumer" "$module" >/dev/null || fail "the pkg-config-built consumer failed on $module"
echo "PASS: both consumers rendered \"$title\""

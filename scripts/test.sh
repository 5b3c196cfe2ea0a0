#!/usr/bin/env bash
# Installs what is missing, builds the program and every test, and runs them through
# CTest on the offscreen Qt platform.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${SORVEX_BUILD_DIR:-$ROOT/build}"
# A new build folder made for the tests alone skips what no test runs, so a
# clean run stays short on a small machine.
export SORVEX_CMAKE_ARGS="${SORVEX_CMAKE_ARGS:--DSORVEX_BUILD_BENCH=OFF -DSORVEX_BUILD_GALLERIES=OFF -DSORVEX_DEBUG_INFO=OFF}"
"$ROOT/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
cd "$BUILD"
ctest --output-on-failure --parallel "${SORVEX_JOBS:-$(nproc)}" "$@"

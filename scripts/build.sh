#!/usr/bin/env bash
# Configures and builds the tree in build/ (or $SORVEX_BUILD_DIR); arguments
# name the targets to build (all when none are given).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${SORVEX_BUILD_DIR:-$ROOT/build}"
"$ROOT/scripts/install-deps.sh"
if [ ! -f "$BUILD/build.ninja" ]; then
  # SORVEX_CMAKE_ARGS: further settings for a new build folder (the test
  # command leaves out benchmarks, galleries and debug information).
  # shellcheck disable=SC2086
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${SORVEX_CMAKE_ARGS:-}
fi
JOBS="${SORVEX_JOBS:-$(nproc)}"
TARGETS=()
for t in "$@"; do TARGETS+=(--target "$t"); done
cmake --build "$BUILD" --parallel "$JOBS" "${TARGETS[@]}"

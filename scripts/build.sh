#!/usr/bin/env bash
# Configures and builds the tree in build/ (or $SORVEX_BUILD_DIR).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${SORVEX_BUILD_DIR:-$ROOT/build}"
"$ROOT/scripts/install-deps.sh"
if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
fi
JOBS="${SORVEX_JOBS:-$(nproc)}"
cmake --build "$BUILD" --parallel "$JOBS"

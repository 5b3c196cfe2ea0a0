#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test through
# CTest on the offscreen Qt platform.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${SORVEX_BUILD_DIR:-$ROOT/build}"
"$ROOT/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
cd "$BUILD"
ctest --output-on-failure --parallel "${SORVEX_JOBS:-$(nproc)}" "$@"

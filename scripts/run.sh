#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program from build/bin,
# where the build placed its INI files and the default embedded database.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${SORVEX_BUILD_DIR:-$ROOT/build}"
"$ROOT/scripts/build.sh"
exec "$BUILD/bin/sorvex"

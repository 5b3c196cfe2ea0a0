#!/usr/bin/env bash
# Builds the thread-heavy suites (CTest label "tsan") with ThreadSanitizer in
# a separate build folder, without the program, and runs them.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${SORVEX_TSAN_BUILD_DIR:-$ROOT/build-tsan}"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSORVEX_SANITIZE_THREAD=ON -DSORVEX_BUILD_PROGRAM=OFF -DSORVEX_BUILD_BENCH=OFF >/dev/null
cd "$BUILD"
mapfile -t targets < <(ctest -N -L tsan | sed -n 's/^ *Test *#[0-9]*: *//p')
ninja -j"${SORVEX_JOBS:-$(nproc)}" "${targets[@]}"
export QT_QPA_PLATFORM=offscreen
# halt_on_error: the first race fails the suite instead of scrolling past.
export TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1 second_deadlock_stack=1}"
ctest -L tsan --output-on-failure --parallel "${SORVEX_JOBS:-$(nproc)}" "$@"

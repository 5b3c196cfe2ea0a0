#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program from build/bin,
# where the build placed its INI files and the default embedded database.
# The stand-in web result service (demo account, temporary codes DEMO-1234 and
# DEMO-5678) runs on loopback beside it for the session and stops with it; set
# SORVEX_NO_WEBSERVICE=1 to keep the installation file's own addresses.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${SORVEX_BUILD_DIR:-$ROOT/build}"
BIN="$BUILD/bin"
"$ROOT/scripts/build.sh" sorvex sorvex-webservice eventdb

if [ -z "${SORVEX_NO_WEBSERVICE:-}" ] && [ -x "$BIN/sorvex-webservice" ]; then
  OUT="$BIN/webservice.out"
  : > "$OUT"
  "$BIN/sorvex-webservice" --port "${SORVEX_WEB_PORT:-0}" --cert-out "$BIN/webservice-cert.pem" \
      --demo "$ROOT/tools/webservice/demo-account.json" > "$OUT" 2>&1 &
  SERVICE=$!
  trap 'kill $SERVICE 2>/dev/null || true' EXIT
  for _ in $(seq 100); do grep -q '^SORVEX_CA_FILE=' "$OUT" && break; sleep 0.1; done
  URL1="$(sed -n 's/^REST_BASE_URL=//p' "$OUT")"
  URL2="$(sed -n 's/^REST_BASE_URL_V2=//p' "$OUT")"
  if [ -n "$URL1" ]; then
    # The installation file is ours to write here: we are the installer.
    sed -i -e "s|^REST_BASE_URL=.*|REST_BASE_URL=$URL1|" -e "s|^REST_BASE_URL_V2=.*|REST_BASE_URL_V2=$URL2|" \
      "$BIN/vrkEventSystem.ini"
    export SORVEX_CA_FILE="$(sed -n 's/^SORVEX_CA_FILE=//p' "$OUT")"
    echo "Stand-in web result service at $URL1"
  else
    echo "The stand-in web result service did not start:" >&2
    cat "$OUT" >&2
  fi
fi

"$BIN/sorvex"

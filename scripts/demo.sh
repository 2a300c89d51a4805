#!/usr/bin/env bash
# The demo command: installs missing packages, builds, and starts the demo host.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
HOST="${BUILD_DIR:-build}/bin/qx_host"
if [ -x "$HOST" ]; then
  exec "$HOST" "$@"
else
  echo "demo: the plug-in and its stand-ins are built; the demo host is not part of this build yet."
fi

#!/usr/bin/env bash
# The demo command: installs missing packages, builds, and starts the demo host signed in
# against the embedded alliance server simulator. Arguments go to the host, e.g.
#   bash scripts/demo.sh --phone 13800000001 --open loadHouseListWidget --screenshot /tmp/s.png --quit-after 15000
# Without a display the host runs under Xvfb when it is installed, else offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh xvfb xauth
bash scripts/build.sh
HOST="${BUILD_DIR:-build}/bin/qx_host"
if [ ! -x "$HOST" ]; then
  echo "demo: $HOST was not built" >&2
  exit 1
fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$HOST" "$@"
elif command -v xvfb-run >/dev/null 2>&1; then
  echo "demo: no display, running under xvfb-run"
  exec xvfb-run -a -s "-screen 0 1400x900x24" "$HOST" "$@"
else
  echo "demo: no display and no xvfb-run, running offscreen (use --screenshot to see it)"
  QT_QPA_PLATFORM=offscreen exec "$HOST" "$@"
fi

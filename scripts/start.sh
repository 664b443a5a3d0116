#!/usr/bin/env bash
# Installs what is needed, builds the two programs and the controller
# simulator, and starts the configurator.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No graphical display (DISPLAY and WAYLAND_DISPLAY are unset): run this in a desktop session, or log in with 'ssh -X' so the window opens on your screen." >&2
  exit 1
fi
"$top/scripts/setup.sh"
"$top/scripts/build.sh" QRV_CONF PhraseLoader qrv_simulator
build=${BUILD_DIR:-$top/build}
exec "$build/configurator/QRV_CONF" "$@"

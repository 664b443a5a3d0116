#!/usr/bin/env bash
# Installs what is needed, builds and starts the configurator.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
build=${BUILD_DIR:-$top/build}
if [ ! -x "$build/configurator/QRV_CONF" ]; then
  echo "The configurator is not built yet; nothing to start." >&2
  exit 0
fi
exec "$build/configurator/QRV_CONF" "$@"

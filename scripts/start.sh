#!/usr/bin/env bash
# Builds the tool and starts it with the device emulator attached as COM3 in the
# per-user port folder, so that "Найти" finds the emulated tachograph and both
# pages work end to end. The emulator stops when the tool's window is closed.
#
# Usage: bash scripts/start.sh
# Without a display: xvfb-run -a -s "-screen 0 1024x768x24" bash scripts/start.sh
#   (or QT_QPA_PLATFORM=vnc bash scripts/start.sh and a VNC viewer on port 5900).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<'MSG'
No display found. Start the tool on a virtual display with
    xvfb-run -a -s "-screen 0 1024x768x24" bash scripts/start.sh
(xvfb-run comes with the package xvfb), or show it to a VNC viewer on port 5900 with
    QT_QPA_PLATFORM=vnc bash scripts/start.sh
MSG
  exit 1
fi

# What the build and the tool need; only missing packages are installed (as root).
if [ "$(id -u)" -eq 0 ]; then
  bash scripts/install-deps.sh run
elif ! bash scripts/install-deps.sh run >/dev/null 2>&1; then
  sudo bash scripts/install-deps.sh run
fi

# The tests need GoogleTest, which starting the tool does not.
configure=(cmake --preset release)
if ! dpkg-query -W -f='${Status}' libgtest-dev 2>/dev/null | grep -q 'install ok installed'; then
  configure+=(-DTACHO_BUILD_TESTS=OFF)
fi
"${configure[@]}" >/dev/null
cmake --build --preset release --target Tachocalib tachocalib-emulator

log=$(mktemp "${TMPDIR:-/tmp}/tachocalib-emulator.XXXXXX.log")
build/release/tools/emulator/tachocalib-emulator --com 3 >"$log" 2>&1 &
emulator=$!
trap 'kill "$emulator" 2>/dev/null || true; wait "$emulator" 2>/dev/null || true' EXIT

# The emulator prints its link once COM3 is in place.
for _ in $(seq 50); do
  grep -q '^LINK ' "$log" && break
  if ! kill -0 "$emulator" 2>/dev/null; then
    echo "The device emulator did not start:" >&2
    cat "$log" >&2
    exit 1
  fi
  sleep 0.1
done
echo "Device emulator: $(grep -m1 '^LINK ' "$log" | cut -d' ' -f2-) (frames logged in $log)"
echo "In the tool: press \"Найти\" to find it on COM 3."

build/release/app/qt/Tachocalib

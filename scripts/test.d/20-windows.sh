#!/usr/bin/env bash
# The Windows build: cross-compiles everything that needs no Qt with mingw-w64
# (preset mingw), runs its test programs under wine, runs the three record
# commands through the Win32 serial code against the device emulator (native,
# on a pseudo-terminal that wine reaches as COM40) and checks what reached the
# device byte for byte, prints the read time-outs measured under wine, and
# checks the version record and manifest compiled from app/win/*.rc.
# Never lets wine open a COM number that it mapped to a real serial device.
set -euo pipefail
cd "$(dirname "$0")/../.."
started=$(date +%s%N)

build=build/mingw
# The device side of the exchange tests runs natively, from the debug build.
native=${TACHO_NATIVE_BUILD:-build/dev}
jobs=$(nproc)
com=40         # the emulator's link in wine's prefix: "\\.\COM40"
absent_com=41  # a COM number with nothing behind it

source scripts/lib/wine.sh
wine_setup "$PWD/$build/wineprefix"
winelog="$PWD/$build/wine-stderr.log"

emulator_pid=
link="$WINEPREFIX/dosdevices/com$com"
cleanup() {
  if [ -n "$emulator_pid" ]; then kill "$emulator_pid" 2>/dev/null || true; wait "$emulator_pid" 2>/dev/null || true; fi
  if [ -L "$link" ] && [[ "$(readlink "$link")" == /dev/pts/* ]]; then rm -f "$link"; fi
  wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

failures=()
fail() { failures+=("$1"); echo "FAILED: $1"; }

seconds_since() { awk -v ns=$(($(date +%s%N) - $1)) 'BEGIN { printf "%.1f", ns / 1e9 }'; }

# --- build -------------------------------------------------------------------
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"
if [ "$native" = build/dev ]; then
  cmake --preset dev >/dev/null
else
  cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTACHO_WERROR=ON -DTACHO_BUILD_APP=OFF >/dev/null
fi
cmake --build "$native" -j "$jobs" --target wine_exchange_driver_tests tachocalib-emulator

# --- wine's prefix -------------------------------------------------------------
mkdir -p "$build"
: >"$winelog"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  t=$(date +%s%N)
  # wineboot makes dosdevices/ itself; a folder made before it breaks the prefix.
  wineboot -i 2>>"$winelog"
  wineserver -w
  echo "wine prefix created in $(seconds_since "$t") s"
fi
echo "wine's own COM links: $(cd "$WINEPREFIX/dosdevices" && for l in com*; do [ -L "$l" ] && printf '%s->%s ' "$l" "$(readlink "$l")"; done)"
for n in "$com" "$absent_com"; do
  l="$WINEPREFIX/dosdevices/com$n"
  if [ -e "$l" ] || [ -L "$l" ]; then
    target=$(readlink "$l" || true)
    if [[ "$target" == /dev/pts/* ]]; then rm -f "$l"; else echo "com$n stands for $target: refusing to touch it"; exit 1; fi
  fi
done

# --- test programs -------------------------------------------------------------
t=$(date +%s%N)
mapfile -t programs < <(find "$build/tests" -name '*_tests.exe' -not -path '*/CMakeFiles/*' | sort)
((${#programs[@]})) || fail "no Windows test programs were built"
for exe in "${programs[@]}"; do
  echo "-- ${exe#"$build"/} (wine)"
  TACHO_ABSENT_PORT_INDEX=$((absent_com - 1)) "$wine" "$exe" --gtest_brief=1 2>>"$winelog" || fail "${exe##*/}"
done
echo "Windows test programs: $(seconds_since "$t") s"

# --- exchanges with the emulator ------------------------------------------------
t=$(date +%s%N)
echo "-- exchanges through the Win32 serial code (wine) with the device emulator (native)"
TACHO_WINE="$wine" TACHO_WINE_CLIENT="$PWD/$build/tests/windows/windows_exchange_client.exe" \
  "$native/tests/windows/wine_exchange_driver_tests" --gtest_brief=1 2>>"$winelog" || fail "exchanges under wine"
echo "exchanges: $(seconds_since "$t") s"

# --- read time-outs on a silent line --------------------------------------------
echo "-- read time-outs under wine (rule: 15 + 15*M ms)"
out="$build/emulator-silent.out"
"$native/tools/emulator/tachocalib-emulator" --no-link --fault silent >"$out" 2>>"$winelog" &
emulator_pid=$!
pty=
for _ in $(seq 100); do
  pty=$(sed -n 's/^PTY //p' "$out" | head -n 1)
  [ -n "$pty" ] && break
  sleep 0.05
done
if [ -n "$pty" ]; then
  ln -sfn "$pty" "$link"
  "$wine" "$build/tests/windows/windows_read_timeouts.exe" "$com" 3 2>>"$winelog" || fail "read time-outs"
  rm -f "$link"
else
  fail "the emulator printed no pseudo-terminal"
fi
kill "$emulator_pid" 2>/dev/null || true
wait "$emulator_pid" 2>/dev/null || true
emulator_pid=

wineserver -k 2>/dev/null || true
echo "Windows stage: $(seconds_since "$started") s"
if ((${#failures[@]})); then
  echo "wine's messages: $winelog (last lines below)"
  tail -n 20 "$winelog" || true
  echo "Windows stage FAILED: ${failures[*]}"
  exit 1
fi
echo "Windows stage passed"

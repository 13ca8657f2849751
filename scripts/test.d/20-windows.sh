#!/usr/bin/env bash
# The Windows build: cross-compiles everything that needs no Qt with mingw-w64
# (preset mingw), the Win32 window and Tachocalib.exe included, runs its test
# programs under wine on a virtual X display (the window's tests among them, at
# 96 dpi and again at 144), runs the record commands through the Win32 serial
# code and through the window against the device emulator (native, on a
# pseudo-terminal that wine reaches as COM40) and checks what reached the device
# byte for byte, prints the read time-outs measured under wine, checks the
# version record and manifest compiled from app/win/*.rc, and that
# Tachocalib.exe is one file that needs only the system's DLLs.
# Never lets wine open a COM number that it mapped to a real serial device.
set -euo pipefail
cd "$(dirname "$0")/../.."
# The window tests need an X display; a virtual one keeps them off the desktop.
if [ -z "${TACHO_UNDER_XVFB:-}" ]; then
  exec env TACHO_UNDER_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
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
source scripts/wine-prefix.sh
TACHO_EMULATOR_COM=$com
link="$TACHO_EMULATOR_LINK"
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

# --- the program file ------------------------------------------------------------
exe="$build/app/win32/Tachocalib.exe"
if [ -f "$exe" ]; then
  dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
  echo "Tachocalib.exe: $(stat -c %s "$exe") bytes, imports: $dlls"
  for dll in $dlls; do
    case "$dll" in
      kernel32.dll|user32.dll|gdi32.dll|comctl32.dll|comdlg32.dll|msvcrt.dll|advapi32.dll|shell32.dll) ;;
      *) fail "Tachocalib.exe needs $dll beside it" ;;
    esac
  done
  headers=$(x86_64-w64-mingw32-objdump -p "$exe")
  grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || fail "Tachocalib.exe is no GUI program"
else
  fail "Tachocalib.exe was not built"
fi

# --- wine's prefix -------------------------------------------------------------
mkdir -p "$build"
: >"$winelog"
t=$(date +%s%N)
wine_prefix_ready 96
echo "wine prefix ready in $(seconds_since "$t") s; COM links other than to $WINEPREFIX/no-port:" \
  "$(cd "$WINEPREFIX/dosdevices" && for l in com*; do [ -L "$l" ] && [ "$(readlink "$l")" != "$WINEPREFIX/no-port" ] && printf '%s->%s ' "$l" "$(readlink "$l")"; done)"
if [ -e "$link" ] || [ -L "$link" ]; then
  target=$(readlink "$link" || true)
  if [[ "$target" == /dev/pts/* ]]; then rm -f "$link"; else echo "$link stands for $target: refusing to touch it"; exit 1; fi
fi

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
  TACHO_WINE_WINDOW_CLIENT="$PWD/$build/tests/windows/windows_window_tests.exe" \
  "$native/tests/windows/wine_exchange_driver_tests" --gtest_brief=1 2>>"$winelog" || fail "exchanges under wine"
echo "exchanges: $(seconds_since "$t") s"

# --- the window at 144 dpi --------------------------------------------------------
t=$(date +%s%N)
echo "-- the window at 144 dpi (wine)"
wine_set_dpi 144
TACHO_EXPECTED_DPI=144 "$wine" "$build/tests/windows/windows_window_tests.exe" --gtest_brief=1 \
  --gtest_filter='Win32Window.RunsAt*:Win32Window.ClientArea*:Win32Window.EveryControl*:Win32Window.BoundLabels*:Win32Window.Fonts*:Win32Window.TabWalk*' \
  2>>"$winelog" || fail "the window at 144 dpi"
wine_set_dpi 96
echo "144 dpi: $(seconds_since "$t") s"

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

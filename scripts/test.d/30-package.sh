#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian, unpacks it and starts the
# unpacked tool offscreen: it must show its window and keep running its event
# loop until told to stop.
set -euo pipefail
cd "$(dirname "$0")/../.."
umask 022  # the package's files and folders take their modes from the build

fail() { echo "FAIL: $*"; exit 1; }

build=build/package
cmake --preset release -B "$build" -DTACHO_BUILD_TESTS=OFF
cmake --build "$build" -j "$(nproc)"
rm -rf "$build/deb"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$PWD/$build/deb"
debs=("$build"/deb/tachocalib_*.deb)
if [ "${#debs[@]}" -ne 1 ] || [ ! -f "${debs[0]}" ]; then fail "expected one .deb, found: ${debs[*]}"; fi
deb=${debs[0]}
echo "package: $deb"

# lintian fails on errors only; warnings are shown.
lintian --fail-on error --tag-display-limit 0 "$deb"

# The control fields a workshop relies on.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tachocalib ] || fail "package name"
[ "$(field Version)" = 1.1.2 ] || fail "version $(field Version)"
for pkg in fonts-wine qt6-translations-l10n; do
  field Recommends | grep -qE "(^|, )$pkg( |,|$)" || fail "Recommends lacks $pkg"
done
# shellcheck disable=SC2016  # $USER is part of the command the user types
field Description | grep -qF 'sudo usermod -aG dialout $USER' || fail "description lacks the dialout command"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

for path in usr/bin/Tachocalib usr/bin/tachocalib-emulator; do
  [ -x "$root/$path" ] || fail "$path missing or not executable"
done
for path in usr/share/applications/tachocalib.desktop \
            usr/share/icons/hicolor/scalable/apps/tachocalib.svg \
            usr/share/man/man1/Tachocalib.1.gz usr/share/man/ru/man1/Tachocalib.1.gz \
            usr/share/man/man1/tachocalib-emulator.1.gz \
            usr/share/doc/tachocalib/copyright usr/share/doc/tachocalib/changelog.gz; do
  [ -f "$root/$path" ] || fail "$path missing"
done
for size in 16 22 24 32 48 64 128 256; do
  png=$root/usr/share/icons/hicolor/${size}x${size}/apps/tachocalib.png
  [ -f "$png" ] || fail "${size}x${size} icon missing"
  file "$png" | grep -q "PNG image data, $size x $size" || fail "${size}x${size} icon has the wrong size"
done
desktop=$root/usr/share/applications/tachocalib.desktop
grep -qx 'Name=Программа записи калибровочных данных' "$desktop" || fail "menu entry's name"
grep -qx 'Name\[ru\]=Программа записи калибровочных данных' "$desktop" || fail "menu entry's Russian name"
grep -qx 'Exec=Tachocalib' "$desktop" || fail "menu entry's command"
grep -qx 'Icon=tachocalib' "$desktop" || fail "menu entry's icon"

# Every Qt library the tool links (libQt6Widgets.so.6 comes in libqt6widgets6)
# and the platform plugin are dependencies.
qt_packages=$(objdump -p "$root/usr/bin/Tachocalib" |
  sed -n 's/^ *NEEDED *libQt6\([A-Za-z]*\)\.so\.6$/libqt6\L\1\E6/p')
[ -n "$qt_packages" ] || fail "the tool links no Qt library"
for pkg in $qt_packages qt6-qpa-plugins; do
  field Depends | grep -qE "(^|, )$pkg( |,|$)" || fail "Depends lacks $pkg: $(field Depends)"
done

# The unpacked programs run against the system's Qt, with no library path.
for bin in Tachocalib tachocalib-emulator; do
  if ldd "$root/usr/bin/$bin" | grep -q 'not found'; then
    ldd "$root/usr/bin/$bin"
    fail "$bin lacks libraries"
  fi
done
"$root/usr/bin/tachocalib-emulator" --help | grep -q -- '--com' || fail "emulator's usage text"

# The tool reads no command line, so it cannot be asked to quit by itself: it
# must still be running its event loop after a while, and end on SIGTERM.
log=$root/tool.log
QT_QPA_PLATFORM=offscreen "$root/usr/bin/Tachocalib" >"$log" 2>&1 &
pid=$!
sleep 3
if ! kill -0 "$pid" 2>/dev/null; then
  status=0
  wait "$pid" || status=$?
  cat "$log"
  fail "the tool ended by itself (status $status) instead of showing its window"
fi
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
# 143: ended by SIGTERM (128 + 15); 0: the tool turned SIGTERM into a normal quit.
[ "$status" -eq 143 ] || [ "$status" -eq 0 ] || { cat "$log"; fail "the tool ended with status $status"; }
if [ -s "$log" ]; then
  echo "the tool's output:"
  cat "$log"
fi
echo "package ok: $(basename "$deb")"

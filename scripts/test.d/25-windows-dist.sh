#!/usr/bin/env bash
# The Windows distribution: builds the portable ZIP and the installer (target
# windows_dist of the mingw build) and checks them. The ZIP: its listing, the
# program file, the read-me's and licence's encoding and line ends. The installer,
# under wine in a prefix of its own, made afresh: a silent install, the installed files,
# the Start-menu shortcut, the entry in the user's installed programs, the
# installed program started through its shortcut until its window shows and
# closed again, a silent uninstall, and nothing of it left behind. Prints the
# sizes of both. Runs under Xvfb, since the program shows a window.
set -euo pipefail
cd "$(dirname "$0")/../.."

if [ -z "${TACHO_DIST_UNDER_XVFB:-}" ]; then
  exec env TACHO_DIST_UNDER_XVFB=1 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

started=$(date +%s%N)
seconds_since() { awk -v ns=$(($(date +%s%N) - $1)) 'BEGIN { printf "%.1f", ns / 1e9 }'; }

build=build/mingw
dist=$build/dist
version=$(sed -n 's/^project(TachoCalib VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
zip=$dist/Tachocalib-$version-win64.zip
installer=$dist/Tachocalib-$version-setup.exe
caption="Программа записи калибровочных данных"

failures=()
fail() { failures+=("$1"); echo "FAILED: $1"; }
indent() { sed 's/^/  /'; }

# --- build -------------------------------------------------------------------
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$(nproc)" --target windows_dist windows_run_shortcut
echo "packaged program: $(cat "$dist/packaged-program.txt")"

# --- the ZIP -------------------------------------------------------------------
echo "-- $zip"
unzip -l "$zip"
unzip -tq "$zip" >/dev/null || fail "the ZIP does not test good"
listing=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
[ "$listing" = "LICENSE.txt README-ru.txt Tachocalib.exe " ] || fail "the ZIP holds: $listing"

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"
exe_type=$(file -b "$unpacked/Tachocalib.exe")
[[ "$exe_type" == "PE32+ executable (GUI) x86-64"* ]] || fail "Tachocalib.exe is a $exe_type"
# The program's own version record agrees with the package's version.
grep -qx "$version.0" < <(strings -el "$unpacked/Tachocalib.exe") || fail "Tachocalib.exe has no version $version.0"

hex() { od -An -tx1 | tr -d ' \n'; }
# Notepad shows a text right when it is UTF-8 with a byte-order mark and CR LF.
check_text() {  # file, then lines it must hold
  local file=$1 name=${1##*/}
  shift
  if [ "$(LC_ALL=C grep -c $'\r$' "$file")" != "$(wc -l <"$file")" ] || [ "$(tail -c 2 "$file" | hex)" != 0d0a ]; then
    fail "$name has lines that do not end in CR LF"
  fi
  iconv -f UTF-8 -t UTF-16 "$file" >/dev/null 2>&1 || fail "$name is not UTF-8"
  local line
  for line in "$@"; do
    grep -qF -- "$line" < <(tr -d '\r' <"$file") || fail "$name lacks \"$line\""
  done
}
[ "$(head -c 3 "$unpacked/README-ru.txt" | hex)" = efbbbf ] || fail "README-ru.txt has no UTF-8 byte-order mark"
check_text "$unpacked/README-ru.txt" "$caption, версия $version" "COM1–COM42" "Tachocalib-$version-setup.exe" \
  "Tachocalib-$version-win64.zip" "LICENSE.txt"
check_text "$unpacked/LICENSE.txt" "MIT License" "Copyright (c) 2026 The Tachocalib developers" \
  "Permission is hereby granted, free of charge"

# --- the installer under wine ----------------------------------------------------
setup_type=$(file -b "$installer")
[[ "$setup_type" == "PE32+ executable (GUI) x86-64"* ]] || fail "the installer is a $setup_type"

source scripts/lib/wine.sh
wine_setup "$PWD/$build/wineprefix-dist"
winelog="$PWD/$build/wine-dist-stderr.log"
: >"$winelog"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$unpacked"' EXIT

# Every run starts on a machine where the program has never been: a copy of the
# Windows build stage's prefix (seconds), else a new prefix (half a minute).
t=$(date +%s%N)
rm -rf "$WINEPREFIX"
source_prefix="$PWD/$build/wineprefix"
if [ -f "$source_prefix/system.reg" ]; then
  WINEPREFIX=$source_prefix wineserver -k 2>/dev/null || true
  cp -a "$source_prefix" "$WINEPREFIX"
  rm -f "$WINEPREFIX/wineserver"  # that prefix's server lock
  echo "wine prefix copied from $source_prefix in $(seconds_since "$t") s"
else
  wineboot -i 2>>"$winelog"
  wineserver -w
  echo "wine prefix created in $(seconds_since "$t") s"
fi

# The user's folders as wine gives them, all on drive C:.
{ read -r local_appdata; read -r appdata; read -r profile; } < <(
  "$wine" cmd /c 'echo %LOCALAPPDATA%& echo %APPDATA%& echo %USERPROFILE%' 2>>"$winelog" | tr -d '\r')
unix_path() { local path=${1#C:\\}; echo "$WINEPREFIX/drive_c/${path//\\//}"; }
install_dir="$local_appdata\\Programs\\Tachocalib"
shortcut="$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\$caption.lnk"
install_unix=$(unix_path "$install_dir")
shortcut_unix=$(unix_path "$shortcut")
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tachocalib'
echo "install folder: $install_dir"
if [ -e "$install_unix" ] || [ -e "$shortcut_unix" ] || "$wine" reg query "$key" >/dev/null 2>&1; then
  echo "the prefix $WINEPREFIX already holds the program"
  exit 1
fi

# What the user's profile holds before the install; compared after the uninstall.
# AppData\Local\Programs is the user's own program folder that Windows keeps for
# every per-user install; like Program Files, it stays. The uninstaller leaves a
# copy of itself in the temporary folder, as every NSIS uninstaller does.
profile_unix=$(unix_path "$profile")
profile_files() {
  (cd "$profile_unix" && find . -path ./Temp -prune -o -path ./AppData/Local/Temp -prune -o -path ./AppData/Local/Programs \
    -o -print | sort)
}
profile_before=$(profile_files)

# Values of the installed-programs entry, as "name=value" lines in UTF-8.
registry_entry() {
  local file="$WINEPREFIX/drive_c/entry.reg"
  rm -f "$file"
  "$wine" reg export "$key" 'C:\entry.reg' /y >/dev/null 2>>"$winelog" || return 1
  iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r' | sed -n 's/^"\([^"]*\)"=\(.*\)$/\1=\2/p' | sed 's/\\\\/\\/g'
  rm -f "$file"
}

t=$(date +%s%N)
"$wine" "$installer" /S 2>>"$winelog" || fail "the silent install ended with an error"
echo "silent install: $(seconds_since "$t") s"

for file in Tachocalib.exe README-ru.txt LICENSE.txt uninstall.exe; do
  [ -f "$install_unix/$file" ] || fail "$file not installed"
done
for file in Tachocalib.exe README-ru.txt LICENSE.txt; do
  cmp -s "$install_unix/$file" "$unpacked/$file" || fail "the installed $file differs from the ZIP's"
done
[ -f "$shortcut_unix" ] || fail "no Start-menu shortcut \"$caption\""

entry=$(registry_entry) || fail "no installed-programs entry $key"
echo "installed-programs entry:"
indent <<<"$entry"
expect_value() {  # name, value as reg export writes it
  grep -qxF -- "$1=$2" <<<"$entry" || fail "entry $1 is not $2"
}
expect_value DisplayName "\"$caption\""
expect_value DisplayVersion "\"$version\""
expect_value Publisher '"Tachocalib developers"'
expect_value InstallLocation "\"$install_dir\""
expect_value DisplayIcon "\"$install_dir\\Tachocalib.exe,0\""
expect_value UninstallString "\"\\\"$install_dir\\uninstall.exe\\\"\""
expect_value QuietUninstallString "\"\\\"$install_dir\\uninstall.exe\\\" /S\""
expect_value NoModify dword:00000001
expect_value NoRepair dword:00000001
# The size in KiB of what was installed; each file may round down by up to 1 KiB.
estimated=$((16#$(sed -n 's/^EstimatedSize=dword://p' <<<"$entry" | grep . || echo 0)))
installed_bytes=$(find "$install_unix" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
installed_files=$(find "$install_unix" -type f | wc -l)
if ((estimated > installed_bytes / 1024 || estimated < installed_bytes / 1024 - installed_files)); then
  fail "EstimatedSize $estimated KiB for $installed_bytes bytes installed"
fi

# The installed program, started through its shortcut, shows its window and ends
# when the window is closed.
t=$(date +%s%N)
run_shortcut=$build/tests/windows/packaging/windows_run_shortcut.exe
run_out=$("$wine" "$run_shortcut" "$shortcut" 2>>"$winelog" | tr -d '\r') ||
  fail "the program started from its shortcut (status $?)"
indent <<<"$run_out"
grep -qxF "target: $install_dir\\Tachocalib.exe" <<<"$run_out" || fail "the shortcut does not point to the installed program"
grep -qxF "folder: $install_dir" <<<"$run_out" || fail "the shortcut does not start in the install folder"
grep -qxF "window shown" <<<"$run_out" || fail "the installed program showed no window"
echo "start and close: $(seconds_since "$t") s"

# A running program cannot be deleted, so an uninstall while it runs removes
# nothing and fails. Run in place (_?=), the uninstaller is waited for.
"$wine" "$run_shortcut" "$shortcut" --leave-open 2>>"$winelog" >/dev/null || fail "the program to leave open did not start"
status=0
"$wine" "$install_unix/uninstall.exe" /S "_?=$install_dir" 2>>"$winelog" || status=$?
((status != 0)) || fail "the uninstall while the program runs reported success"
for file in Tachocalib.exe README-ru.txt LICENSE.txt uninstall.exe; do
  [ -f "$install_unix/$file" ] || fail "the uninstall while the program runs removed $file"
done
[ -f "$shortcut_unix" ] || fail "the uninstall while the program runs removed the shortcut"
"$wine" reg query "$key" >/dev/null 2>>"$winelog" || fail "the uninstall while the program runs removed the entry"
"$wine" "$run_shortcut" --close 2>>"$winelog" >/dev/null || fail "the program left open did not close"

# The uninstaller copies itself elsewhere and returns at once; wineserver -w
# waits for that copy to finish.
t=$(date +%s%N)
"$wine" "$install_unix/uninstall.exe" /S 2>>"$winelog" || fail "the silent uninstall ended with an error"
wineserver -w
echo "silent uninstall: $(seconds_since "$t") s"

[ ! -e "$install_unix" ] || fail "the install folder is left: $(find "$install_unix" -mindepth 1 -printf '%P ')"
[ ! -e "$shortcut_unix" ] || fail "the Start-menu shortcut is left"
if "$wine" reg query "$key" >/dev/null 2>>"$winelog"; then fail "the installed-programs entry is left"; fi
left=$(comm -13 <(echo "$profile_before") <(profile_files))
[ -z "$left" ] || fail "the user's profile gained: $(tr '\n' ' ' <<<"$left")"
wineserver -k 2>/dev/null || true

size() { printf '%s: %s bytes (%s)\n' "${1##*/}" "$(stat -c %s "$1")" "$(numfmt --to=iec-i --suffix=B "$(stat -c %s "$1")")"; }
size "$installer"
size "$zip"
echo "Windows distribution stage: $(seconds_since "$started") s"
if ((${#failures[@]})); then
  echo "wine prefix kept for a look: $WINEPREFIX"
  echo "wine's messages: $winelog (last lines below)"
  tail -n 20 "$winelog" || true
  echo "Windows distribution stage FAILED: ${failures[*]}"
  exit 1
fi
rm -rf "$WINEPREFIX"  # made afresh by every run
echo "Windows distribution stage passed"

# Sourced by scripts/test.d/20-windows.sh and scripts/bench.sh: the wine prefix
# of the Windows build (build/mingw/wineprefix) made ready for the tool.
#  - Tahoma (Debian's fonts-wine) in the prefix's font folder, which wine reads.
#  - Serial ports: wine maps the machine's serial devices to low COM numbers on
#    its own, at every start of the prefix. Every COM1..COM42 is pinned in
#    HKLM\Software\Wine\Ports: COM40 to the link $TACHO_EMULATOR_LINK (which the
#    tests point at the device emulator's pseudo-terminal), every other one to
#    an empty folder, which no program can open as a port (an empty entry would
#    leave an openable port without a device behind it); the machine's devices
#    get numbers above 42, where the tool never looks.
#  - LogPixels 96 unless the caller asks for another (wine_set_dpi).
# Needs: WINEPREFIX, wine (the loader), winelog (a file for wine's messages).

: "${TACHO_EMULATOR_COM:=40}"
export TACHO_EMULATOR_LINK="$WINEPREFIX/emulator-com$TACHO_EMULATOR_COM"

wine_prefix_ready() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    local t=$(date +%s%N)
    # wineboot makes dosdevices/ itself; a folder made before it breaks the prefix.
    wineboot -i 2>>"$winelog"
    wineserver -w
    echo "wine prefix created in $(( ($(date +%s%N) - t) / 1000000 )) ms"
  fi
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" f
  for f in /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf; do
    if [ -f "$f" ] && [ ! -f "$fonts/${f##*/}" ]; then cp "$f" "$fonts/"; fi
  done

  local reg="$WINEPREFIX/tacho-ports.reg" n no_port="$WINEPREFIX/no-port"
  mkdir -p "$no_port"
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\r\n'
    for n in $(seq 1 42); do
      if [ "$n" = "$TACHO_EMULATOR_COM" ]; then
        printf '"COM%s"="%s"\r\n' "$n" "$TACHO_EMULATOR_LINK"
      else
        printf '"COM%s"="%s"\r\n' "$n" "$no_port"
      fi
    done
    # Smoothed text, as a Windows desktop draws it.
    printf '\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' "${1:-96}"
    printf '"FontSmoothing"="2"\r\n"FontSmoothingType"=dword:00000002\r\n"FontSmoothingOrientation"=dword:00000001\r\n' 
  } >"$reg"
  "$wine" regedit /S "$(winepath_of "$reg")" 2>>"$winelog"
  # The ports and the dpi take effect when the prefix starts next.
  wineserver -w
  "$wine" cmd /c exit 2>>"$winelog" || true

  local l target bad=
  for l in "$WINEPREFIX"/dosdevices/com*; do
    [ -L "$l" ] || continue
    n=${l##*/com}
    ((n > 42)) && continue  # beyond the ports the tool tries
    target=$(readlink "$l")
    if [ "$l" = "$WINEPREFIX/dosdevices/com$TACHO_EMULATOR_COM" ] && [ "$target" = "$TACHO_EMULATOR_LINK" ]; then continue; fi
    [ "$target" = "$no_port" ] && continue
    echo "wine still maps ${l##*/} to $target"
    bad=1
  done
  [ -z "$bad" ] || { echo "refusing to run: a COM number leads to a device of this machine"; return 1; }
}

# The prefix's dpi for the programs started next: 96, or 144 for the scaled run.
wine_set_dpi() {
  wine_prefix_ready "$1"
}

winepath_of() { echo "Z:${1//\//\\}"; }

# shellcheck shell=bash
# Sourced by the Windows test stages: wine's environment for one prefix, quiet
# and without prompts, and the wine loader in $wine.
# usage: wine_setup <prefix folder>
wine_setup() {
  export WINEPREFIX=$1
  export WINEDEBUG=-all
  # No mono or gecko prompts; no Linux menu entries made from shortcuts.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  wine=$(command -v wine64 || true)
  [ -n "$wine" ] || wine=/usr/lib/wine/wine64
}

#!/usr/bin/env bash
# Installs, with apt-get, whatever the build, the tests and the tool need and this
# machine lacks. Run as root on Debian 12. Usage: install-deps.sh [build|run|test]
set -euo pipefail
what=${1:-test}

base=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-translations-l10n fonts-wine fonts-dejavu-core)
run=(xvfb xauth)
test=(libgtest-dev libgmock-dev clang libclang-rt-14-dev
      g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 wine nsis unzip xvfb xauth
      lintian dpkg-dev fakeroot file)

case "$what" in
  build) wanted=("${base[@]}") ;;
  run) wanted=("${base[@]}" "${run[@]}") ;;
  test) wanted=("${base[@]}" "${test[@]}") ;;
  *) echo "usage: $0 [build|run|test]" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

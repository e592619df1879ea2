#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the packages, the demo and the Windows build
# (mingw-w64, wixl for its installer, and wine for its tests) need; does nothing when all are present.
set -euo pipefail

pacotes=(
  cmake ninja-build g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  nettle-dev libsystemd-dev
  qt6-base-dev libgl-dev
  clang libclang-rt-14-dev
  xvfb xauth tint2 x11-utils xdotool
  python3
  dpkg-dev fakeroot lintian systemd man-db groff-base desktop-file-utils
  g++-mingw-w64-x86-64-posix wine64 msitools wixl googletest
)

faltando=()
for p in "${pacotes[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    faltando+=("$p")
  fi
done

[ ${#faltando[@]} -eq 0 ] && exit 0

echo "Installing: ${faltando[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "need root or sudo to install: ${faltando[*]}" >&2; exit 1; }
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${faltando[@]}"

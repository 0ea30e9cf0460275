#!/usr/bin/env bash
# Installs the Debian packages Reelwarden needs to build, run and test that are not there yet.
# Uses sudo when not run as root. Usage: install-deps.sh [run|test]
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libsqlite3-dev libzip-dev zlib1g-dev
  mdbtools-dev libglib2.0-dev
  fonts-liberation
)
if [ "${1:-run}" = test ]; then
  packages+=(time poppler-utils cups cups-daemon cups-client cups-bsd clang libclang-rt-14-dev
    desktop-file-utils sqlite3 tellico-data libxml2-utils)
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"

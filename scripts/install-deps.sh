#!/usr/bin/env bash
# Installs the Debian packages Reelwarden needs to build, run and test that are not there yet.
# Uses sudo when not run as root. Usage: install-deps.sh [run|test|screenshot]
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libsqlite3-dev libzip-dev zlib1g-dev libxml2-dev
  mdbtools-dev libglib2.0-dev
  fonts-liberation
)
if [ "${1:-run}" = test ]; then
  packages+=(time poppler-utils cups cups-daemon cups-client cups-bsd clang libclang-rt-14-dev
    desktop-file-utils sqlite3 tellico-data libxml2-utils appstream mandoc man-db bash-completion
    locales clang-format)
fi
if [ "${1:-run}" = screenshot ]; then
  packages+=(sqlite3 xvfb x11-utils imagemagick optipng)
fi

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tests run under these locales (amounts typed with a decimal comma among them).
if [ "${1:-run}" = test ]; then
  generate=()
  for locale in en_US de_DE fr_FR; do
    locale -a 2>/dev/null | grep -qix "$locale.utf-\?8" || generate+=("$locale")
  done
  if [ ${#generate[@]} -gt 0 ]; then
    echo "Generating locales: ${generate[*]}"
    for locale in "${generate[@]}"; do
      grep -qx "$locale.UTF-8 UTF-8" /etc/locale.gen ||
        echo "$locale.UTF-8 UTF-8" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    done
    "${sudo[@]}" locale-gen >/dev/null
  fi
fi

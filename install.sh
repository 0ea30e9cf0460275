#!/usr/bin/env bash
# Installs Reelwarden for the current user, no root needed (missing Debian packages are
# installed first, with sudo). ./install.sh --uninstall removes it again, all but the catalog,
# the settings file and the catalog's daily backups.
#   ~/.local/share/reelwarden/    the program folder: the programs, the catalog movies.mdb (an
#                                 empty one only when none is there) and the settings file
#   ~/.local/bin/                 links reelwarden and reelwarden-transfer into that folder
#   ~/.local/share/applications/, ~/.local/share/icons/hicolor/   the menu entry and the icon
#   ~/.local/share/metainfo/      the software-centre listing
#   ~/.local/share/man/man1/      the manual pages (found through ~/.local/bin on the PATH)
#   ~/.local/share/bash-completion/completions/   the bash completion of reelwarden-transfer
# XDG_DATA_HOME, when set, takes the place of ~/.local/share but for the manual pages. It builds
# in Release in build-release/; REELWARDEN_BUILD_DIR=FOLDER installs from that built folder
# instead, with the folders it was configured with, and builds nothing.
set -euo pipefail
build=${REELWARDEN_BUILD_DIR:-}
[[ -z $build || $build == /* ]] || build=$PWD/$build
cd "$(dirname "$0")"

data=${XDG_DATA_HOME:-}
[[ $data == /* ]] || data=$HOME/.local/share
folder=$data/reelwarden
installed=$folder/installed-files.txt

uninstall() {
  if [ ! -f "$installed" ]; then
    echo "Reelwarden is not installed here: there is no $installed." >&2
    exit 1
  fi
  while IFS= read -r file; do
    case $file in
      "$installed" | "$folder/movies.mdb" | "$folder/TARSEL.INI") ;;
      *) rm -f -- "$file" ;;
    esac
  done <"$installed"
  rm -f -- "$installed"
  echo "Reelwarden is uninstalled. These stay in $folder/; remove it when you no longer need them:"
  for kept in "$folder/movies.mdb" "$folder/TARSEL.INI" "$folder/backups"; do
    [ ! -e "$kept" ] || echo "  $kept"
  done
}

case ${1:-} in
  --uninstall) uninstall; exit 0 ;;
  "") ;;
  *) echo "usage: ./install.sh [--uninstall]" >&2; exit 2 ;;
esac

if [ -z "$build" ]; then
  build=build-release
  scripts/install-deps.sh run
  datadir=share
  [ "$data" = "$HOME/.local/share" ] || datadir=$data
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DREELWARDEN_BENCH=OFF -DCMAKE_INSTALL_DATADIR="$datadir" >/dev/null
  cmake --build "$build" -j2
fi
cmake --install "$build" --prefix "$HOME/.local" >/dev/null
echo "Reelwarden is installed: start it from the desktop's menu or with ~/.local/bin/reelwarden."
echo "Its catalog is $folder/movies.mdb."
case ":$PATH:" in
  *":$HOME/.local/bin:"*) ;;
  *) echo "~/.local/bin is not on your PATH yet; Debian's ~/.profile adds it at your next login." ;;
esac

#!/usr/bin/env bash
# Installing for everyday use, from a built folder into a temporary home: exactly the expected
# files, a valid menu entry, the program started through its link opening the catalog in the
# program folder, a second install keeping a catalog with movies byte for byte, the packagers'
# prefix install giving the same files, and uninstalling leaving the catalog and settings file.
# Usage: test_install.sh SOURCE_FOLDER BUILD_FOLDER HAS_TRANSFER(0|1)
set -euo pipefail
source=$1 build=$2 transfer=$3
tmp=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$tmp"' EXIT
export HOME=$tmp/home XDG_DATA_HOME=$tmp/home/.local/share XDG_CONFIG_HOME=$tmp/home/.config
export XDG_CACHE_HOME=$tmp/home/.cache XDG_RUNTIME_DIR=$tmp/run REELWARDEN_BUILD_DIR=$build
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
folder=$XDG_DATA_HOME/reelwarden
fail() { echo "FAIL: $*" >&2; exit 1; }
files() { (cd "$1" && find . \( -type f -o -type l \) | LC_ALL=C sort); }  # byte order, as the lists below are written
for tool in desktop-file-validate sqlite3 sha256sum; do
  command -v $tool >/dev/null || fail "$tool is missing (scripts/install-deps.sh test installs it)"
done

expected="./bin/reelwarden
./share/applications/reelwarden.desktop
./share/reelwarden/installed-files.txt
./share/reelwarden/movies.mdb
./share/reelwarden/reelwarden
./share/reelwarden/reelwarden-mdb-reader
./share/icons/hicolor/scalable/apps/reelwarden.svg"
for size in 16 32 48 64 128 256; do
  expected+=$'\n'"./share/icons/hicolor/${size}x$size/apps/reelwarden.png"
done
[ "$transfer" = 1 ] && expected+=$'\n./bin/reelwarden-transfer\n./share/reelwarden/reelwarden-transfer'
expected=$(LC_ALL=C sort <<<"$expected")

"$source/install.sh" >/dev/null
diff <(echo "$expected") <(files "$HOME/.local") || fail "the installed files differ from the expected"
entry=$XDG_DATA_HOME/applications/reelwarden.desktop
[ -z "$(desktop-file-validate "$entry")" ] || fail "$(desktop-file-validate "$entry")"
grep -qx "Exec=\"$folder/reelwarden\"" "$entry" || fail "the menu entry does not start $folder/reelwarden"

# Started through its link, the program makes its settings file beside itself and holds the
# catalog there open once its window is loaded.
sqlite3 "$folder/movies.mdb" "INSERT INTO Movies (Title) VALUES ('Alien')"
"$HOME/.local/bin/reelwarden" & pid=$!
for _ in $(seq 600); do
  [ "$(readlink /proc/$pid/fd/* 2>/dev/null | grep -cx "$folder/movies.mdb")" -gt 0 ] && break
  sleep 0.1
done
sleep 2
kill -0 $pid 2>/dev/null || fail "the program started through its link has ended"
readlink /proc/$pid/fd/* | grep -qx "$folder/movies.mdb" || fail "the catalog in $folder is not open"
[ -f "$folder/TARSEL.INI" ] || fail "no settings file in $folder"
kill $pid && wait $pid || true

before=$(sha256sum "$folder/movies.mdb" "$folder/TARSEL.INI")
"$source/install.sh" >/dev/null
[ "$(sha256sum "$folder/movies.mdb" "$folder/TARSEL.INI")" = "$before" ] || fail "reinstalling changed the catalog or settings"
cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
diff <(echo "$expected") <(files "$tmp/prefix") || fail "the prefix install differs"

"$source/install.sh" --uninstall | grep -qF "$folder/" || fail "uninstall does not say where the catalog stays"
diff <(printf './share/reelwarden/TARSEL.INI\n./share/reelwarden/movies.mdb\n') <(files "$HOME/.local") ||
  fail "uninstall left other files or removed the catalog or settings"
[ "$(sha256sum "$folder/movies.mdb" "$folder/TARSEL.INI")" = "$before" ] || fail "uninstall changed the catalog"
echo PASS

#!/usr/bin/env bash
# Installing for everyday use, from a built folder into a temporary home: exactly the expected
# files (a file an earlier version placed and this one does not, removed), a valid menu entry
# and software-centre listing, manual pages that man finds and mandoc finds no fault in, a bash
# completion that bash-completion loads and that completes commands, formats and files, the
# program started through its link opening the catalog in the program folder and making the
# day's backup beside it, a second install keeping a catalog with movies byte for byte, the
# packagers' prefix install giving the same files, and uninstalling leaving the catalog, the
# settings file and the backups.
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
files() { (cd "$1" && find . \( -type f -o -type l \) | LC_ALL=C sort); }
for tool in desktop-file-validate sqlite3 sha256sum appstreamcli mandoc man; do
  command -v $tool >/dev/null || fail "$tool is missing (scripts/install-deps.sh test installs it)"
done
completion=/usr/share/bash-completion/bash_completion
[ -f $completion ] || fail "bash-completion is missing (scripts/install-deps.sh test installs it)"

id=io.github.reelwarden.Reelwarden

# The words bash-completion offers, sorted, for the words given (the last one being completed),
# in a folder holding a.csv, b.TC, c.txt, d.html, e.mdb and a folder f.
complete_words() {
  mkdir -p "$tmp/words/f" && touch "$tmp/words/"{a.csv,b.TC,c.txt,d.html,e.mdb}
  (cd "$tmp/words" && PATH="$HOME/.local/bin:$PATH" bash --norc --noprofile -c '
    source "$0" && __load_completion reelwarden-transfer || exit 1
    COMP_WORDS=("$@") COMP_CWORD=$(($# - 1)) COMP_LINE="$*" COMP_POINT=${#COMP_LINE}
    _reelwarden_transfer && printf "%s\n" "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd " "
  ' "$completion" reelwarden-transfer "$@")
}

# reelwarden-transfer's manual page describes every option of --help and every column an export
# writes; -h is --help; --version, the metainfo's newest release and the manual page agree; the
# completion names the commands, the formats and the files of each.
check_transfer_help() {
  local program=$HOME/.local/bin/reelwarden-transfer option column
  diff <("$program" -h) <("$program" --help) || fail "-h is not --help"
  local version newest
  version=$("$program" --version | sed -n 's/^reelwarden-transfer //p')
  newest=$(grep -o -m1 '<release version="[^"]*"' "$XDG_DATA_HOME/metainfo/$id.metainfo.xml")
  [ "$newest" = "<release version=\"$version\"" ] || fail "--version says $version, the metainfo $newest"
  grep -q "^\.TH .* \"Reelwarden $version\"" "$1" || fail "the manual page is not of version $version"
  local tags # the words of the lines that head a paragraph of the manual page
  tags=$(awk '$0 !~ /^[.]/ { last = "" } last == ".TP" { print } { last = $0 }' "$1" | tr ' "' '\n\n')
  for option in $("$program" --help | grep -o -- '--[a-z-]*' | sort -u); do
    grep -qxF -- "${option//-/\\-}" <<<"$tags" || fail "the manual page describes no $option"
  done
  "$program" export "$tmp/columns.csv" --catalog "$folder/movies.mdb" >/dev/null
  for column in $(head -1 "$tmp/columns.csv" | tr -d '\r\357\273\277' | tr , ' '); do
    grep -qw -- "$column" "$1" || fail "the manual page lacks the column $column"
  done
  [ "$(complete_words ex)" = export ] || fail "ex completes to '$(complete_words ex)'"
  local formats
  formats=$("$program" --list-formats | cut -f1 | LC_ALL=C sort | paste -sd ' ')
  [ "$(complete_words --format '')" = "$formats" ] || fail "--format completes to '$(complete_words --format '')'"
  [ "$(complete_words import '')" = "a.csv b.TC e.mdb f" ] || fail "import completes to '$(complete_words import '')'"
  [ "$(complete_words export '')" = "a.csv b.TC d.html f" ] || fail "export completes to '$(complete_words export '')'"
  [ "$(complete_words backup '')" = "e.mdb f" ] || fail "backup completes to '$(complete_words backup '')'"
}
expected="./bin/reelwarden
./share/applications/$id.desktop
./share/man/man1/reelwarden.1
./share/metainfo/$id.metainfo.xml
./share/reelwarden/installed-files.txt
./share/reelwarden/movies.mdb
./share/reelwarden/reelwarden
./share/reelwarden/reelwarden-mdb-reader
./share/icons/hicolor/scalable/apps/reelwarden.svg"
for size in 16 32 48 64 128 256; do
  expected+=$'\n'"./share/icons/hicolor/${size}x$size/apps/reelwarden.png"
done
[ "$transfer" = 1 ] && expected+=$'\n./bin/reelwarden-transfer\n./share/reelwarden/reelwarden-transfer'\
$'\n./share/man/man1/reelwarden-transfer.1\n./share/bash-completion/completions/reelwarden-transfer'
expected=$(LC_ALL=C sort <<<"$expected")

# What 1.0 left: a menu entry under its old name, listed as installed.
mkdir -p "$folder" "$XDG_DATA_HOME/applications"
echo "$XDG_DATA_HOME/applications/reelwarden.desktop" | tee "$folder/installed-files.txt" | xargs touch
"$source/install.sh" >/dev/null
diff <(echo "$expected") <(files "$HOME/.local") || fail "the installed files differ from the expected"
entry=$XDG_DATA_HOME/applications/$id.desktop
[ -z "$(desktop-file-validate "$entry")" ] || fail "$(desktop-file-validate "$entry")"
grep -qx "Exec=\"$folder/reelwarden\"" "$entry" || fail "the menu entry does not start $folder/reelwarden"
appstreamcli validate --no-net "$XDG_DATA_HOME/metainfo/$id.metainfo.xml" >"$tmp/validate" ||
  fail "$(cat "$tmp/validate")"
! grep -E '^[EW]: ' "$tmp/validate" || fail "the software-centre listing has warnings"
pages=(reelwarden)
[ "$transfer" = 1 ] && pages+=(reelwarden-transfer)
for page in "${pages[@]}"; do
  found=$(env -u MANPATH PATH="$HOME/.local/bin:$PATH" man -w $page) || fail "man finds no $page"
  [ "$found" = "$XDG_DATA_HOME/man/man1/$page.1" ] || fail "man finds $page at $found"
  [ -z "$(mandoc -T lint "$found")" ] || fail "$(mandoc -T lint "$found")"
done
[ "$transfer" = 1 ] && check_transfer_help "$XDG_DATA_HOME/man/man1/reelwarden-transfer.1"

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
# The day's backup follows the window, beside the catalog.
backup=backups/movies-$(date +%F).mdb
for _ in $(seq 300); do [ -f "$folder/$backup" ] && break; sleep 0.1; done
[ -f "$folder/$backup" ] || fail "no daily backup $folder/$backup"
readlink /proc/$pid/fd/* | grep -qx "$folder/movies.mdb" || fail "the catalog in $folder is not open"
[ -f "$folder/TARSEL.INI" ] || fail "no settings file in $folder"
kill $pid && wait $pid || true

before=$(sha256sum "$folder/movies.mdb" "$folder/TARSEL.INI")
"$source/install.sh" >/dev/null
[ "$(sha256sum "$folder/movies.mdb" "$folder/TARSEL.INI")" = "$before" ] || fail "reinstalling changed the catalog or settings"
cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
diff <(echo "$expected") <(files "$tmp/prefix") || fail "the prefix install differs"

said=$("$source/install.sh" --uninstall) # grep -q in a pipe could end it early, by SIGPIPE
grep -qF "$folder/" <<<"$said" || fail "uninstall does not say where the catalog stays"
diff <(printf './share/reelwarden/%s\n' TARSEL.INI movies.mdb "$backup" | LC_ALL=C sort) <(files "$HOME/.local") ||
  fail "uninstall left other files or removed the catalog or settings"
[ "$(sha256sum "$folder/movies.mdb" "$folder/TARSEL.INI")" = "$before" ] || fail "uninstall changed the catalog"
echo PASS

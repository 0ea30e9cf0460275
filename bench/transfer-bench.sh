#!/usr/bin/env bash
# Times reelwarden-transfer on a generated catalog: import and export in each format, and a
# backup, each in a process of its own, with its wall time and peak memory (/usr/bin/time).
#
#   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release
#   ninja -C build-bench reelwarden-transfer reelwarden-bench-catalog make_catalog
#   bench/transfer-bench.sh [BUILD_DIR [MOVIES]]        (defaults: build-bench 100000)
set -euo pipefail
build=${1:-build-bench}
movies=${2:-100000}
program="$build/reelwarden-transfer"
work=$(mktemp -d /tmp/reelwarden-transfer-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

"$build/bench/reelwarden-bench-catalog" "$work/catalog.mdb" "$movies"

# measure LABEL ARGS...: runs reelwarden-transfer ARGS and prints a row of the table.
measure() {
  local label=$1
  shift
  if /usr/bin/time -f '%e %M' -o "$work/time" "$program" "$@" >/dev/null 2>"$work/error"; then
    read -r wall rss <"$work/time"
    printf '%-14s %10s %12s\n' "$label" "$wall" "$((rss / 1024))"
  else
    printf '%-14s %s\n' "$label" "failed: $(head -c 100 "$work/error" | head -n 1)"
  fi
}

# import LABEL FILE: into an empty catalog of its own.
import() {
  rm -f "$work/empty.mdb"
  "$build/tools/make_catalog" "$work/empty.mdb"
  measure "$1" import "$2" --catalog "$work/empty.mdb"
}

echo "$movies movies, $(nproc) cores, $(date -u +%F)"
printf '%-14s %10s %12s\n' command 'wall s' 'max RSS MB'
# A GCstar file of as many films, each with the fields the import reads (nothing here writes one).
gcstar() {
  awk -v n="$movies" 'BEGIN {
    print "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    print "<collection type=\"GCfilms\" items=\"" n "\" version=\"1.7.3\">"
    for (i = 1; i <= n; i++) {
      printf " <item id=\"%d\" title=\"Film number %d\" date=\"%d\" time=\"%d min\"", i, i, 1900 + i % 120, 60 + i % 120
      printf " director=\"Director %d\" format=\"DVD\" place=\"Shelf %d\" age=\"12\">\n", i % 997, i % 40
      printf "  <comment>Comment on film %d, with a second sentence.</comment>\n", i
      printf "  <genre><line><col>Drama</col></line></genre>\n"
      printf "  <actors><line><col>Actor %d</col><col>Role</col></line><line><col>Actor %d</col><col>Role</col></line></actors>\n", i % 5003, i % 7001
      print " </item>"
    }
    print "</collection>"
  }' >"$1"
}

for format in csv tc xml; do
  measure "export .$format" export "$work/movies.$format" --catalog "$work/catalog.mdb"
  if [ -f "$work/movies.$format" ]; then
    import "import .$format" "$work/movies.$format"
  fi
done
measure "export .html" export "$work/movies.html" --catalog "$work/catalog.mdb"
measure "backup" backup "$work/backup.mdb" --catalog "$work/catalog.mdb"
gcstar "$work/films.gcs"
import "import .gcs" "$work/films.gcs"

# A folder of as many Kodi movie .nfo files as there are movies, up to 10,000, a folder each, with
# a poster beside each that the import skips.
nfo_folder() {
  awk -v n="$(( movies < 10000 ? movies : 10000 ))" -v dir="$1" 'BEGIN {
    for (i = 1; i <= n; i++) {
      folder = dir "/Film " i " (" 1900 + i % 120 ")"
      system("mkdir -p \"" folder "\"")
      file = folder "/movie.nfo"
      printf "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n<movie>\n" > file
      printf "  <title>Film number %d</title>\n  <year>%d</year>\n  <runtime>%d</runtime>\n", i, 1900 + i % 120, 60 + i % 120 > file
      printf "  <mpaa>Rated PG</mpaa>\n  <genre>Drama</genre>\n  <genre>Comedy</genre>\n  <director>Director %d</director>\n", i % 997 > file
      printf "  <plot>Plot of film %d, with a second sentence.</plot>\n  <studio>Studio %d</studio>\n", i, i % 50 > file
      for (a = 0; a < 6; a++)
        printf "  <actor>\n    <name>Actor %d</name>\n    <role>Role %d</role>\n    <order>%d</order>\n  </actor>\n", (i + a * 7) % 5003, a, a > file
      printf "</movie>\nhttps://www.themoviedb.org/movie/%d\n", i > file
      close(file)
      printf "poster" > (folder "/poster.jpg"); close(folder "/poster.jpg")
    }
  }'
}

# A DVD Profiler export of as many profiles, each with the blocks DVD Profiler writes for every
# disc (formats, features, audio, cast, crew, locks), windows-1252 and CRLF as it writes them.
dvdprofiler() {
  awk -v n="$movies" 'BEGIN {
    ORS = "\r\n"
    print "<?xml version=\"1.0\" encoding=\"windows-1252\"?>"
    print "<!--DVD Profiler Collection Export-->"
    print "<Collection>"
    for (i = 1; i <= n; i++) {
      print "  <DVD>"
      printf "    <ID>%012d</ID>\r\n    <MediaTypes>\r\n      <DVD>True</DVD>\r\n      <HDDVD>False</HDDVD>\r\n      <BluRay>False</BluRay>\r\n    </MediaTypes>\r\n", i
      printf "    <UPC>%012d</UPC>\r\n    <CollectionNumber>%d</CollectionNumber>\r\n    <CollectionType>Owned</CollectionType>\r\n", i, i
      printf "    <Title>Caf\351 number %d</Title>\r\n    <ProductionYear>%d</ProductionYear>\r\n    <RunningTime>%d</RunningTime>\r\n", i, 1900 + i % 120, 60 + i % 120
      print "    <RatingSystem>Film</RatingSystem>\r\n    <Rating>PG</Rating>\r\n    <CaseType>Keep Case</CaseType>"
      print "    <Genres>\r\n      <Genre>Drama</Genre>\r\n      <Genre>Comedy</Genre>\r\n    </Genres>"
      print "    <Format>\r\n      <FormatAspectRatio>1.85</FormatAspectRatio>\r\n      <FormatVideoStandard>NTSC</FormatVideoStandard>\r\n      <FormatLetterBox>True</FormatLetterBox>\r\n      <Format16X9>True</Format16X9>\r\n    </Format>"
      print "    <Features>\r\n      <FeatureSceneAccess>True</FeatureSceneAccess>\r\n      <FeatureCommentary>False</FeatureCommentary>\r\n      <FeatureTrailer>True</FeatureTrailer>\r\n      <FeatureMakingOf>False</FeatureMakingOf>\r\n      <OtherFeatures/>\r\n    </Features>"
      print "    <Studios>\r\n      <Studio>Studio</Studio>\r\n    </Studios>\r\n    <Audio>\r\n      <AudioTrack>\r\n        <AudioContent>English</AudioContent>\r\n        <AudioFormat>Dolby Digital 5.1</AudioFormat>\r\n      </AudioTrack>\r\n    </Audio>"
      print "    <SRP DenominationType=\"USD\" DenominationDesc=\"United States (Dollar)\" FormattedValue=\"$19.95\">19.95</SRP>"
      print "    <Actors>"
      for (a = 0; a < 6; a++)
        printf "      <Actor FirstName=\"Actor\" MiddleName=\"\" LastName=\"%d\" BirthYear=\"0\" Role=\"Role\" CreditedAs=\"\" Voice=\"False\" Uncredited=\"False\"/>\r\n", (i + a * 7) % 5003
      print "    </Actors>\r\n    <Credits>"
      printf "      <Credit FirstName=\"Director\" MiddleName=\"\" LastName=\"%d\" BirthYear=\"0\" CreditType=\"Direction\" CreditSubtype=\"Director\" CreditedAs=\"\"/>\r\n", i % 997
      printf "      <Credit FirstName=\"Producer\" MiddleName=\"\" LastName=\"%d\" BirthYear=\"0\" CreditType=\"Production\" CreditSubtype=\"Producer\" CreditedAs=\"\"/>\r\n", i % 501
      print "    </Credits>"
      printf "    <Overview>Overview of film %d, with a second sentence about its story.</Overview>\r\n", i
      print "    <Discs>\r\n      <Disc>\r\n        <DescriptionSideA>Main Feature</DescriptionSideA>\r\n        <Location>Shelf 1</Location>\r\n      </Disc>\r\n    </Discs>"
      printf "    <PurchaseInfo>\r\n      <PurchasePrice DenominationType=\"USD\" FormattedValue=\"$%d.99\">%d.99</PurchasePrice>\r\n      <PurchaseDate>2009-01-09</PurchaseDate>\r\n    </PurchaseInfo>\r\n", i % 30, i % 30
      print "    <LoanInfo>\r\n      <Loaned>False</Loaned>\r\n    </LoanInfo>\r\n    <Notes/>\r\n    <Tags/>"
      print "    <Locks>\r\n      <Entire>False</Entire>\r\n      <Covers>False</Covers>\r\n      <Title>False</Title>\r\n      <Cast>False</Cast>\r\n      <Crew>False</Crew>\r\n    </Locks>"
      print "  </DVD>"
    }
    print "</Collection>"
  }' >"$1"
}

mkdir "$work/library"
nfo_folder "$work/library"
import "import .nfo dir" "$work/library"
dvdprofiler "$work/collection.xml"
import "import DVD Prof." "$work/collection.xml"
# An Ant Movie Catalog 4.2 catalog of as many movies (binary .amc), each with the fields the
# import reads, actors beyond the fourth, a description and a price in a custom field.
amc() {
  perl -e '
    my $n = shift;
    sub text { pack("l<", length $_[0]) . $_[0] }
    print " AMC_4.2 Ant Movie Catalog 4.2.x   antp/soulsnake    www.antp.be ";
    print text("") x 4, text("Price:p42:w80:vt"), text("fw533:fh449"), pack("l<", 1);
    print text("Price"), text("Price"), text(""), text("ftReal2"), text(""), text(""),
          "\0", pack("l<", 0), "\0\0\0", text("");
    for my $i (1 .. $n) {
      print pack("l<11", $i, 40000, 0, -1, 70, 1900 + $i % 120, 60 + $i % 120, -1, -1, 1, 0), "\1";
      print text("Shelf " . $i % 40), text("DVD"), text(""), text(""), text("Film number $i"),
            text("Film $i"), text("Director " . $i % 997), text("Producer " . $i % 331), text(""),
            text(""), text("France"), text("Drama, Comedy"), text("PG"),
            text(join(", ", map { "Actor " . ($i * $_) % 7001 } 1 .. 6)), text("http://example.com/$i"),
            text("Description of film $i, with a second sentence."), text("Comment on film $i."),
            text(""), text(""), text(""), text(""), text(""), text("English"), text(""), text(""),
            text(""), pack("l<", 0), text(($i % 50) . ".99"), pack("l<", 0);
    }' "$movies" >"$1"
}
amc "$work/movies.amc"
import "import .amc" "$work/movies.amc"
# As many copies of one title, each renamed "Same title (N)": hashed sets keep this linear.
{
  echo Title
  for ((i = 0; i < movies; i++)); do echo "Same title"; done
} >"$work/same.csv"
rm -f "$work/empty.mdb"
"$build/tools/make_catalog" "$work/empty.mdb"
measure "rename copies" import "$work/same.csv" --catalog "$work/empty.mdb" --rename-duplicates

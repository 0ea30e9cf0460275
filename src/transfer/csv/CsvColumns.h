#pragma once

#include "MovieColumnTable.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// Other programs' column names for the catalog's columns, from --map "Their Name=Title": the
// key in lower case, the value a catalog column's name.
using ColumnMap = QHash<QString, QString>;

// What a CSV column holds for the import.
struct CsvColumn {
    enum Kind { Unused, Movie, Note, TitleType };
    Kind kind = Unused;
    int column = -1;          // Movie: the catalog column
    QString label;            // Note: the words before its value in Comments ("IMDb rating")
    bool firstOfList = false; // Movie: only the first of a "Drama, Romance" list
};

// The CSV files of film sites, told apart by their headers.
enum class CsvKind { Spreadsheet, Imdb, Letterboxd };

// Reads a header row: each name matched, letter case, blanks and "_-#." aside, to the
// catalog's column names (Title ... Comments), the main window's labels ("Star #1", "Tape
// Position", "Length") and names other programs use (Name, Year, Genre, Runtime (mins),
// Price, Notes, ...), or through `map`. IMDb's and Letterboxd's exports are recognised and
// their own columns read: their ratings, URLs and dates to Comments, IMDb's Title Type to
// skip what is not a film.
class CsvColumns
{
  public:
    CsvColumns(const QStringList &header, const ColumnMap &map);

    CsvKind kind() const { return m_kind; }
    const std::vector<CsvColumn> &columns() const { return m_columns; }
    // The header's names that go nowhere, in the file's order.
    QStringList unused() const;
    // Whether any name matched something.
    bool anyMatched() const;
    bool hasTitle() const { return has(MovieColumn::Title); }
    // Whether a column of the file goes into the catalog's `column`.
    bool has(int column) const;
    // The first of two names that go into the same catalog column, and that column; empty
    // when there is none.
    QStringList clash() const { return m_clash; }

    // The catalog column a name stands for, or -1 ("Star #1" gives StarOne's index).
    static int catalogColumn(const QString &name);
    // Names the import takes, for messages: "Title, Category, ... (or Name, Year, Genre, ...)".
    static QString acceptedNames();

  private:
    CsvKind m_kind = CsvKind::Spreadsheet;
    std::vector<CsvColumn> m_columns;
    QStringList m_header;
    QStringList m_clash;
};

// Whether an IMDb "Title Type" is a film (movie, TV movie, video, short, special) rather than a
// series, an episode, a game or a podcast, in English or the languages IMDb exports in.
bool IsFilmTitleType(const QString &type);

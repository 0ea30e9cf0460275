#pragma once

#include "CastLeftOut.h"
#include "MovieRow.h"

#include <QMap>
#include <QSet>

// One movie on its way out of another catalog program's file: the catalog's columns, and
// what a person would want kept that has no column of its own, gathered for Comments.
struct ForeignMovie {
    MovieRow row;
    QStringList kept; // "Translated title: Matrix", after the movie's own comments

    // `text` trimmed into `column`; a blank text leaves the column as it was.
    void set(int column, const QString &text);
    // A labelled line for Comments; nothing for a blank text.
    void keep(const QString &label, const QString &text);
    // The row, its Comments the movie's own followed by the kept lines.
    MovieRow finished() const;
};

// What the readers of other catalog programs' files share: several values in one column,
// the actors beyond the fourth, the fields that fit no column and the items of other kinds
// (books, music) that the file holds besides movies, for the summary.
class ForeignReader : public MovieReader
{
  public:
    QStringList unusedColumns() const override { return m_unused; }
    QStringList notes() const override;

  protected:
    // Several values joined with "; ", counted under `kind` ("directors") when more than one.
    void setJoined(ForeignMovie &movie, int column, QStringList values, const char *kind);
    // The actors in order: the first four as the stars, the rest counted.
    void setStars(ForeignMovie &movie, QStringList actors);
    void markUnused(const QString &field);
    // An item of another kind, in the plural ("books"), left out.
    void skipItem(const QString &kinds);
    // After the last movie: a file that held items but no movie is refused, naming what it
    // holds ("holds 16 books and 2 games, no movies"). Throws TransferError.
    void requireMovies(const QString &path, int movies) const;

  private:
    QStringList m_unused;
    QSet<QString> m_unusedSeen;
    QMap<QString, int> m_joined;
    QMap<QString, int> m_skipped;
    CastLeftOut m_cast;
};

// Text split at line breaks, each line trimmed, blank lines left out.
QStringList nonBlankLines(const QString &text);
// The year of a date ("1999-02-26T08:00:00Z", "09-06-1993", "6/9/1993"), or the text as it is.
QString yearOfDate(const QString &date);

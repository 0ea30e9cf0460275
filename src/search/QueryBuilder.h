#pragma once

#include <QLocale>
#include <QString>

// The search window's entries as they stand when OK is pressed: the shown text of each pick
// list and text field, and whether the ALL-stars choice is selected.
struct SearchEntries {
    QString title, category, rating, format, copyrightFrom, copyrightTo, valueFrom, valueTo,
        condition, starOne, starTwo, starThree, starFour, producer, director;
    bool allStars = false; // the "ALL of these stars" option; otherwise ANY of them
};

struct SearchStatement {
    enum class Outcome {
        Statement,  // sql holds the statement to apply
        NoCriteria, // no entry holds a criterion; sql is empty
        BadAmount,  // both value bounds are filled and one is not an amount; sql is empty
    } outcome = Outcome::NoCriteria;
    QString sql;
};

// Builds the SELECT over [Movies] that the entries ask for. A text field is a criterion when
// its text is not empty (blanks count); a pick list when its text is neither "ANY" nor empty,
// compared case-sensitively. Years count only when written in digits alone; one year alone
// gives an open range. The value range counts only when both bounds are filled; each is read
// as an amount under the locale and written as a plain number. Every quoted text goes
// through QuoteSqlText, so no entry can change the statement's structure.
SearchStatement BuildSearchStatement(const SearchEntries &entries,
                                     const QLocale &locale = QLocale());

// The text with every "*" replaced by "%"; every other character is kept as it is.
QString ConvertWildcards(const QString &text);

// The text without its first character; an empty text stays empty.
QString DropFirstChar(const QString &text);

// The text as an SQL string literal: between single quotes, each apostrophe doubled.
QString QuoteSqlText(const QString &text);

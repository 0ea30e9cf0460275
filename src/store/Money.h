#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// Money amounts as the catalog keeps them: whole ten-thousandths of a currency unit, the
// range and precision of a 64-bit currency value. Parsing is exact (no binary float on the
// way in); the database holds the amount as a number so searches compare it numerically.
namespace Money {

using Units = qint64; // ten-thousandths: 12.50 is 125000
inline constexpr Units kUnitsPerWhole = 10000;

// Reads an amount in any form the program shows or a user may paste: the catalog's display
// form ("$1,234.50"), the locale's currency form (symbol first, locale separators), or a
// plain number ("1234.5"). Blanks around the text are ignored. An empty text, or one that is
// not an amount, gives nothing; so does an amount beyond the currency range.
std::optional<Units> parse(const QString &text, const QLocale &locale = QLocale());

// "$#,##0.00": the form in which the catalog shows a stored amount, whatever the locale.
QString formatDisplay(Units amount);

// The locale's currency form with two decimals, its currency symbol always first.
QString formatCurrency(Units amount, const QLocale &locale = QLocale());

// A plain decimal number with at least two decimals and no grouping: 1234.00, 5.125.
QString formatPlain(Units amount);

// The money fields' focus-loss rule: an empty text stays empty, a text that is not an amount
// is given back unchanged, an amount is shown in the locale's currency form.
QString reformatOnLeave(const QString &text, const QLocale &locale = QLocale());

// Conversions to and from the number the database holds.
double toDouble(Units amount);
Units fromDouble(double value);

} // namespace Money

#pragma once

#include <QLocale>
#include <QString>

#include <limits>
#include <optional>

// Money amounts as the catalog keeps them: whole ten-thousandths of a currency unit, the
// range and precision of a 64-bit currency value. Parsing is exact (no binary float on the
// way in); the database holds the amount as a number so searches compare it numerically.
namespace Money
{

using Units = qint64; // ten-thousandths: 12.50 is 125000
inline constexpr Units kUnitsPerWhole = 10000;
// The currency range is symmetric: -922337203685477.5807 to 922337203685477.5807.
inline constexpr Units kMaxUnits = std::numeric_limits<Units>::max();

// Reads an amount in any form the program shows or a user may paste: the catalog's display
// form ("$1,234.50"), the locale's currency form (its symbol first or last, its separators),
// or a plain number ("1234.5"). Blanks around the text are ignored. An empty text, or one that is
// not an amount, gives nothing; so does an amount beyond the currency range. A leading minus
// (before or after the symbol) makes the amount negative. Decimals beyond the fourth round
// half away from zero. A locale without a currency symbol of its own uses "$".
std::optional<Units> parse(const QString &text, const QLocale &locale = QLocale());

// "$#,##0.00": the form in which the catalog shows a stored amount, whatever the locale;
// a negative amount is "-$0.01". Cents are rounded half away from zero.
QString formatDisplay(Units amount);

// The locale's currency form with two decimals, its currency symbol always first; a negative
// amount puts "-" after the symbol ("€-1.234,00"). Digits are grouped by threes with the
// locale's group separator; "$" stands in for a locale without a symbol of its own.
QString formatCurrency(Units amount, const QLocale &locale = QLocale());

// A plain decimal number with at least two decimals and no grouping: 1234.00, 5.125.
QString formatPlain(Units amount);

// The money fields' focus-loss rule: an empty text stays empty, a text that is not an amount
// is given back unchanged, an amount is shown in the locale's currency form.
QString reformatOnLeave(const QString &text, const QLocale &locale = QLocale());

// Conversions to and from the number the database holds. toDouble gives the double nearest
// to the exact amount; fromDouble rounds the number's shortest decimal form to the nearest
// unit (ties away from zero), clamps it to the currency range, and turns NaN into 0.
double toDouble(Units amount);
Units fromDouble(double value);

} // namespace Money

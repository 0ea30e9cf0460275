#include "Money.h"

#include <QByteArray>
#include <QList>
#include <QStringView>

#include <charconv>
#include <cmath>
#include <iterator>

namespace Money
{
namespace
{

constexpr quint64 kMaxMagnitude = quint64(kMaxUnits);
constexpr int kDecimals = 4;
const QString kDollar = QStringLiteral("$");

// How the digits of an amount are written: the separator between groups of three digits
// (empty when grouping is not allowed) and the decimal point.
struct NumberForm {
    QString group;
    QString point;
};

NumberForm plainForm()
{
    return {QString(), QStringLiteral(".")};
}
NumberForm dollarForm()
{
    return {QStringLiteral(","), QStringLiteral(".")};
}
NumberForm localeForm(const QLocale &locale)
{
    return {locale.groupSeparator(), locale.decimalPoint()};
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Some locales group with a (narrow) no-break space; a typed or pasted ordinary blank
// stands for it just as well.
bool takeGroupSeparator(QStringView &rest, const QString &group)
{
    if (group.isEmpty())
        return false;
    if (rest.startsWith(group)) {
        rest = rest.mid(group.size());
        return true;
    }
    if (group.size() == 1 && group.at(0).isSpace() && !rest.isEmpty() && rest.front().isSpace()) {
        rest = rest.mid(1);
        return true;
    }
    return false;
}

qsizetype takeDigits(QStringView &rest, QString &digits)
{
    qsizetype count = 0;
    while (count < rest.size() && isDigit(rest.at(count)))
        ++count;
    digits += rest.first(count);
    rest = rest.mid(count);
    return count;
}

// The whole part's digits with their group separators removed. Grouping is optional, but
// once used, the first group has one to three digits and every later group exactly three.
std::optional<QString> readWholeDigits(QStringView &rest, const QString &group)
{
    QString digits;
    for (int separators = 0;; ++separators) {
        const qsizetype length = takeDigits(rest, digits);
        if (separators > 0 && length != 3)
            return std::nullopt;
        if (!takeGroupSeparator(rest, group))
            return digits;
        if (length < 1 || length > 3)
            return std::nullopt;
    }
}

// Appends one decimal digit to a magnitude, failing beyond the currency range.
bool appendDigit(quint64 &magnitude, QChar digit)
{
    const quint64 value = quint64(digit.unicode() - u'0');
    if (magnitude > (kMaxMagnitude - value) / 10)
        return false;
    magnitude = magnitude * 10 + value;
    return true;
}

// Reads a whole text as an unsigned amount in the given form: digits (grouped or not),
// optionally a point and more digits; at least one digit in all.
std::optional<quint64> readMagnitude(QStringView text, const NumberForm &form)
{
    QStringView rest = text;
    const std::optional<QString> whole = readWholeDigits(rest, form.group);
    if (!whole)
        return std::nullopt;
    QString fraction;
    if (rest.startsWith(form.point)) {
        rest = rest.mid(form.point.size());
        takeDigits(rest, fraction);
    }
    if (!rest.isEmpty() || (whole->isEmpty() && fraction.isEmpty()))
        return std::nullopt;

    const bool roundUp = fraction.size() > kDecimals && fraction.at(kDecimals) >= u'5';
    const QString units = *whole + fraction.left(kDecimals).leftJustified(kDecimals, u'0');
    quint64 magnitude = 0;
    for (QChar digit : units) {
        if (!appendDigit(magnitude, digit))
            return std::nullopt;
    }
    if (roundUp && magnitude == kMaxMagnitude)
        return std::nullopt;
    return magnitude + (roundUp ? 1 : 0);
}

QString localeSymbol(const QLocale &locale)
{
    const QString symbol = locale.currencySymbol();
    return symbol.isEmpty() ? kDollar : symbol;
}

bool takePrefix(QStringView &text, QStringView prefix)
{
    if (prefix.isEmpty() || !text.startsWith(prefix))
        return false;
    text = text.mid(prefix.size());
    return true;
}

bool takeSuffix(QStringView &text, QStringView suffix)
{
    if (suffix.isEmpty() || !text.endsWith(suffix))
        return false;
    text.chop(suffix.size());
    return true;
}

bool takeMinus(QStringView &text, const QLocale &locale)
{
    return takePrefix(text, u"-") || takePrefix(text, locale.negativeSign());
}

enum class Symbol { None, Dollar, Locale };

// Takes the currency symbol and the blanks beside it off the text: the locale's own symbol
// first or last, or the display form's "$" first. The locale's symbol is tried first because
// it may begin with "$" ("US$").
Symbol takeSymbol(QStringView &text, const QLocale &locale)
{
    Symbol symbol = Symbol::None;
    if (takePrefix(text, localeSymbol(locale)) || takeSuffix(text, localeSymbol(locale)))
        symbol = Symbol::Locale;
    else if (takePrefix(text, kDollar))
        symbol = Symbol::Dollar;
    if (symbol != Symbol::None)
        text = text.trimmed();
    return symbol;
}

// The digit forms an unsigned body may take, in the order they are tried. A body without a
// symbol is read as a plain number first, since the money fields take "." as the point
// whatever the locale: under German settings "1.5" typed is one and a half, while "1.234,50"
// is the currency form.
QList<NumberForm> bodyForms(Symbol symbol, const QLocale &locale)
{
    switch (symbol) {
    case Symbol::None:
        return {plainForm(), localeForm(locale)};
    case Symbol::Dollar:
        return {dollarForm(), localeForm(locale)};
    case Symbol::Locale:
        break;
    }
    if (localeSymbol(locale) == kDollar)
        return {localeForm(locale), plainForm(), dollarForm()};
    return {localeForm(locale), plainForm()};
}

std::optional<quint64> readBody(QStringView body, Symbol symbol, const QLocale &locale)
{
    for (const NumberForm &form : bodyForms(symbol, locale)) {
        if (const std::optional<quint64> magnitude = readMagnitude(body, form))
            return magnitude;
    }
    return std::nullopt;
}

quint64 magnitudeOf(Units amount)
{
    return amount < 0 ? 0 - quint64(amount) : quint64(amount);
}

QString groupedWhole(quint64 whole, const QString &separator)
{
    const QString digits = QString::number(whole);
    QString grouped;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += separator;
        grouped += digits.at(i);
    }
    return grouped;
}

// The amount's magnitude rounded half away from zero to cents and written with two decimals.
// negative tells whether a minus belongs to it: an amount that rounds to 0.00 has none.
QString centsText(Units amount, const NumberForm &form, bool &negative)
{
    const quint64 magnitude = magnitudeOf(amount);
    const quint64 cents = magnitude / 100 + (magnitude % 100 >= 50 ? 1 : 0);
    negative = amount < 0 && cents > 0;
    return groupedWhole(cents / 100, form.group) + form.point +
           QStringLiteral("%1").arg(cents % 100, 2, 10, QLatin1Char('0'));
}

// "-1234.5000": sign, whole part, all four decimals.
QString fullDecimal(Units amount)
{
    const quint64 magnitude = magnitudeOf(amount);
    return (amount < 0 ? QStringLiteral("-") : QString()) +
           QString::number(magnitude / kUnitsPerWhole) + u'.' +
           QStringLiteral("%1").arg(magnitude % kUnitsPerWhole, kDecimals, 10, QLatin1Char('0'));
}

} // namespace

std::optional<Units> parse(const QString &text, const QLocale &locale)
{
    QStringView rest = QStringView(text).trimmed();
    bool negative = takeMinus(rest, locale);
    const Symbol symbol = takeSymbol(rest, locale);
    if (!negative && symbol != Symbol::None)
        negative = takeMinus(rest, locale);
    const std::optional<quint64> magnitude = readBody(rest, symbol, locale);
    if (!magnitude)
        return std::nullopt;
    return negative ? -Units(*magnitude) : Units(*magnitude);
}

QString formatDisplay(Units amount)
{
    bool negative = false;
    const QString number = centsText(amount, dollarForm(), negative);
    return (negative ? QStringLiteral("-$") : kDollar) + number;
}

QString formatCurrency(Units amount, const QLocale &locale)
{
    bool negative = false;
    const QString number = centsText(amount, localeForm(locale), negative);
    return localeSymbol(locale) + (negative ? QStringLiteral("-") : QString()) + number;
}

QString formatPlain(Units amount)
{
    QString text = fullDecimal(amount);
    while (text.endsWith(u'0') && text.size() - text.indexOf(u'.') > 3)
        text.chop(1);
    return text;
}

QString reformatOnLeave(const QString &text, const QLocale &locale)
{
    if (text.isEmpty())
        return text;
    const std::optional<Units> amount = parse(text, locale);
    return amount ? formatCurrency(*amount, locale) : text;
}

double toDouble(Units amount)
{
    return fullDecimal(amount).toLatin1().toDouble();
}

Units fromDouble(double value)
{
    if (std::isnan(value))
        return 0;
    // Beyond 1e15 the amount is out of range; below 1e-5 it rounds to nothing. In between,
    // the shortest decimal form fits the buffer easily.
    if (std::abs(value) >= 1e15)
        return value < 0 ? -kMaxUnits : kMaxUnits;
    if (std::abs(value) < 1e-5)
        return 0;
    char buffer[64];
    const auto result =
        std::to_chars(std::begin(buffer), std::end(buffer), value, std::chars_format::fixed);
    const QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    QStringView digits = text;
    const bool negative = takePrefix(digits, u"-");
    const std::optional<quint64> magnitude = readMagnitude(digits, plainForm());
    const Units units = magnitude ? Units(*magnitude) : kMaxUnits;
    return negative ? -units : units;
}

} // namespace Money

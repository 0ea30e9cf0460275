#include "ForeignValues.h"

#include "Money.h"
#include "XmlInput.h"

#include <QRegularExpression>

namespace
{

constexpr int kFirstYear = kMovieColumns[MovieColumn::Copyright].first;
constexpr int kLastYear = kMovieColumns[MovieColumn::Copyright].last;
constexpr qint64 kMaxHours = kMovieColumns[MovieColumn::Hours].last;
constexpr qint64 kMaxMinutes = kMovieColumns[MovieColumn::Minutes].last;

// An amount's parts: the digits with their separators, and whether it is negative. A currency
// symbol (any of Unicode's), a three-letter code, or one of a few common abbreviations may
// stand before or after the number, a minus before or after either.
struct AmountText {
    QString number;
    bool negative = false;
};

std::optional<AmountText> splitAmount(const QString &text)
{
    static const QString currency =
        QStringLiteral(R"((?:\p{Sc}|[A-Za-z]{1,2}\$|[A-Z]{3}|DM|kr\.?|Fr\.|zł))");
    static const QRegularExpression amount(
        QStringLiteral(R"(^\s*([-−])?\s*(?:%1\s*([-−])?\s*)?)"
                       R"((\d(?:[\d.,'\x{00A0}\x{202F} ]*\d)?)(?:[.,][-–])?)"
                       R"(\s*([-−])?\s*(?:%1)?\s*([-−])?\s*$)")
            .arg(currency));
    const QRegularExpressionMatch match = amount.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    int signs = 0;
    for (int group : {1, 2, 4, 5})
        signs += match.capturedLength(group) > 0;
    if (signs > 1)
        return std::nullopt;
    return AmountText{match.captured(3), signs == 1};
}

// Digit groups of three after the first: "1,234,567" grouped by ",".
bool groupedByThree(const QStringList &parts)
{
    if (parts.first().isEmpty() || parts.first().size() > 3)
        return false;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (parts[i].size() != 3)
            return false;
    }
    return true;
}

// Digits only, the form most values come in: read without a regular expression.
bool allDigits(const QString &text)
{
    if (text.isEmpty() || text.size() > 18)
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

enum class Reading { Amount, NotAnAmount, Ambiguous };

struct Digits {
    QString whole, fraction;
    DecimalMark shown = DecimalMark::Unknown; // the mark the text itself makes clear
};

// Splits "1.049,50" into its whole digits and decimals by the rule of the class comment.
Reading splitDigits(QString number, DecimalMark mark, Digits &digits)
{
    static const QRegularExpression blanks(QStringLiteral("[ '\\x{00A0}\\x{202F}]"));
    number.remove(blanks);
    const qsizetype lastPoint = number.lastIndexOf(u'.'), lastComma = number.lastIndexOf(u',');
    QChar decimal;
    if (lastPoint >= 0 && lastComma >= 0) {
        decimal = lastPoint > lastComma ? u'.' : u',';
    } else if (lastPoint >= 0 || lastComma >= 0) {
        const QChar one = lastPoint >= 0 ? u'.' : u',';
        const QStringList parts = number.split(one);
        const bool mayGroup = groupedByThree(parts) && parts.first() != u"0";
        if (parts.size() == 2 && mayGroup) {
            if (mark == DecimalMark::Unknown)
                return Reading::Ambiguous;
            decimal = mark == DecimalMark::Comma ? u',' : u'.';
        } else {
            decimal = parts.size() == 2 ? one : (one == u'.' ? u',' : u'.');
            if (parts.size() > 2 && !mayGroup)
                return Reading::NotAnAmount;
            digits.shown = decimal == u',' ? DecimalMark::Comma : DecimalMark::Point;
        }
    }
    if (lastPoint >= 0 && lastComma >= 0)
        digits.shown = decimal == u',' ? DecimalMark::Comma : DecimalMark::Point;
    const qsizetype at = decimal.isNull() ? -1 : number.lastIndexOf(decimal);
    QStringList groups =
        number.left(at < 0 ? number.size() : at).split(decimal == u'.' ? u',' : u'.');
    if (groups.size() > 1 && !groupedByThree(groups))
        return Reading::NotAnAmount;
    digits.whole = groups.join(QString());
    digits.fraction = at < 0 ? QString() : number.mid(at + 1);
    if (digits.fraction.contains(u'.') || digits.fraction.contains(u','))
        return Reading::NotAnAmount;
    return Reading::Amount;
}

// Whole ten-thousandths of the digits, decimals beyond the fourth rounded half away from zero;
// nothing beyond the currency range. The earlier version's minimum, one unit beyond the
// range, is kept as the range's end.
std::optional<Money::Units> units(const Digits &digits, bool negative)
{
    const QString fraction = (digits.fraction + QStringLiteral("0000")).left(4);
    const bool roundUp = digits.fraction.size() > 4 && digits.fraction[4] >= u'5';
    bool ok = false;
    const QString all = (digits.whole.isEmpty() ? QStringLiteral("0") : digits.whole) + fraction;
    const quint64 magnitude = all.toULongLong(&ok) + (roundUp ? 1 : 0);
    const quint64 limit = quint64(Money::kMaxUnits);
    if (!ok || all.size() > 19 || magnitude > limit + (negative ? 1 : 0))
        return std::nullopt;
    const qint64 kept = qint64(std::min(magnitude, limit));
    return negative ? -kept : kept;
}

// "1234", "-12.50", "0.0001": a plain decimal that no rule reads two ways (not three decimals),
// as the catalog's own exports write amounts; read without a regular expression.
std::optional<Money::Units> plainAmount(const QString &text)
{
    const bool negative = text.startsWith(u'-');
    const QString digits = negative ? text.mid(1) : text;
    const qsizetype point = digits.indexOf(u'.');
    Digits parts{point < 0 ? digits : digits.left(point),
                 point < 0 ? QString() : digits.mid(point + 1)};
    const qsizetype decimals = parts.fraction.size();
    if (!allDigits(parts.whole) ||
        (point >= 0 && (decimals == 0 || decimals == 3 || decimals > 4)) ||
        (decimals > 0 && !allDigits(parts.fraction)))
        return std::nullopt;
    return units(parts, negative);
}

bool meansNone(const QString &text)
{
    if (!text.isEmpty() && text[0].isDigit())
        return false;
    static const QRegularExpression none(
        QStringLiteral(R"(^\s*(?:\?+|-+|—|–|unknown|n/?a|none)?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    return none.match(text).hasMatch();
}

std::optional<qint64> wholeNumber(const QString &text, bool negative = false)
{
    if (allDigits(text))
        return text.toLongLong();
    static const QRegularExpression whole(QStringLiteral(R"(^\s*([-+]?\d{1,18})\s*$)"));
    const QRegularExpressionMatch match = whole.match(text);
    if (!match.hasMatch() || (!negative && match.captured(1).startsWith(u'-')))
        return std::nullopt;
    return match.captured(1).toLongLong();
}

// The minutes of a running time written as one text, or nothing.
std::optional<qint64> runningMinutes(const QString &text)
{
    if (allDigits(text))
        return text.toLongLong();
    static const QString minuteWords = QStringLiteral(R"((?:minutes?|mins?|mn|m)\.?)");
    static const QRegularExpression minutes(
        QStringLiteral(R"(^\s*(\d{1,9})\s*(?:%1)?\s*$)").arg(minuteWords),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression hoursMinutes(
        QStringLiteral(R"(^\s*(\d{1,7})\s*(?:h|hrs?|hours?|std\.?)\s*(?:(\d{1,4})\s*(?:%1)?)?\s*$)")
            .arg(minuteWords),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression clock(
        QStringLiteral(R"(^\s*(\d{1,7}):([0-5]\d)(?::[0-5]\d)?\s*$)"));
    static const QRegularExpression iso(
        QStringLiteral(R"(^\s*PT(?:(\d{1,7})H)?(?:(\d{1,4})M)?(?:\d+S)?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    if (const auto m = minutes.match(text); m.hasMatch())
        return m.captured(1).toLongLong();
    for (const QRegularExpression *form : {&hoursMinutes, &clock, &iso}) {
        const auto m = form->match(text);
        if (m.hasMatch() && (m.capturedLength(1) > 0 || m.capturedLength(2) > 0))
            return m.captured(1).toLongLong() * 60 + m.captured(2).toLongLong();
    }
    return std::nullopt;
}

QString columnLabel(int column)
{
    return QLatin1String(kMovieColumns[std::size_t(column)].name);
}

void setAside(MovieRow &movie, std::vector<ForeignValues::SetAside> &aside, int column,
              const QString &label, const QString &reason, bool ambiguous = false)
{
    aside.push_back({column, label, *movie.values[column], reason, ambiguous});
    movie.values[column].reset();
}

} // namespace

std::vector<ForeignValues::SetAside> ForeignValues::read(MovieRow &movie)
{
    std::vector<SetAside> aside;
    readAmount(movie, aside);
    readYear(movie, aside);
    readLength(movie, aside);
    return aside;
}

void ForeignValues::readAmount(MovieRow &movie, std::vector<SetAside> &aside)
{
    using namespace MovieColumn;
    std::optional<QString> &value = movie.values[Value];
    if (!value)
        return;
    if (value->trimmed().isEmpty())
        return value.reset();
    if (const std::optional<Money::Units> plain = plainAmount(*value)) {
        value = Money::formatPlain(*plain);
        return;
    }
    const QString label = columnLabel(Value);
    const std::optional<AmountText> amount = splitAmount(*value);
    Digits digits;
    const DecimalMark mark = m_mark != DecimalMark::Unknown ? m_mark : m_learned;
    const Reading reading =
        amount ? splitDigits(amount->number, mark, digits) : Reading::NotAnAmount;
    if (reading == Reading::Ambiguous)
        return setAside(movie, aside, Value, label,
                        QStringLiteral("\"%1\" may have a decimal comma or a decimal point; "
                                       "--decimal-comma or --decimal-point says which.")
                            .arg(*value),
                        true);
    const std::optional<Money::Units> stored =
        reading == Reading::Amount ? units(digits, amount->negative) : std::nullopt;
    if (!stored)
        return setAside(movie, aside, Value, label,
                        reading == Reading::Amount
                            ? QStringLiteral("The amount lies beyond what the catalog holds.")
                            : QStringLiteral("The value must be an amount, such as $12.50."));
    if (m_learned == DecimalMark::Unknown)
        m_learned = digits.shown;
    value = Money::formatPlain(*stored);
}

void ForeignValues::readYear(MovieRow &movie, std::vector<SetAside> &aside)
{
    using namespace MovieColumn;
    std::optional<QString> &value = movie.values[Copyright];
    if (!value)
        return;
    if (allDigits(*value) && value->size() == 4) {
        const int number = value->toInt();
        if (!m_ranges || (number >= kFirstYear && number <= kLastYear))
            return;
    }
    if (meansNone(*value))
        return value.reset();
    static const QRegularExpression year(QStringLiteral(
        R"(^\s*(?:\(?([-+]?\d{1,9})\)?|(\d{4})-\d{1,2}(?:-\d{1,2}(?:[T ].*)?)?|\d{1,2}[./]\d{1,2}[./](\d{4}))\s*$)"));
    const QRegularExpressionMatch match = year.match(*value);
    if (!match.hasMatch())
        return setAside(movie, aside, Copyright, columnLabel(Copyright),
                        QStringLiteral("The copyright must be a whole number, such as 1975."));
    const qint64 number = (match.captured(1) + match.captured(2) + match.captured(3)).toLongLong();
    if (m_ranges && (number < kFirstYear || number > kLastYear))
        return setAside(movie, aside, Copyright, columnLabel(Copyright),
                        QStringLiteral("The copyright must be a year from %1 to %2.")
                            .arg(kFirstYear)
                            .arg(kLastYear));
    value = QString::number(number);
}

void ForeignValues::readLength(MovieRow &movie, std::vector<SetAside> &aside)
{
    using namespace MovieColumn;
    std::optional<QString> &hours = movie.values[Hours];
    std::optional<QString> &minutes = movie.values[Minutes];
    const bool runningTime = !hours && minutes && m_ranges;
    if (hours && meansNone(*hours))
        hours.reset();
    if (minutes && meansNone(*minutes))
        minutes.reset();
    if (runningTime && minutes) {
        const std::optional<qint64> total = runningMinutes(*minutes);
        if (!total || *total / 60 > kMaxHours)
            return setAside(movie, aside, Minutes, QStringLiteral("Length"),
                            total ? QStringLiteral("The length must be at most %1 hours %2 "
                                                   "minutes.")
                                        .arg(kMaxHours)
                                        .arg(kMaxMinutes)
                                  : QStringLiteral("The length must be minutes, such as 102 or "
                                                   "1:42."));
        hours = QString::number(*total / 60);
        minutes = QString::number(*total % 60);
        return;
    }
    const qint64 noLimit = std::numeric_limits<qint64>::max();
    const std::pair<std::optional<QString> *, qint64> parts[] = {
        {&hours, m_ranges ? kMaxHours : noLimit}, {&minutes, m_ranges ? kMaxMinutes : noLimit}};
    for (const auto &[part, most] : parts) {
        if (!*part)
            continue;
        const int column = part == &hours ? Hours : Minutes;
        const std::optional<qint64> number = wholeNumber(**part, !m_ranges);
        if (!number || *number > most)
            setAside(movie, aside, column, columnLabel(column),
                     QStringLiteral("The %1 must be a whole number from 0 to %2.")
                         .arg(columnLabel(column).toLower())
                         .arg(m_ranges ? most : noLimit));
        else
            (*part)->setNum(*number);
    }
}

void ForeignValues::keepInComments(MovieRow &movie, const std::vector<SetAside> &setAside)
{
    if (setAside.empty())
        return;
    std::optional<QString> &comments = movie.values[MovieColumn::Comments];
    QString kept = comments.value_or(QString());
    for (const SetAside &value : setAside) {
        if (!kept.isEmpty() && !kept.endsWith(u'\n'))
            kept += u'\n';
        kept += value.label + QStringLiteral(": ") + value.text;
    }
    comments = kept;
}

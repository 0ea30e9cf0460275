#include "CatalogNumber.h"

#include <QRegularExpression>

#include <charconv>
#include <cmath>

namespace
{

std::optional<qint64> wholeNumber(const QByteArray &digits)
{
    qint64 value = 0;
    const auto [end, error] = std::from_chars(digits.begin(), digits.end(), value);
    if (error != std::errc() || end != digits.end())
        return std::nullopt;
    return value;
}

// std::from_chars is correctly rounded and ignores the locale.
std::optional<double> nearestDouble(const QByteArray &text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.begin(), text.end(), value);
    if (error != std::errc() || end != text.end() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

CatalogNumber CatalogNumberFromText(const QString &text)
{
    if (text.isEmpty())
        return {};
    static const QRegularExpression decimal(QStringLiteral("^(-?[0-9]+)(?:\\.([0-9]+))?$"));
    const QByteArray latin = text.toLatin1();
    const QRegularExpressionMatch match = decimal.match(text);
    if (match.hasMatch()) {
        const bool whole = match.captured(2).count(QLatin1Char('0')) == match.capturedLength(2);
        if (whole) {
            if (const std::optional<qint64> value = wholeNumber(match.captured(1).toLatin1()))
                return *value;
        }
    }
    if (const std::optional<double> value = nearestDouble(latin))
        return *value;
    return text;
}

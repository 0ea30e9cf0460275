// Amount texts of any content under several locales: parsing never crashes, and an amount
// parsed reads back the same from each of its written forms.
#include "Money.h"

#include <QLocale>
#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static const QLocale locales[] = {QLocale(QLocale::English, QLocale::UnitedStates),
                                      QLocale(QLocale::German, QLocale::Germany),
                                      QLocale(QLocale::French, QLocale::France),
                                      QLocale(QLocale::Japanese, QLocale::Japan),
                                      QLocale(QLocale::Arabic, QLocale::Egypt),
                                      QLocale::c()};
    const QLocale &locale = locales[data[0] % std::size(locales)];
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const auto amount = Money::parse(text, locale);
    Money::reformatOnLeave(text, locale);
    if (!amount)
        return 0;
    if (Money::parse(Money::formatPlain(*amount), locale) != amount)
        std::abort();
    const Money::Units cents = *amount / 100 * 100;
    if (Money::parse(Money::formatCurrency(cents, locale), locale) != cents)
        std::abort();
    Money::formatDisplay(*amount);
    Money::fromDouble(Money::toDouble(*amount));
    return 0;
}

// Amounts: read from the forms people type, written in the program's forms, and back.
#include "Money.h"
#include "TestData.h"

using Money::kMaxUnits;
using Money::Units;

class TestMoney : public QObject
{
    Q_OBJECT
  private slots:
    void parse_data() { addRows("money/parse.tsv", {"locale", "text", "units"}); }
    void parse()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QString, units);
        const auto parsed = Money::parse(text, QLocale(locale));
        QCOMPARE(parsed ? QString::number(*parsed) : QString(), units);
    }

    void format_data() { addRows("money/format.tsv", {"kind", "locale", "text", "expected"}); }
    void format()
    {
        QFETCH(QString, kind);
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const Units units = text.toLongLong();
        const QString written = kind == "display" ? Money::formatDisplay(units)
                                : kind == "plain" ? Money::formatPlain(units)
                                : kind == "currency"
                                    ? Money::formatCurrency(units, QLocale(locale))
                                    : Money::reformatOnLeave(text, QLocale(locale));
        QCOMPARE(written, expected);
    }

    // Every form the program writes reads back as the amount.
    void formattedTextReadsBack()
    {
        for (const char *name : {"en_US", "de_DE", "fr_FR", "de_CH", "sv_SE", "C"}) {
            const QLocale locale(name);
            for (Units amount : {Units(0), Units(-12345600), Units(98765432100), kMaxUnits - 7}) {
                QCOMPARE(Money::parse(Money::formatCurrency(amount, locale), locale),
                         std::optional(amount));
                QCOMPARE(Money::parse(Money::formatDisplay(amount), locale), std::optional(amount));
                QCOMPARE(Money::parse(Money::formatPlain(amount), locale), std::optional(amount));
            }
        }
    }

    void doubles()
    {
        const double inf = std::numeric_limits<double>::infinity();
        const std::pair<double, Units> from[] = {{0.29, 2900},
                                                 {-1.00005, -10001},
                                                 {922337203685477.5, 9223372036854775000},
                                                 {922337203685477.625, kMaxUnits},
                                                 {-inf, -kMaxUnits},
                                                 {std::numeric_limits<double>::quiet_NaN(), 0}};
        for (const auto &[value, units] : from)
            QCOMPARE(Money::fromDouble(value), units);
        QVERIFY(Money::toDouble(1) == 0.0001);
        // units / 10000.0 rounds twice here and lands one step off.
        QVERIFY(Money::toDouble(591064915700530116) == 59106491570053.0116);
        QVERIFY(Money::toDouble(kMaxUnits) == 922337203685477.5807);
    }
};

QTEST_APPLESS_MAIN(TestMoney)
#include "test_money.moc"

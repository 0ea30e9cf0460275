#include "Money.h"

#include <QTest>

#include <cmath>
#include <limits>

using Money::kMaxUnits;
using Money::Units;

namespace
{
const QString kNbsp = QString(QChar(0x00A0));
const QString kNarrowNbsp = QString(QChar(0x202F));
constexpr Units kNone = std::numeric_limits<Units>::min(); // "not an amount" in the tables
} // namespace

class TestMoney : public QObject
{
    Q_OBJECT
  private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Units>("expected");
        const auto row = [](const char *name, const char *locale, const QString &text,
                            Units units) {
            QTest::newRow(name) << QString::fromLatin1(locale) << text << units;
        };
        row("display form", "en_US", "$1,234.50", 12345000);
        row("dollar without grouping", "de_DE", "$1234.5", 12345000);
        row("dollar form under German settings", "de_DE", "$1,234.50", 12345000);
        row("plain", "en_US", "1234.5", 12345000);
        row("point first", "C", ".5", 5000);
        row("point last", "C", "5.", 50000);
        row("blanks around", "en_US", "  $5.00 \t", 50000);
        row("minus before symbol", "en_US", "-$0.01", -100);
        row("minus after symbol", "en_US", "$-1,234.00", -12340000);
        row("minus zero", "C", "-0", 0);
        row("locale grouping without symbol", "en_US", "1,234.00", 12340000);
        row("German currency form", "de_DE", "1.234,50" + kNbsp + "€", 12345000);
        row("German symbol first", "de_DE", "€1.234,50", 12345000);
        row("German negative, symbol first", "de_DE", "€-1.234,50", -12345000);
        row("German typed point is a point", "de_DE", "1.5", 15000);
        row("German comma decimals", "de_DE", "1,5", 15000);
        row("German symbol prefers grouping", "de_DE", "€1.234", 12340000);
        row("German symbol, plain point", "de_DE", "€1.5", 15000);
        row("French narrow space group", "fr_FR", "1" + kNarrowNbsp + "234,50 €", 12345000);
        row("French typed blank group", "fr_FR", "1 234,50 €", 12345000);
        row("fifth decimal rounds up", "C", "1.23455", 12346);
        row("fifth decimal rounds down", "C", "1.234549", 12345);
        row("half unit rounds away from zero", "C", "0.00005", 1);
        row("negative half unit", "C", "-0.00005", -1);
        row("range top", "C", "922337203685477.5807", kMaxUnits);
        row("range bottom", "C", "-922337203685477.5807", -kMaxUnits);
        row("range top, rounded down", "C", "922337203685477.58074", kMaxUnits);
        row("beyond range", "C", "922337203685477.5808", kNone);
        row("beyond range by rounding", "C", "922337203685477.58075", kNone);
        row("empty", "en_US", "", kNone);
        row("blanks only", "en_US", "   ", kNone);
        row("symbol only", "en_US", "$", kNone);
        row("two minus signs", "en_US", "-$-5", kNone);
        row("two points", "C", "1.2.3", kNone);
        row("short group", "en_US", "$1,23", kNone);
        row("short inner group", "en_US", "$12,34.00", kNone);
        row("blank inside", "en_US", "1 234", kNone);
        row("blank after minus", "C", "- 5", kNone);
        row("other currency", "en_US", "€5", kNone);
        row("dollar last is not the display form", "de_DE", "5$", kNone);
    }

    void parse()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(Units, expected);
        const std::optional<Units> amount = Money::parse(text, QLocale(locale));
        QCOMPARE(amount.has_value(), expected != kNone);
        if (amount)
            QCOMPARE(*amount, expected);
    }

    void formatDisplay_data()
    {
        QTest::addColumn<Units>("amount");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("plain");
        const auto row = [](const char *name, Units amount, const char *display,
                            const char *plain) {
            QTest::newRow(name) << amount << QString::fromLatin1(display)
                                << QString::fromLatin1(plain);
        };
        row("grouped with cents", 12345000, "$1,234.50", "1234.50");
        row("zero", 0, "$0.00", "0.00");
        row("one million", 10000000000, "$1,000,000.00", "1000000.00");
        row("three digits", 9990000, "$999.00", "999.00");
        row("three decimals", 51250, "$5.13", "5.125");
        row("negative cent", -100, "-$0.01", "-0.01");
        row("half cent rounds away", 50, "$0.01", "0.005");
        row("negative half cent", -50, "-$0.01", "-0.005");
        row("negative rounding to zero", -49, "$0.00", "-0.0049");
        row("rounding carries", 999950, "$100.00", "99.995");
        row("range top", kMaxUnits, "$922,337,203,685,477.58", "922337203685477.5807");
        row("range bottom", -kMaxUnits, "-$922,337,203,685,477.58", "-922337203685477.5807");
    }

    void formatDisplay()
    {
        QFETCH(Units, amount);
        QFETCH(QString, display);
        QFETCH(QString, plain);
        QCOMPARE(Money::formatDisplay(amount), display);
        QCOMPARE(Money::formatPlain(amount), plain);
    }

    void formatCurrency_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<Units>("amount");
        QTest::addColumn<QString>("expected");
        QTest::newRow("US whole") << "en_US" << Units(12340000) << "$1,234.00";
        QTest::newRow("US cents") << "en_US" << Units(125000) << "$12.50";
        QTest::newRow("US negative") << "en_US" << Units(-12340000) << "$-1,234.00";
        QTest::newRow("German") << "de_DE" << Units(12340000) << "€1.234,00";
        QTest::newRow("German negative") << "de_DE" << Units(-12340000) << "€-1.234,00";
        QTest::newRow("French") << "fr_FR" << Units(12340000) << "€1" + kNarrowNbsp + "234,00";
        QTest::newRow("C locale") << "C" << Units(12340000) << "$1,234.00";
    }

    void formatCurrency()
    {
        QFETCH(QString, locale);
        QFETCH(Units, amount);
        QFETCH(QString, expected);
        QCOMPARE(Money::formatCurrency(amount, QLocale(locale)), expected);
    }

    // Every form the program writes must read back as the amount rounded to cents.
    void formattedTextReadsBack_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<Units>("amount");
        for (const char *locale : {"en_US", "de_DE", "fr_FR", "de_CH", "sv_SE", "C"}) {
            for (Units amount : {Units(0), Units(-12345600), Units(98765432100), kMaxUnits - 7})
                QTest::addRow("%s %lld", locale, qlonglong(amount)) << locale << amount;
        }
    }

    void formattedTextReadsBack()
    {
        QFETCH(QString, locale);
        QFETCH(Units, amount);
        const QLocale loc(locale);
        QCOMPARE(Money::parse(Money::formatCurrency(amount, loc), loc), std::optional(amount));
        QCOMPARE(Money::parse(Money::formatDisplay(amount), loc), std::optional(amount));
        QCOMPARE(Money::parse(Money::formatPlain(amount), loc), std::optional(amount));
    }

    void reformatOnLeave_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty stays empty") << "en_US"
                                           << ""
                                           << "";
        QTest::newRow("whole number") << "en_US"
                                      << "1234"
                                      << "$1,234.00";
        QTest::newRow("one decimal") << "en_US"
                                     << "12.5"
                                     << "$12.50";
        QTest::newRow("already formatted") << "en_US"
                                           << "$1,234.00"
                                           << "$1,234.00";
        QTest::newRow("three decimals round") << "en_US"
                                              << "1.005"
                                              << "$1.01";
        QTest::newRow("blanks unchanged") << "en_US"
                                          << "  "
                                          << "  ";
        QTest::newRow("words unchanged") << "en_US"
                                         << "cheap"
                                         << "cheap";
        QTest::newRow("German typed") << "de_DE"
                                      << "12.5"
                                      << "€12,50";
        QTest::newRow("C locale") << "C"
                                  << "1234"
                                  << "$1,234.00";
    }

    void reformatOnLeave()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(Money::reformatOnLeave(text, QLocale(locale)), expected);
    }

    void toDouble_data()
    {
        QTest::addColumn<Units>("amount");
        QTest::addColumn<double>("expected");
        QTest::newRow("smallest unit") << Units(1) << 0.0001;
        QTest::newRow("cents") << Units(125000) << 12.5;
        QTest::newRow("negative") << Units(-12345) << -1.2345;
        // units / 10000.0 rounds twice here and lands one step off.
        QTest::newRow("beyond 2^53") << Units(591064915700530116) << 59106491570053.0116;
        QTest::newRow("range top") << kMaxUnits << 922337203685477.5807;
    }

    void toDouble()
    {
        QFETCH(Units, amount);
        QFETCH(double, expected);
        QVERIFY2(Money::toDouble(amount) == expected,
                 qPrintable(QString::number(Money::toDouble(amount), 'g', 17)));
    }

    void fromDouble_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<Units>("expected");
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("cents") << 12.5 << Units(125000);
        QTest::newRow("product below the unit") << 0.29 << Units(2900);
        QTest::newRow("half unit away from zero") << 1.00005 << Units(10001);
        QTest::newRow("negative half unit") << -1.00005 << Units(-10001);
        QTest::newRow("below half unit") << 0.00004 << Units(0);
        QTest::newRow("tiny") << 1e-320 << Units(0);
        QTest::newRow("negative zero") << -0.0 << Units(0);
        QTest::newRow("near range top") << 922337203685477.5 << Units(9223372036854775000);
        QTest::newRow("just beyond range") << 922337203685477.625 << kMaxUnits;
        QTest::newRow("huge") << 1e300 << kMaxUnits;
        QTest::newRow("huge negative") << -1e300 << -kMaxUnits;
        QTest::newRow("infinity") << inf << kMaxUnits;
        QTest::newRow("negative infinity") << -inf << -kMaxUnits;
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << Units(0);
    }

    void fromDouble()
    {
        QFETCH(double, value);
        QFETCH(Units, expected);
        QCOMPARE(Money::fromDouble(value), expected);
    }
};

QTEST_APPLESS_MAIN(TestMoney)
#include "test_money.moc"

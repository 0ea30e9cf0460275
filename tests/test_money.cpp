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
constexpr Units kNone = std::numeric_limits<Units>::min(); // "not an amount"
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
        const auto row = [](const char *name, const char *locale, const QString &text, Units u) {
            QTest::newRow(name) << QString::fromLatin1(locale) << text << u;
        };
        row("display form", "en_US", "$1,234.50", 12345000);
        row("dollar form under German settings", "de_DE", "$1,234.50", 12345000);
        row("point first", "C", ".5", 5000);
        row("blanks around", "en_US", "  $5.00 \t", 50000);
        row("minus before symbol", "en_US", "-$0.01", -100);
        row("minus after symbol", "en_US", "$-1,234.00", -12340000);
        row("German currency form", "de_DE", "1.234,50" + kNbsp + "€", 12345000);
        row("German typed point is a point", "de_DE", "1.5", 15000);
        row("German comma decimals", "de_DE", "1,5", 15000);
        row("German symbol prefers grouping", "de_DE", "€1.234", 12340000);
        row("French narrow space group", "fr_FR", "1" + kNarrowNbsp + "234,50 €", 12345000);
        row("French typed blank group", "fr_FR", "1 234,50 €", 12345000);
        row("negative half unit away from zero", "C", "-0.00005", -1);
        row("range top", "C", "922337203685477.5807", kMaxUnits);
        row("beyond range by rounding", "C", "922337203685477.58075", kNone);
        row("symbol only", "en_US", "$", kNone);
        row("two minus signs", "en_US", "-$-5", kNone);
        row("two points", "C", "1.2.3", kNone);
        row("short inner group", "en_US", "$12,34.00", kNone);
        row("blank inside", "en_US", "1 234", kNone);
        row("other currency", "en_US", "€5", kNone);
        row("dollar last", "de_DE", "5$", kNone);
    }
    void parse()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(Units, expected);
        QCOMPARE(Money::parse(text, QLocale(locale)),
                 expected == kNone ? std::nullopt : std::optional(expected));
    }

    // Each way an amount is written: the display form and the plain form (locale-free),
    // the locale's currency form, and what a money box shows once it is left.
    void format_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text"); // a number of units, or typed text
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *kind, const char *locale,
                            const QString &text, const QString &expected) {
            QTest::newRow(name) << kind << locale << text << expected;
        };
        row("display grouped", "display", "C", "12345000", "$1,234.50");
        row("plain ungrouped", "plain", "C", "12345000", "1234.50");
        row("plain keeps units", "plain", "C", "-49", "-0.0049");
        row("display negative half cent", "display", "C", "-50", "-$0.01");
        row("display negative rounding to zero", "display", "C", "-49", "$0.00");
        row("display rounding carries", "display", "C", "999950", "$100.00");
        row("display range bottom", "display", "C", "-9223372036854775807",
            "-$922,337,203,685,477.58");
        row("currency US negative", "currency", "en_US", "-12340000", "$-1,234.00");
        row("currency German", "currency", "de_DE", "12340000", "€1.234,00");
        row("currency French", "currency", "fr_FR", "12340000", "€1" + kNarrowNbsp + "234,00");
        row("currency C locale", "currency", "C", "12340000", "$1,234.00");
        row("left empty stays empty", "leave", "en_US", "", "");
        row("left three decimals round", "leave", "en_US", "1.005", "$1.01");
        row("left words unchanged", "leave", "en_US", "cheap", "cheap");
        row("left German typed", "leave", "de_DE", "12.5", "€12,50");
    }
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

    // Every form the program writes must read back as the amount rounded to cents.
    void formattedTextReadsBack_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<Units>("amount");
        for (const char *locale : {"en_US", "de_DE", "fr_FR", "de_CH", "sv_SE", "C"})
            for (Units amount : {Units(0), Units(-12345600), Units(98765432100), kMaxUnits - 7})
                QTest::addRow("%s %lld", locale, qlonglong(amount)) << locale << amount;
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

    void fromDouble_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<Units>("expected");
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("product below the unit") << 0.29 << Units(2900);
        QTest::newRow("negative half unit") << -1.00005 << Units(-10001);
        QTest::newRow("near range top") << 922337203685477.5 << Units(9223372036854775000);
        QTest::newRow("just beyond range") << 922337203685477.625 << kMaxUnits;
        QTest::newRow("negative infinity") << -inf << -kMaxUnits;
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << Units(0);
    }
    void fromDouble()
    {
        QFETCH(double, value);
        QFETCH(Units, expected);
        QCOMPARE(Money::fromDouble(value), expected);
    }
    void toDouble()
    {
        QVERIFY(Money::toDouble(1) == 0.0001);
        // units / 10000.0 rounds twice here and lands one step off.
        QVERIFY(Money::toDouble(591064915700530116) == 59106491570053.0116);
        QVERIFY(Money::toDouble(kMaxUnits) == 922337203685477.5807);
    }
};

QTEST_APPLESS_MAIN(TestMoney)
#include "test_money.moc"

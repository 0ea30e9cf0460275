#include "QueryBuilder.h"

#include <QTest>

using Outcome = SearchStatement::Outcome;
Q_DECLARE_METATYPE(SearchEntries)
Q_DECLARE_METATYPE(SearchStatement::Outcome)

namespace
{

// A field and its text; a null field selects the ALL choice.
struct Set {
    QString SearchEntries::*field;
    const char *text;
};
using E = SearchEntries;
const Set kAllStars{nullptr, ""};

SearchEntries entries(std::initializer_list<Set> sets)
{
    SearchEntries e;
    for (const Set &set : sets) {
        if (set.field)
            e.*set.field = QString::fromUtf8(set.text);
        else
            e.allStars = true;
    }
    return e;
}

QString starGroup(const QString &w)
{
    return QStringLiteral("([StarOne] LIKE '%1' OR [StarTwo] LIKE '%1' OR [StarThree] LIKE '%1' "
                          "OR [StarFour] LIKE '%1')")
        .arg(w);
}

} // namespace

class TestQueryBuilder : public QObject
{
    Q_OBJECT
  private slots:
    void statement_data()
    {
        QTest::addColumn<SearchEntries>("entries");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("where");
        const auto row = [](const char *name, std::initializer_list<Set> sets, const QString &where,
                            const char *locale = "en_US") {
            QTest::newRow(name) << entries(sets) << QString::fromLatin1(locale)
                                << Outcome::Statement << where;
        };
        const auto refused = [](const char *name, std::initializer_list<Set> sets,
                                Outcome outcome) {
            QTest::newRow(name) << entries(sets) << QStringLiteral("en_US") << outcome << QString();
        };
        // clang-format off
        row("title exact", {{&E::title, "night"}}, "[Title] LIKE 'night'");
        row("blanks and wildcards", {{&E::title, " 5%_?* "}}, "[Title] LIKE ' 5%_?% '");
        row("title cannot add a condition", {{&E::title, "x' OR 'a'='a"}},
            "[Title] LIKE 'x'' OR ''a''=''a'");
        row("category apostrophe", {{&E::category, "Children's"}}, "[Category] = 'Children''s'");
        row("format any lower case", {{&E::format, "any"}}, "[Format] = 'any'");
        row("years reversed kept", {{&E::copyrightFrom, "1989"}, {&E::copyrightTo, "1980"}},
            "[Copyright] >= 1989 AND [Copyright] <= 1980");
        row("from year alone", {{&E::copyrightFrom, "1980"}}, "[Copyright] >= 1980");
        row("to year alone", {{&E::copyrightTo, "1989"}}, "[Copyright] <= 1989");
        row("non-numeric from year",
            {{&E::copyrightFrom, "1980 OR 1=1"}, {&E::copyrightTo, "1989"}},
            "[Copyright] <= 1989");
        row("grouped and plain values", {{&E::valueFrom, "$1,234.00"}, {&E::valueTo, "20.125"}},
            "[Value] >= 1234.00 AND [Value] <= 20.125");
        row("German values", {{&E::valueFrom, "€5,00"}, {&E::valueTo, "1.234,50 €"}},
            "[Value] >= 5.00 AND [Value] <= 1234.50", "de_DE");
        row("half value range ignored", {{&E::title, "night"}, {&E::valueFrom, "junk"}},
            "[Title] LIKE 'night'");
        row("one star, all", {{&E::starThree, "O'Toole"}, kAllStars}, starGroup("O''Toole"));
        row("two stars, any", {{&E::starOne, "Ann"}, {&E::starFour, "Bo*"}},
            '(' + starGroup("Ann") + " OR " + starGroup("Bo%") + ')');
        row("two stars, all", {{&E::starTwo, "Ann"}, {&E::starThree, "Bo"}, kAllStars},
            '(' + starGroup("Ann") + " AND " + starGroup("Bo") + ')');
        row("every criterion in order",
            {{&E::title, "t"}, {&E::category, "c"}, {&E::rating, "r"}, {&E::format, "f"},
             {&E::copyrightFrom, "1"}, {&E::copyrightTo, "2"}, {&E::valueFrom, "3"},
             {&E::valueTo, "4"},
             {&E::condition, "k"}, {&E::starOne, "s"}, {&E::producer, "p"}, {&E::director, "d"}},
            "[Title] LIKE 't' AND [Category] = 'c' AND [Rating] = 'r' AND [Format] = 'f' AND "
            "[Copyright] >= 1 AND [Copyright] <= 2 AND [Value] >= 3.00 AND [Value] <= 4.00 AND "
            "[Condition] LIKE 'k' AND " + starGroup("s") + " AND [Producer] LIKE 'p' AND "
            "[Director] LIKE 'd'");
        const Outcome none = Outcome::NoCriteria, bad = Outcome::BadAmount;
        refused("all empty, all stars", {kAllStars}, none);
        refused("lists on ANY",
            {{&E::category, "ANY"}, {&E::rating, "ANY"}, {&E::format, "ANY"}}, none);
        refused("only lower value", {{&E::valueFrom, "$5.00"}}, none);
        refused("years not numbers",
                {{&E::copyrightFrom, " 1980"}, {&E::copyrightTo, "198O"}}, none);
        refused("lower value not an amount", {{&E::valueFrom, "cheap"}, {&E::valueTo, "$5"}}, bad);
        refused("upper value injected",
                {{&E::title, "x"}, {&E::valueFrom, "5"}, {&E::valueTo, "5 OR 1=1"}}, bad);
        refused("bad grouping", {{&E::valueFrom, "$1,23"}, {&E::valueTo, "5"}}, bad);
        // clang-format on
    }

    void statement()
    {
        QFETCH(SearchEntries, entries);
        QFETCH(QString, locale);
        QFETCH(Outcome, outcome);
        QFETCH(QString, where);
        const SearchStatement built = BuildSearchStatement(entries, QLocale(locale));
        QCOMPARE(built.outcome, outcome);
        QCOMPARE(built.sql, where.isEmpty() ? where : "SELECT * FROM [Movies] WHERE " + where);
    }

    void textHelpers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("converted");
        QTest::addColumn<QString>("quoted");
        // clang-format off
        QTest::newRow("empty") << "" << "" << "''";
        QTest::newRow("stars everywhere") << "*a**b*" << "%a%%b%" << "'*a**b*'";
        QTest::newRow("others unchanged") << "%_?[" << "%_?[" << "'%_?['";
        QTest::newRow("apostrophes doubled") << "'a''" << "'a''" << "'''a'''''";
        // clang-format on
    }

    void textHelpers()
    {
        QFETCH(QString, text);
        QFETCH(QString, converted);
        QFETCH(QString, quoted);
        QCOMPARE(ConvertWildcards(text), converted);
        QCOMPARE(QuoteSqlText(text), quoted);
        QCOMPARE(DropFirstChar(text), text.mid(1));
    }
};

QTEST_APPLESS_MAIN(TestQueryBuilder)
#include "test_query_builder.moc"

#include "QueryBuilder.h"

#include <QTest>

using Outcome = SearchStatement::Outcome;
Q_DECLARE_METATYPE(SearchEntries)
Q_DECLARE_METATYPE(SearchStatement::Outcome)

namespace {

// One entry of the search window: a field and its text. A null field selects the ALL choice.
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

class TestQueryBuilder : public QObject {
    Q_OBJECT
private slots:
    void statement_data();
    void statement();
    void refused_data();
    void refused();
    void textHelpers_data();
    void textHelpers();
};

void TestQueryBuilder::statement_data()
{
    QTest::addColumn<SearchEntries>("entries");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("where");
    const auto row = [](const char *name, std::initializer_list<Set> sets, const QString &where,
                        const char *locale = "en_US") {
        QTest::newRow(name) << entries(sets) << QString::fromLatin1(locale) << where;
    };
    // clang-format off
    row("title exact", {{&E::title, "night"}}, "[Title] LIKE 'night'");
    row("title star alone", {{&E::title, "*"}}, "[Title] LIKE '%'");
    row("title blanks", {{&E::title, "  "}}, "[Title] LIKE '  '");
    row("other wildcards kept", {{&E::title, "5%_?*"}}, "[Title] LIKE '5%_?%'");
    row("title apostrophe", {{&E::title, "O'Brien*"}}, "[Title] LIKE 'O''Brien%'");
    row("title cannot add a condition", {{&E::title, "x' OR 'a'='a"}},
        "[Title] LIKE 'x'' OR ''a''=''a'");
    row("category", {{&E::category, "Drama"}}, "[Category] = 'Drama'");
    row("category apostrophe", {{&E::category, "Children's"}}, "[Category] = 'Children''s'");
    row("rating", {{&E::rating, "PG-13"}}, "[Rating] = 'PG-13'");
    row("format", {{&E::format, "DVD"}}, "[Format] = 'DVD'");
    row("format any lower case", {{&E::format, "any"}}, "[Format] = 'any'");
    row("years", {{&E::copyrightFrom, "1980"}, {&E::copyrightTo, "1989"}},
        "[Copyright] >= 1980 AND [Copyright] <= 1989");
    row("years reversed", {{&E::copyrightFrom, "1989"}, {&E::copyrightTo, "1980"}},
        "[Copyright] >= 1989 AND [Copyright] <= 1980");
    row("from year alone", {{&E::copyrightFrom, "1980"}}, "[Copyright] >= 1980");
    row("to year alone", {{&E::copyrightTo, "1989"}}, "[Copyright] <= 1989");
    row("non-numeric from year", {{&E::copyrightFrom, "1980 OR 1=1"}, {&E::copyrightTo, "1989"}},
        "[Copyright] <= 1989");
    row("values", {{&E::valueFrom, "$5.00"}, {&E::valueTo, "$20.00"}},
        "[Value] >= 5.00 AND [Value] <= 20.00");
    row("grouped values", {{&E::valueFrom, "$1,234.00"}, {&E::valueTo, "$2,000.50"}},
        "[Value] >= 1234.00 AND [Value] <= 2000.50");
    row("plain values", {{&E::valueFrom, "5"}, {&E::valueTo, "20.125"}},
        "[Value] >= 5.00 AND [Value] <= 20.125");
    row("German values", {{&E::valueFrom, "€5,00"}, {&E::valueTo, "1.234,50 €"}},
        "[Value] >= 5.00 AND [Value] <= 1234.50", "de_DE");
    row("C locale values", {{&E::valueFrom, "$5.00"}, {&E::valueTo, "1,234"}},
        "[Value] >= 5.00 AND [Value] <= 1234.00", "C");
    row("half value range ignored", {{&E::title, "night"}, {&E::valueFrom, "junk"}},
        "[Title] LIKE 'night'");
    row("condition", {{&E::condition, "Mint*"}}, "[Condition] LIKE 'Mint%'");
    row("producer", {{&E::producer, "*Hal"}}, "[Producer] LIKE '%Hal'");
    row("director", {{&E::director, "Lund*"}}, "[Director] LIKE 'Lund%'");
    row("one star, any", {{&E::starThree, "Holt"}}, starGroup("Holt"));
    row("one star, all", {{&E::starThree, "Holt"}, kAllStars}, starGroup("Holt"));
    row("two stars, any", {{&E::starOne, "Ann"}, {&E::starFour, "Bo*"}},
        '(' + starGroup("Ann") + " OR " + starGroup("Bo%") + ')');
    row("two stars, all", {{&E::starTwo, "Ann"}, {&E::starThree, "Bo"}, kAllStars},
        '(' + starGroup("Ann") + " AND " + starGroup("Bo") + ')');
    row("four stars in field order",
        {{&E::starOne, "A"}, {&E::starTwo, "B"}, {&E::starThree, "C"}, {&E::starFour, "D"}},
        '(' + QStringList{starGroup("A"), starGroup("B"), starGroup("C"), starGroup("D")}
                  .join(" OR ") + ')');
    row("star apostrophe", {{&E::starOne, "O'Toole"}}, starGroup("O''Toole"));
    row("any star then producer", {{&E::starOne, "Ann"}, {&E::producer, "Hal"}},
        starGroup("Ann") + " AND [Producer] LIKE 'Hal'");
    row("stars after title",
        {{&E::title, "night*"}, {&E::starOne, "*Grey"}, {&E::starThree, "Holt"}, kAllStars},
        "[Title] LIKE 'night%' AND (" + starGroup("%Grey") + " AND " + starGroup("Holt") + ")");
    row("worked example",
        {{&E::title, "night*"}, {&E::category, "Drama"}, {&E::rating, "ANY"}, {&E::format, "DVD"},
         {&E::copyrightFrom, "1980"}, {&E::copyrightTo, "1989"}, {&E::valueFrom, "$5.00"},
         {&E::valueTo, "$20.00"}, {&E::director, "Lund*"}},
        "[Title] LIKE 'night%' AND [Category] = 'Drama' AND [Format] = 'DVD' AND [Copyright] >= "
        "1980 AND [Copyright] <= 1989 AND [Value] >= 5.00 AND [Value] <= 20.00 AND [Director] "
        "LIKE 'Lund%'");
    row("every criterion in order",
        {{&E::title, "t"}, {&E::category, "c"}, {&E::rating, "r"}, {&E::format, "f"},
         {&E::copyrightFrom, "1"}, {&E::copyrightTo, "2"}, {&E::valueFrom, "3"}, {&E::valueTo, "4"},
         {&E::condition, "k"}, {&E::starOne, "s"}, {&E::producer, "p"}, {&E::director, "d"}},
        "[Title] LIKE 't' AND [Category] = 'c' AND [Rating] = 'r' AND [Format] = 'f' AND "
        "[Copyright] >= 1 AND [Copyright] <= 2 AND [Value] >= 3.00 AND [Value] <= 4.00 AND "
        "[Condition] LIKE 'k' AND " + starGroup("s") + " AND [Producer] LIKE 'p' AND "
        "[Director] LIKE 'd'");
    // clang-format on
}

void TestQueryBuilder::statement()
{
    QFETCH(SearchEntries, entries);
    QFETCH(QString, locale);
    QFETCH(QString, where);
    const SearchStatement built = BuildSearchStatement(entries, QLocale(locale));
    QCOMPARE(built.outcome, Outcome::Statement);
    QCOMPARE(built.sql, "SELECT * FROM [Movies] WHERE " + where);
}

void TestQueryBuilder::refused_data()
{
    QTest::addColumn<SearchEntries>("entries");
    QTest::addColumn<Outcome>("outcome");
    const auto row = [](const char *name, std::initializer_list<Set> sets, Outcome outcome) {
        QTest::newRow(name) << entries(sets) << outcome;
    };
    // clang-format off
    row("all empty, any stars", {}, Outcome::NoCriteria);
    row("all empty, all stars", {kAllStars}, Outcome::NoCriteria);
    row("lists on ANY", {{&E::category, "ANY"}, {&E::rating, "ANY"}, {&E::format, "ANY"}},
        Outcome::NoCriteria);
    row("only lower value", {{&E::valueFrom, "$5.00"}}, Outcome::NoCriteria);
    row("only upper value", {{&E::valueTo, "$5.00"}}, Outcome::NoCriteria);
    row("years not numbers", {{&E::copyrightFrom, " 1980"}, {&E::copyrightTo, "198O"}},
        Outcome::NoCriteria);
    row("lower value not an amount", {{&E::valueFrom, "cheap"}, {&E::valueTo, "$5.00"}},
        Outcome::BadAmount);
    row("upper value injected", {{&E::title, "x"}, {&E::valueFrom, "5"}, {&E::valueTo, "5 OR 1=1"}},
        Outcome::BadAmount);
    row("blank value bound", {{&E::valueFrom, " "}, {&E::valueTo, "5"}}, Outcome::BadAmount);
    row("bad grouping", {{&E::valueFrom, "$1,23"}, {&E::valueTo, "5"}}, Outcome::BadAmount);
    // clang-format on
}

void TestQueryBuilder::refused()
{
    QFETCH(SearchEntries, entries);
    QFETCH(Outcome, outcome);
    const SearchStatement built = BuildSearchStatement(entries, QLocale("en_US"));
    QCOMPARE(built.outcome, outcome);
    QVERIFY(built.sql.isEmpty());
}

void TestQueryBuilder::textHelpers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("converted");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("empty") << "" << "" << "''";
    QTest::newRow("stars everywhere") << "*a**b*" << "%a%%b%" << "'*a**b*'";
    QTest::newRow("others unchanged") << "%_?[" << "%_?[" << "'%_?['";
    QTest::newRow("apostrophes doubled") << "'a''" << "'a''" << "'''a'''''";
}

void TestQueryBuilder::textHelpers()
{
    QFETCH(QString, text);
    QFETCH(QString, converted);
    QFETCH(QString, quoted);
    QCOMPARE(ConvertWildcards(text), converted);
    QCOMPARE(QuoteSqlText(text), quoted);
    QCOMPARE(DropFirstChar(text), text.mid(1));
}

QTEST_APPLESS_MAIN(TestQueryBuilder)
#include "test_query_builder.moc"

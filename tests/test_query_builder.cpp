// The search statement built from the search window's entries.
#include "QueryBuilder.h"
#include "TestData.h"

namespace
{

// Entries from "field=text|...": "allStars" chooses ALL of the stars.
SearchEntries entries(const QString &text)
{
    using E = SearchEntries;
    static const std::map<QString, QString E::*> fields{{"title", &E::title},
                                                        {"category", &E::category},
                                                        {"rating", &E::rating},
                                                        {"format", &E::format},
                                                        {"copyrightFrom", &E::copyrightFrom},
                                                        {"copyrightTo", &E::copyrightTo},
                                                        {"valueFrom", &E::valueFrom},
                                                        {"valueTo", &E::valueTo},
                                                        {"condition", &E::condition},
                                                        {"starOne", &E::starOne},
                                                        {"starTwo", &E::starTwo},
                                                        {"starThree", &E::starThree},
                                                        {"starFour", &E::starFour},
                                                        {"producer", &E::producer},
                                                        {"director", &E::director}};
    SearchEntries e;
    for (const QString &entry : text.split(u'|', Qt::SkipEmptyParts)) {
        if (entry == QLatin1String("allStars"))
            e.allStars = true;
        else
            e.*fields.at(entry.section(u'=', 0, 0)) = entry.section(u'=', 1);
    }
    return e;
}

} // namespace

class TestQueryBuilder : public QObject
{
    Q_OBJECT
  private slots:
    void statement_data()
    {
        addRows("search/statements.tsv", {"locale", "entries", "outcome", "where"});
    }
    void statement()
    {
        QFETCH(QString, locale);
        QFETCH(QString, entries);
        QFETCH(QString, outcome);
        QFETCH(QString, where);
        const SearchStatement built = BuildSearchStatement(::entries(entries), QLocale(locale));
        const char *outcomes[] = {"", "NoCriteria", "BadAmount"};
        QCOMPARE(QString(outcomes[int(built.outcome)]), outcome);
        if (!where.isEmpty() && !where.startsWith(QLatin1String("SELECT")))
            where.prepend(QLatin1String("SELECT * FROM [Movies] WHERE "));
        QCOMPARE(built.sql, where);
    }
};

QTEST_APPLESS_MAIN(TestQueryBuilder)
#include "test_query_builder.moc"

// Hostile text in every text field of the catalog window: stored and read back exactly, found
// by a search for it, and never able to change what a statement does.
#include "QueryBuilder.h"
#include "Settings.h"
#include "TestSupport.h"
#include "frmComments.h"

#include <QComboBox>
#include <QPushButton>

namespace
{

const QStringList kTextColumns{"Title",        "Category", "Rating",   "Condition",
                               "TapePosition", "StarOne",  "StarTwo",  "StarThree",
                               "StarFour",     "Producer", "Director", "Comments"};

// The control bound to a column: txtTitle, cboCategory and so on.
QString controlFor(const QString &column)
{
    return (column == "Category" || column == "Rating" ? "cbo" : "txt") + column;
}

} // namespace

class TestHostileInput : public QObject
{
    Q_OBJECT
  private slots:
    void hostileText_data()
    {
        addRows("hostile_text.tsv", {"text"});
        QTest::newRow("one megabyte")
            << QString(1024 * 1024, QLatin1Char('M')) + QStringLiteral("'end");
    }
    // Typed or pasted into every text field of a new movie: stored and shown again exactly,
    // with no length limit of its own (pick lists hold entries of at most a settings line).
    void hostileTextIsKeptExactly_data() { hostileText_data(); }
    void hostileTextIsKeptExactly()
    {
        QFETCH(QString, text);
        MainWindowFixture f(titled({"Alien", "Brazil"}));
        QStringList columns = kTextColumns;
        if (text.size() > MaxIniValueLength)
            columns.removeIf([](const QString &c) { return c == "Category" || c == "Rating"; });
        f.click(0);
        for (const QString &column : columns)
            f.enter(controlFor(column), text);
        f.click(2);
        QVERIFY2(f.boxes.shown.isEmpty(), qPrintable(f.boxes.shown.join('\n').left(300)));
        QCOMPARE(scalar(f.catalog(), "SELECT COUNT(*) FROM Movies"), QVariant(qint64(3)));
        f.select(QStringLiteral("Alien"));
        QVERIFY(f.select(text) >= 0);
        for (const QString &column : columns) {
            QVERIFY2(scalar(f.catalog(), "SELECT " + column + " FROM Movies WHERE ID = 3") == text,
                     qPrintable(column));
            QVERIFY2(f.text(controlFor(column)) == text, qPrintable(column));
        }
    }

    // The comments editor hands back exactly the text it was given when OK is pressed untouched
    // (a single line of a megabyte would take its layout about a minute).
    void commentsEditorKeepsHostileText_data() { addRows("hostile_text.tsv", {"text"}); }
    void commentsEditorKeepsHostileText()
    {
        QFETCH(QString, text);
        std::optional<QString> accepted;
        frmComments editor(text, [&accepted](const QString &t) { accepted = t; });
        editor.show();
        editor.cmdOK()->click();
        QCOMPARE(accepted.value_or("<not accepted>"), text);
    }

    // A search for the text in the title and director finds just the movie that holds it, and
    // the text quoted reads back through SQLite itself as the one literal it is.
    void hostileSearchIsLiteral_data() { hostileText_data(); }
    void hostileSearchIsLiteral()
    {
        QFETCH(QString, text);
        MainWindowFixture f({{{"Title", text}, {"Director", text}},
                             {{"Title", "Alien"}, {"Director", "Scott"}},
                             {{"Title", "Brazil"}, {"Director", "Gilliam"}}});
        SearchEntries entries;
        entries.title = entries.director = text;
        const SearchStatement search = BuildSearchStatement(entries);
        QString error;
        QVERIFY2(f.w().ApplySearch(search.sql, &error), qPrintable(error));
        QCOMPARE(f.entries(), QStringList{text});
        QCOMPARE(scalar(f.catalog(), "SELECT " + QuoteSqlText(text)), QVariant(text));
        QCOMPARE(scalar(f.catalog(), "SELECT COUNT(*) FROM Movies"), QVariant(qint64(3)));
    }
};

QTEST_MAIN(TestHostileInput)
#include "test_hostile_input.moc"

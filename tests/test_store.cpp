// The catalog store: the recordset's cursor, writing rows, edit modes and matching text.
#include "StoreError.h"
#include "TestData.h"

namespace
{

// A bound data control over a new catalog of `movies` in a temporary folder.
struct Fixture : QTemporaryDir, BoundCatalog {
    explicit Fixture(const QList<QVariantMap> &movies)
        : BoundCatalog((createCatalog(filePath("movies.mdb"), movies), filePath("movies.mdb")))
    {
    }
    QVariant sql(const QString &query) { return scalar(filePath("movies.mdb"), query); }
};

} // namespace

class TestStore : public QObject
{
    Q_OBJECT
  private slots:
    // No row: no current row, nothing to delete, nothing shown.
    void emptyTableHasNoCurrentRow()
    {
        Fixture f({});
        QVERIFY(f.rs().BOF() && f.rs().EOF_() && f.rs().EditMode() == 0);
        QVERIFY_THROWS_EXCEPTION(StoreError, f.rs().MoveFirst());
        f.rs().Delete();
        QCOMPARE(f.field("Title").text(), QString());
    }

    // A title is found whole, as a value: never its beginning, never as SQL.
    void findsTitlesAsValues()
    {
        Fixture f(titled({"Night", "Ocean's Eleven", "Nightfall", "O' Brother", ""}));
        const std::pair<QString, int> finds[]{
            {"Ocean's Eleven", 1}, {"Nightfall", 2}, {"Nigh", -1}, {"", 4}, {"' OR '1'='1", -1}};
        for (const auto &[title, position] : finds) {
            QCOMPARE(f.select(title), position >= 0);
            QCOMPARE(position >= 0 ? f.rs().position() : -1, position);
        }
    }

    // The same amount in another form and empty for NULL are no change; letter case is one.
    void editModeFollowsTheFields()
    {
        Fixture f({{{"Title", "Brazil"}, {"Value", 12.5}, {"Copyright", 1985}}});
        const std::tuple<const char *, QString, int> edits[]{
            {"Value", "$12.50", 0},   {"Value", "12.5", 0},     {"Comments", "", 0},
            {"Copyright", "1986", 1}, {"Copyright", "1985", 0}, {"Title", "brazil", 1}};
        for (const auto &[column, text, mode] : edits) {
            f.field(column).type(text);
            QCOMPARE(f.rs().EditMode(), mode);
        }
        f.rs().AddNew();
        QCOMPARE(f.rs().EditMode(), 2);
    }

    void addsAndUpdatesRows()
    {
        Fixture f(titled({"First"}));
        const QString title = QStringLiteral("Ocean's \"Eleven\"\n'; DROP TABLE Movies; --");
        f.rs().AddNew();
        f.field("Title").type(title);
        f.field("Value").type(QStringLiteral("$1,234.56"));
        f.field("Comments").type(QStringLiteral("Line one\nLine two"));
        f.rs().Update();
        QCOMPARE(f.rs().EditMode(), 0);
        const QString id = " FROM Movies WHERE ID = " + QString::number(f.rs().rows().back().rowId);
        QCOMPARE(f.sql("SELECT Title" + id).toString(), title);
        QCOMPARE(f.sql("SELECT Value" + id).toDouble(), 1234.56);
        QCOMPARE(f.sql("SELECT Comments" + id), QVariant(QStringLiteral("Line one\nLine two")));
        QVERIFY(f.sql("SELECT Hours" + id).isNull());
        // Only the changed column of an existing row is written.
        f.rs().MoveFirst();
        f.field("Director").type(QStringLiteral("Gilliam"));
        f.rs().Update();
        QCOMPARE(f.sql("SELECT Director || '|' || ifnull(Category, 'NULL') FROM Movies WHERE "
                       "Title = 'First'"),
                 QVariant(QStringLiteral("Gilliam|NULL")));
    }

    void refusesValuesTheColumnCannotTake_data()
    {
        addRows("store/refused.tsv", {"column", "text", "message"});
    }
    void refusesValuesTheColumnCannotTake()
    {
        QFETCH(QString, column);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QVERIFY(!column.isEmpty()); // the row a missing table gives
        Fixture f(titled({"Kept"}));
        f.rs().AddNew();
        f.field("Title").type(QStringLiteral("New"));
        f.field(column).type(text);
        try {
            f.rs().Update();
            QFAIL("the value was taken");
        } catch (const StoreError &error) {
            QCOMPARE(error.kind(), StoreError::Kind::Input);
            QVERIFY2(error.message().startsWith(message), qPrintable(error.message()));
        }
        QCOMPARE(f.rs().EditMode(), 2); // the new row is still pending
        QCOMPARE(f.sql("SELECT COUNT(*) FROM Movies").toInt(), 1);
    }

    void cancelAndDelete()
    {
        Fixture f(titled({"A", "B", "C"}));
        f.field("Title").type(QStringLiteral("changed"));
        f.rs().CancelUpdate();
        QCOMPARE(f.field("Title").text() + QString::number(f.rs().EditMode()),
                 QStringLiteral("A0"));
        f.rs().MoveNext();
        f.rs().Delete();
        f.rs().Requery();
        QCOMPARE(f.titles() << f.sql("SELECT group_concat(Title) FROM Movies").toString(),
                 (QStringList{"A", "C", "A,C"}));
        QCOMPARE(f.rs().position(), 0);
    }

    void matchesTextWithoutCaseForEveryLetter_data()
    {
        addRows("store/matching.tsv", {"where", "expected"});
    }
    void matchesTextWithoutCaseForEveryLetter()
    {
        QFETCH(QString, where);
        QFETCH(QString, expected);
        QVERIFY(!where.isEmpty()); // the row a missing table gives
        Fixture f(titled({"amélie", "Сталкер", "Straße", "What?"}));
        f.data.setRecordSource(QStringLiteral("SELECT * FROM [Movies] WHERE ") + where);
        f.data.Refresh();
        QCOMPARE(f.titles().join(u','), expected);
    }

    // The duplicate check looks at the whole table, whatever a search shows, and skips only
    // the movie being saved.
    void titleTakenCoversTheWholeTable()
    {
        Fixture f(titled({"Straße", "Other"}));
        f.data.setRecordSource(QStringLiteral("SELECT * FROM [Movies] WHERE [Title] = 'Other'"));
        f.data.Refresh();
        QVERIFY(f.data.titleTaken(QStringLiteral("STRASSE"), std::nullopt));
        QVERIFY(!f.data.titleTaken(QStringLiteral("Strasse "), std::nullopt));
        const qint64 self = f.rs().rows().front().rowId;
        QVERIFY(!f.data.titleTaken(QStringLiteral("other"), self));
        QVERIFY(f.data.titleTaken(QStringLiteral("other"), std::nullopt));
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "test_store.moc"

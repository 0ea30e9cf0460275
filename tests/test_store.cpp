// The catalog store: opening files, the recordset's cursor, writing rows and matching text.
#include "FakeField.h"
#include "DataControl.h"
#include "MovieColumns.h"
#include "StoreError.h"
#include "TestCatalog.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A data control with a field bound to every column, over a catalog in a temporary folder.
struct Fixture {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("movies.mdb"));
    DataControl data;
    FakeFields fields;

    explicit Fixture(const QList<QVariantMap> &movies)
    {
        TestCatalog::create(path, movies);
        fields = bindEveryColumn(data);
        data.Open(path);
        data.setRecordSource(QStringLiteral("SELECT * FROM [Movies]"));
        data.Refresh();
    }
    FakeField &field(const char *name) { return *fields.at(QLatin1String(name)); }
    QVariant sql(const QString &query) const { return TestCatalog::scalar(path, query); }
    QStringList titles()
    {
        QStringList result;
        for (const auto &row : data.recordset().rows())
            result << row.title;
        return result;
    }
};

} // namespace

class TestStore : public QObject
{
    Q_OBJECT
private slots:
    void refusesFilesThatAreNotCatalogs_data()
    {
        // The file's bytes; no file when null, a folder or an SQLite table when named so.
        QTest::addColumn<QByteArray>("setup");
        QTest::addColumn<QString>("expected");
        QByteArray junk;
        for (int i = 0; i < 4096; ++i)
            junk.append(char((i * 7919) % 251));
        QTest::newRow("missing") << QByteArray() << "was not found";
        QTest::newRow("folder") << QByteArray("folder") << "is a folder";
        QTest::newRow("zero bytes") << QByteArray("") << "is empty";
        QTest::newRow("random bytes") << junk << "format is unknown";
        QTest::newRow("access file")
            << QByteArray(4, '\0') + "Standard Jet DB" + QByteArray(200, 0) << "Microsoft Access";
        QTest::newRow("no Movies table") << QByteArray("CREATE TABLE Films (Title TEXT)")
                                         << "holds no Movies table";
        const QByteArray table("CREATE TABLE Movies (Title TEXT, Category TEXT, Rating TEXT, "
                               "Format TEXT, Value NUMERIC, Copyright INTEGER, Hours INTEGER, "
                               "Minutes INTEGER, Condition TEXT, TapePosition TEXT, StarOne TEXT, "
                               "StarTwo TEXT, StarThree TEXT, StarFour TEXT, Producer TEXT, "
                               "Director TEXT, Comments TEXT)");
        QTest::newRow("column missing")
            << QByteArray(table).replace("Director TEXT, ", "") << "without the column Director";
        QTest::newRow("column of another kind")
            << QByteArray(table).replace("Value NUMERIC", "Value TEXT")
            << "column Value is of the wrong kind";
    }

    void refusesFilesThatAreNotCatalogs()
    {
        QFETCH(QByteArray, setup);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("movies.mdb"));
        const bool access = setup.contains("Standard Jet DB");
        if (setup == "folder") {
            QDir().mkdir(path);
        } else if (setup.startsWith("CREATE")) {
            sqlite3 *db = nullptr;
            sqlite3_open(QFile::encodeName(path).constData(), &db);
            TestCatalog::exec(db, QString::fromLatin1(setup));
            sqlite3_close(db);
        } else if (!setup.isNull()) {
            TestCatalog::writeFile(path, setup);
        }
        const QByteArray before = TestCatalog::fileHash(path);
        DataControl data;
        try {
            data.Open(path);
            QFAIL("the file was opened as a catalog");
        } catch (const StoreError &error) {
            QVERIFY2(error.message().contains(expected), qPrintable(error.message()));
            QVERIFY(error.message().contains(QStringLiteral("movies.mdb")));
            QVERIFY(error.message().contains(QDir::toNativeSeparators(dir.path())));
            QCOMPARE(error.kind() == StoreError::Kind::AccessFormat, access);
        }
        QCOMPARE(TestCatalog::fileHash(path), before);
        QCOMPARE(QFileInfo::exists(path), !setup.isNull());
    }

    void emptyTableHasNoCurrentRow()
    {
        Fixture f({});
        Recordset &rs = f.data.recordset();
        QVERIFY(rs.BOF());
        QVERIFY(rs.EOF_());
        QCOMPARE(rs.EditMode(), 0);
        QVERIFY_THROWS_EXCEPTION(StoreError, rs.MoveFirst());
        rs.Delete(); // nothing to delete: nothing happens
        QCOMPARE(f.field("Title").text(), QString());
    }

    void walksRowsAndShowsTheCurrentOne()
    {
        Fixture f({{{"Title", "Zulu"}, {"Value", 1234.5}, {"Copyright", 1964}, {"Hours", 2}},
                   {{"Title", "alpha"}, {"Value", 0.0}},
                   {{"Title", QVariant()}, {"Value", 1000000.0}}});
        Recordset &rs = f.data.recordset();
        QCOMPARE(f.titles(), (QStringList{"Zulu", "alpha", ""}));
        QStringList shown;
        for (const char *column : {"Title", "Value", "Copyright", "Hours", "Minutes"})
            shown << f.field(column).text();
        QCOMPARE(shown, (QStringList{"Zulu", "$1,234.50", "1964", "2", ""}));
        rs.MoveNext();
        QCOMPARE(f.field("Value").text(), QStringLiteral("$0.00"));
        rs.MoveNext();
        QCOMPARE(rs.Fields(QStringLiteral("Title")), QString(""));
        QCOMPARE(f.field("Value").text(), QStringLiteral("$1,000,000.00"));
        rs.MoveNext();
        QVERIFY(rs.EOF_());
        QVERIFY(!rs.BOF());
        rs.MoveFirst();
        QCOMPARE(rs.Fields(QStringLiteral("title")), QStringLiteral("Zulu"));
    }

    void findsTitlesAsValues()
    {
        Fixture f(TestCatalog::titled({"Night", "Ocean's Eleven", "Nightfall", "O' Brother", ""}));
        Recordset &rs = f.data.recordset();
        // -1: not found (the beginning of a title is not the title).
        const QList<std::pair<QString, int>> finds{
            {"Ocean's Eleven", 1}, {"Nightfall", 2}, {"Nigh", -1}, {"", 4}, {"' OR '1'='1", -1}};
        for (const auto &[title, position] : finds) {
            rs.MoveFirst();
            rs.Find(title);
            QCOMPARE(rs.EOF_(), position < 0);
            if (position >= 0)
                QCOMPARE(f.field("Title").text(), title);
            if (position >= 0)
                QCOMPARE(rs.position(), position);
        }
    }

    void editModeFollowsTheFields()
    {
        Fixture f({{{"Title", "Brazil"}, {"Value", 12.5}, {"Copyright", 1985}, {"Comments", QVariant()}}});
        Recordset &rs = f.data.recordset();
        QCOMPARE(rs.EditMode(), 0);
        // The same amount in another form and empty for NULL are no change; letter case is.
        const QList<std::tuple<const char *, QString, int>> edits{
            {"Value", "$12.50", 0}, {"Value", "12.5", 0},      {"Comments", "", 0},
            {"Copyright", "1986", 1}, {"Copyright", "1985", 0}, {"Title", "brazil", 1}};
        for (const auto &[column, text, mode] : edits) {
            f.field(column).type(text);
            QCOMPARE(rs.EditMode(), mode);
        }
        rs.AddNew();
        QCOMPARE(rs.EditMode(), 2);
    }

    void addsAndUpdatesRows()
    {
        Fixture f(TestCatalog::titled({"First"}));
        Recordset &rs = f.data.recordset();
        rs.AddNew();
        f.field("Title").type(QStringLiteral("Ocean's \"Eleven\"\n'; DROP TABLE Movies; --"));
        f.field("Value").type(QStringLiteral("$1,234.56"));
        f.field("Copyright").type(QStringLiteral("1975"));
        f.field("Comments").type(QStringLiteral("Line one\nLine two"));
        rs.Update();
        QCOMPARE(rs.EditMode(), 0);
        QCOMPARE(f.titles().size(), 2);
        const QString id = " FROM Movies WHERE ID = " + QString::number(rs.rows().back().rowId);
        QCOMPARE(f.sql("SELECT Title" + id).toString(),
                 QStringLiteral("Ocean's \"Eleven\"\n'; DROP TABLE Movies; --"));
        QCOMPARE(f.sql("SELECT Value" + id).toDouble(), 1234.56);
        QCOMPARE(f.sql("SELECT Comments" + id), QVariant(QStringLiteral("Line one\nLine two")));
        QVERIFY(f.sql("SELECT Hours" + id).isNull());

        // Only the changed column of an existing row is written.
        rs.MoveFirst();
        f.field("Director").type(QStringLiteral("Gilliam"));
        rs.Update();
        QCOMPARE(f.sql("SELECT Director FROM Movies WHERE Title = 'First'"),
                 QVariant(QStringLiteral("Gilliam")));
        QVERIFY(f.sql("SELECT Category FROM Movies WHERE Title = 'First'").isNull());
    }

    void refusesValuesTheColumnCannotTake_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("pasted words in the value")
            << "Value" << "twelve dollars" << "The value must be an amount, such as $12.50.";
        QTest::newRow("year with letters") << "Copyright" << "19x5" << "The copyright must be a whole";
    }

    void refusesValuesTheColumnCannotTake()
    {
        QFETCH(QString, column);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Fixture f(TestCatalog::titled({"Kept"}));
        Recordset &rs = f.data.recordset();
        rs.AddNew();
        f.field("Title").type(QStringLiteral("New"));
        f.fields.at(column)->type(text);
        try {
            rs.Update();
            QFAIL("the value was taken");
        } catch (const StoreError &error) {
            QCOMPARE(error.kind(), StoreError::Kind::Input);
            QVERIFY2(error.message().startsWith(message), qPrintable(error.message()));
        }
        QCOMPARE(rs.EditMode(), 2); // the new row is still pending
        QCOMPARE(f.sql("SELECT COUNT(*) FROM Movies").toInt(), 1);
    }

    void cancelAndDelete()
    {
        Fixture f(TestCatalog::titled({"A", "B", "C"}));
        Recordset &rs = f.data.recordset();
        f.field("Title").type(QStringLiteral("changed"));
        rs.CancelUpdate();
        QCOMPARE(f.field("Title").text(), QStringLiteral("A"));
        QCOMPARE(rs.EditMode(), 0);
        rs.CancelUpdate(); // nothing pending: the row stays as it is
        QCOMPARE(f.field("Title").text(), QStringLiteral("A"));
        rs.MoveNext();
        rs.Delete();
        QCOMPARE(f.titles(), (QStringList{"A", "C"}));
        QCOMPARE(f.sql("SELECT COUNT(*) FROM Movies WHERE Title = 'B'").toInt(), 0);
        rs.Requery();
        QCOMPARE(f.titles(), (QStringList{"A", "C"}));
        QCOMPARE(rs.position(), 0);
    }

    void matchesTextWithoutCaseForEveryLetter_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("equal, accented") << "[Title] = 'AMÉLIE'" << QStringList{"amélie"};
        QTest::newRow("like one char") << "[Title] LIKE '_ТАЛКЕР'" << QStringList{"Сталкер"};
        QTest::newRow("like folds sharp s") << "[Title] LIKE 'stras%'" << QStringList{"Straße"};
        QTest::newRow("sharp s folds to SS") << "[Title] = 'STRASSE'" << QStringList{"Straße"};
        QTest::newRow("like keeps ? literal") << "[Title] LIKE 'what?'" << QStringList{"What?"};
        QTest::newRow("like does not match partial") << "[Title] LIKE 'amé'" << QStringList{};
        QTest::newRow("like any run") << "[Title] LIKE '%E%'"
                                      << QStringList{"amélie", "Straße"};
    }

    void matchesTextWithoutCaseForEveryLetter()
    {
        QFETCH(QString, where);
        QFETCH(QStringList, expected);
        Fixture f(TestCatalog::titled({"amélie", "Сталкер", "Straße", "What?"}));
        f.data.setRecordSource(QStringLiteral("SELECT * FROM [Movies] WHERE ") + where);
        f.data.Refresh();
        QCOMPARE(f.titles(), expected);
    }

    void titleTakenCoversTheWholeTable()
    {
        Fixture f(TestCatalog::titled({"Straße", "Other"}));
        f.data.setRecordSource(QStringLiteral("SELECT * FROM [Movies] WHERE [Title] = 'Other'"));
        f.data.Refresh();
        QVERIFY(f.data.titleTaken(QStringLiteral("STRASSE"), std::nullopt));
        QVERIFY(!f.data.titleTaken(QStringLiteral("Strasse "), std::nullopt));
        const qint64 self = f.data.recordset().rows().front().rowId;
        QVERIFY(!f.data.titleTaken(QStringLiteral("other"), self));
        QVERIFY(f.data.titleTaken(QStringLiteral("other"), std::nullopt));
    }

    void generationChangesOnlyWithTheRows()
    {
        Fixture f(TestCatalog::titled({"A", "B"}));
        Recordset &rs = f.data.recordset();
        const quint64 first = rs.generation();
        f.data.Refresh();
        QCOMPARE(rs.generation(), first);
        rs.MoveNext();
        f.field("Title").type(QStringLiteral("B2"));
        rs.Update();
        QVERIFY(rs.generation() != first);
        const quint64 second = rs.generation();
        rs.Requery();
        QCOMPARE(rs.rows().size(), size_t(2));
        QCOMPARE(rs.generation(), second);
        // A rejected statement keeps the previous rows.
        f.data.setRecordSource(QStringLiteral("SELECT * FROM [Movies] WHERE [Nope] = 1"));
        QVERIFY_THROWS_EXCEPTION(StoreError, f.data.Refresh());
        QCOMPARE(f.titles(), (QStringList{"A", "B2"}));
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "test_store.moc"

// The catalog store: opening files, the recordset's cursor, writing rows and matching text.
#include "FakeField.h"
#include "DataControl.h"
#include "MovieColumns.h"
#include "StoreError.h"
#include "TestCatalog.h"
#include "TextFold.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <map>

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
    void refusesFilesThatAreNotCatalogs_data();
    void refusesFilesThatAreNotCatalogs();
    void emptyTableHasNoCurrentRow();
    void walksRowsAndShowsTheCurrentOne();
    void findsTitlesAsValues();
    void editModeFollowsTheFields();
    void addsAndUpdatesRows();
    void refusesValuesTheColumnCannotTake_data();
    void refusesValuesTheColumnCannotTake();
    void cancelAndDelete();
    void matchesTextWithoutCaseForEveryLetter_data();
    void matchesTextWithoutCaseForEveryLetter();
    void titleTakenCoversTheWholeTable();
    void generationChangesOnlyWithTheRows();
    void rejectedStatementKeepsPreviousRows();
};

void TestStore::refusesFilesThatAreNotCatalogs_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("expected");
    QTest::newRow("missing") << QByteArray("missing") << "was not found";
    QTest::newRow("folder") << QByteArray("folder") << "is a folder";
    QTest::newRow("zero bytes") << QByteArray("empty") << "is empty";
    QTest::newRow("random bytes") << QByteArray("random") << "format is unknown";
    QTest::newRow("access file") << QByteArray("access") << "Microsoft Access";
    QTest::newRow("no Movies table") << QByteArray("CREATE TABLE Films (Title TEXT)")
                                     << "holds no Movies table";
    QTest::newRow("column missing")
        << QByteArray("CREATE TABLE Movies (Title TEXT, Category TEXT, Rating TEXT, Format TEXT, "
                      "Value NUMERIC, Copyright INTEGER, Hours INTEGER, Minutes INTEGER, "
                      "Condition TEXT, TapePosition TEXT, StarOne TEXT, StarTwo TEXT, "
                      "StarThree TEXT, StarFour TEXT, Producer TEXT, Comments TEXT)")
        << "without the column Director";
    QTest::newRow("column of another kind")
        << QByteArray("CREATE TABLE Movies (Title TEXT, Category TEXT, Rating TEXT, Format TEXT, "
                      "Value TEXT, Copyright INTEGER, Hours INTEGER, Minutes INTEGER, "
                      "Condition TEXT, TapePosition TEXT, StarOne TEXT, StarTwo TEXT, "
                      "StarThree TEXT, StarFour TEXT, Producer TEXT, Director TEXT, "
                      "Comments TEXT)")
        << "column Value is of the wrong kind";
}

void TestStore::refusesFilesThatAreNotCatalogs()
{
    QFETCH(QByteArray, setup);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("movies.mdb"));
    if (setup == "folder") {
        QDir().mkdir(path);
    } else if (setup == "empty") {
        TestCatalog::writeFile(path, {});
    } else if (setup == "random") {
        QByteArray junk;
        for (int i = 0; i < 4096; ++i)
            junk.append(char((i * 7919) % 251));
        TestCatalog::writeFile(path, junk);
    } else if (setup == "access") {
        TestCatalog::writeFile(path, QByteArray(4, '\0') + "Standard Jet DB" + QByteArray(200, 0));
    } else if (setup.startsWith("CREATE")) {
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(path).constData(), &db);
        TestCatalog::exec(db, QString::fromLatin1(setup));
        sqlite3_close(db);
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
        QCOMPARE(error.kind() == StoreError::Kind::AccessFormat, setup == "access");
    }
    QCOMPARE(TestCatalog::fileHash(path), before);
    QCOMPARE(QFileInfo::exists(path), setup != "missing");
}

void TestStore::emptyTableHasNoCurrentRow()
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

void TestStore::walksRowsAndShowsTheCurrentOne()
{
    Fixture f({{{"Title", "Zulu"}, {"Value", 1234.5}, {"Copyright", 1964}, {"Hours", 2}},
               {{"Title", "alpha"}, {"Value", 0.0}},
               {{"Title", QVariant()}, {"Value", 1000000.0}}});
    Recordset &rs = f.data.recordset();
    QCOMPARE(f.titles(), (QStringList{"Zulu", "alpha", ""}));
    QCOMPARE(f.field("Title").text(), QStringLiteral("Zulu"));
    QCOMPARE(f.field("Value").text(), QStringLiteral("$1,234.50"));
    QCOMPARE(f.field("Copyright").text(), QStringLiteral("1964"));
    QCOMPARE(f.field("Minutes").text(), QString());
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

void TestStore::findsTitlesAsValues()
{
    Fixture f(TestCatalog::titled({"Night", "Ocean's Eleven", "Nightfall", "O' Brother", ""}));
    Recordset &rs = f.data.recordset();
    rs.Find(QStringLiteral("Ocean's Eleven"));
    QCOMPARE(f.field("Title").text(), QStringLiteral("Ocean's Eleven"));
    rs.MoveFirst();
    rs.Find(QStringLiteral("Nightfall"));
    QCOMPARE(rs.position(), 2);
    rs.MoveFirst();
    rs.Find(QStringLiteral("Nigh")); // the beginning of a title is not the title
    QVERIFY(rs.EOF_());
    rs.MoveFirst();
    rs.Find(QString());
    QCOMPARE(rs.position(), 4);
    rs.MoveFirst();
    rs.Find(QStringLiteral("' OR '1'='1"));
    QVERIFY(rs.EOF_());
}

void TestStore::editModeFollowsTheFields()
{
    Fixture f({{{"Title", "Brazil"}, {"Value", 12.5}, {"Copyright", 1985}, {"Comments", QVariant()}}});
    Recordset &rs = f.data.recordset();
    QCOMPARE(rs.EditMode(), 0);
    f.field("Value").type(QStringLiteral("$12.50"));
    QCOMPARE(rs.EditMode(), 0);
    f.field("Value").type(QStringLiteral("12.5"));
    QCOMPARE(rs.EditMode(), 0); // the same amount in another form
    f.field("Comments").type(QString(""));
    QCOMPARE(rs.EditMode(), 0); // empty and NULL are the same for a text box
    f.field("Copyright").type(QStringLiteral("1986"));
    QCOMPARE(rs.EditMode(), 1);
    f.field("Copyright").type(QStringLiteral("1985"));
    f.field("Title").type(QStringLiteral("brazil"));
    QCOMPARE(rs.EditMode(), 1); // letter case is a change of the text
    rs.AddNew();
    QCOMPARE(rs.EditMode(), 2);
}

void TestStore::addsAndUpdatesRows()
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
    const QString id = QString::number(rs.rows().back().rowId);
    QCOMPARE(TestCatalog::scalar(f.path, "SELECT Title FROM Movies WHERE ID = " + id).toString(),
             QStringLiteral("Ocean's \"Eleven\"\n'; DROP TABLE Movies; --"));
    QCOMPARE(TestCatalog::scalar(f.path, "SELECT Value FROM Movies WHERE ID = " + id).toDouble(),
             1234.56);
    QCOMPARE(TestCatalog::scalar(f.path, "SELECT Comments FROM Movies WHERE ID = " + id),
             QVariant(QStringLiteral("Line one\nLine two")));
    QVERIFY(TestCatalog::scalar(f.path, "SELECT Hours FROM Movies WHERE ID = " + id).isNull());

    // Only the changed column of an existing row is written.
    rs.MoveFirst();
    f.field("Director").type(QStringLiteral("Gilliam"));
    rs.Update();
    QCOMPARE(TestCatalog::scalar(f.path, "SELECT Director FROM Movies WHERE Title = 'First'"),
             QVariant(QStringLiteral("Gilliam")));
    QVERIFY(TestCatalog::scalar(f.path, "SELECT Category FROM Movies WHERE Title = 'First'")
                .isNull());
}

void TestStore::refusesValuesTheColumnCannotTake_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("pasted words in the value")
        << "Value" << "twelve dollars" << "The value must be an amount, such as $12.50.";
    QTest::newRow("year with letters") << "Copyright" << "19x5" << "The copyright must be a whole";
}

void TestStore::refusesValuesTheColumnCannotTake()
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
    QCOMPARE(TestCatalog::scalar(f.path, "SELECT COUNT(*) FROM Movies").toInt(), 1);
}

void TestStore::cancelAndDelete()
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
    QCOMPARE(TestCatalog::scalar(f.path, "SELECT COUNT(*) FROM Movies WHERE Title = 'B'").toInt(), 0);
    rs.Requery();
    QCOMPARE(f.titles(), (QStringList{"A", "C"}));
    QCOMPARE(rs.position(), 0);
}

void TestStore::matchesTextWithoutCaseForEveryLetter_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("equal, accented") << "[Title] = 'AMÉLIE'" << QStringList{"amélie"};
    QTest::newRow("equal, cyrillic") << "[Title] = 'сталкер'" << QStringList{"Сталкер"};
    QTest::newRow("like prefix") << "[Title] LIKE 'amé%'" << QStringList{"amélie"};
    QTest::newRow("like one char") << "[Title] LIKE '_ТАЛКЕР'" << QStringList{"Сталкер"};
    QTest::newRow("like folds sharp s") << "[Title] LIKE 'stras%'" << QStringList{"Straße"};
    QTest::newRow("sharp s folds to SS") << "[Title] = 'STRASSE'" << QStringList{"Straße"};
    QTest::newRow("like keeps ? literal") << "[Title] LIKE 'what?'" << QStringList{"What?"};
    QTest::newRow("like does not match partial") << "[Title] LIKE 'amé'" << QStringList{};
    QTest::newRow("like any run") << "[Title] LIKE '%E%'"
                                  << QStringList{"amélie", "Straße"};
}

void TestStore::matchesTextWithoutCaseForEveryLetter()
{
    QFETCH(QString, where);
    QFETCH(QStringList, expected);
    Fixture f(TestCatalog::titled({"amélie", "Сталкер", "Straße", "What?"}));
    f.data.setRecordSource(QStringLiteral("SELECT * FROM [Movies] WHERE ") + where);
    f.data.Refresh();
    QCOMPARE(f.titles(), expected);
}

void TestStore::titleTakenCoversTheWholeTable()
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

void TestStore::generationChangesOnlyWithTheRows()
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
}

void TestStore::rejectedStatementKeepsPreviousRows()
{
    Fixture f(TestCatalog::titled({"A", "B"}));
    f.data.setRecordSource(QStringLiteral("SELECT * FROM [Movies] WHERE [Nope] = 1"));
    QVERIFY_THROWS_EXCEPTION(StoreError, f.data.Refresh());
    QCOMPARE(f.titles(), (QStringList{"A", "B"}));
}

QTEST_GUILESS_MAIN(TestStore)
#include "test_store.moc"

// Two programs on one catalog: a write that meets another program's lock waits briefly, then
// says so and keeps what was pending; once the lock is gone nothing has been lost.
#include "FakeField.h"
#include "DataControl.h"
#include "MovieColumns.h"
#include "StoreError.h"
#include "TestCatalog.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <memory>

namespace {

// One copy of the program: a data control with a field bound to every column.
struct Program {
    DataControl data;
    FakeFields fields;

    explicit Program(const QString &path)
    {
        fields = bindEveryColumn(data);
        data.Open(path);
        data.setRecordSource(QStringLiteral("SELECT * FROM [Movies]"));
        data.Refresh();
    }
    FakeField &field(const char *name) { return *fields.at(QLatin1String(name)); }
    void select(const QString &title)
    {
        data.recordset().MoveFirst();
        data.recordset().Find(title);
    }
};

// Another program's connection holding the catalog's write lock until released.
struct Lock {
    sqlite3 *db = nullptr;
    explicit Lock(const QString &path, const char *begin = "BEGIN IMMEDIATE")
    {
        sqlite3_open(QFile::encodeName(path).constData(), &db);
        TestCatalog::exec(db, QString::fromLatin1(begin));
        // A write of its own, so that the lock guards real pending changes.
        TestCatalog::exec(db, QStringLiteral("INSERT INTO Movies (Title) VALUES ('Theirs')"));
    }
    void release() { TestCatalog::exec(db, QStringLiteral("COMMIT")); }
    ~Lock() { sqlite3_close(db); }
};

qint64 count(const QString &path, const QString &where = QStringLiteral("1"))
{
    return TestCatalog::scalar(path, QStringLiteral("SELECT COUNT(*) FROM Movies WHERE ") + where)
        .toLongLong();
}

} // namespace

class TestTwoProgramsReliability : public QObject
{
    Q_OBJECT
private slots:
    void lockedWriteWaitsThenKeepsThePendingRow_data();
    void lockedWriteWaitsThenKeepsThePendingRow();
    void bothProgramsKeepWorking();
};

void TestTwoProgramsReliability::lockedWriteWaitsThenKeepsThePendingRow_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("pendingMode");
    QTest::newRow("add") << "add" << 2;
    QTest::newRow("edit") << "edit" << 1;
    QTest::newRow("delete") << "delete" << 0;
}

void TestTwoProgramsReliability::lockedWriteWaitsThenKeepsThePendingRow()
{
    QFETCH(QString, action);
    QFETCH(int, pendingMode);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("movies.mdb"));
    TestCatalog::create(path, TestCatalog::titled({"Alien", "Brazil", "Casablanca"}));
    Program program(path);
    Recordset &rs = program.data.recordset();
    if (action == QLatin1String("add")) {
        rs.AddNew();
        program.field("Title").type(QStringLiteral("Dune"));
        program.field("Director").type(QStringLiteral("Lynch"));
    } else {
        program.select(QStringLiteral("Brazil"));
        if (action == QLatin1String("edit"))
            program.field("Director").type(QStringLiteral("Gilliam"));
    }
    QCOMPARE(rs.EditMode(), pendingMode);

    auto lock = std::make_unique<Lock>(path);
    QElapsedTimer timer;
    timer.start();
    try {
        if (action == QLatin1String("delete"))
            rs.Delete();
        else
            rs.Update();
        QFAIL("the write went through another program's lock");
    } catch (const StoreError &error) {
        QCOMPARE(error.kind(), StoreError::Kind::Busy);
        QVERIFY2(error.message().contains(QLatin1String("in use by another program")),
                 qPrintable(error.message()));
    }
    const qint64 waited = timer.elapsed();
    QVERIFY2(waited >= 1800 && waited < 6000, qPrintable(QString::number(waited)));
    QCOMPARE(rs.EditMode(), pendingMode);
    if (action != QLatin1String("delete"))
        QCOMPARE(program.field("Director").text(),
                 action == QLatin1String("add") ? QStringLiteral("Lynch") : QStringLiteral("Gilliam"));

    lock->release();
    lock.reset();
    if (action == QLatin1String("delete"))
        rs.Delete();
    else
        rs.Update();
    QCOMPARE(rs.EditMode(), 0);
    QCOMPARE(TestCatalog::scalar(path, QStringLiteral("PRAGMA integrity_check")).toString(),
             QStringLiteral("ok"));
    QCOMPARE(count(path, QStringLiteral("Title = 'Theirs'")), 1);
    QCOMPARE(count(path, QStringLiteral("Title IN ('Alien', 'Casablanca')")), 2);
    if (action == QLatin1String("add"))
        QCOMPARE(count(path, QStringLiteral("Title = 'Dune' AND Director = 'Lynch'")), 1);
    if (action == QLatin1String("edit"))
        QCOMPARE(count(path, QStringLiteral("Title = 'Brazil' AND Director = 'Gilliam'")), 1);
    QCOMPARE(count(path, QStringLiteral("Title = 'Brazil'")), action == QLatin1String("delete") ? 0 : 1);
}

void TestTwoProgramsReliability::bothProgramsKeepWorking()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("movies.mdb"));
    TestCatalog::create(path, TestCatalog::titled({"Alien"}));
    Program first(path);
    Program second(path);
    for (int i = 0; i < 20; ++i) {
        Program &program = i % 2 ? second : first;
        program.data.recordset().AddNew();
        program.field("Title").type(QStringLiteral("Movie %1").arg(i));
        program.data.recordset().Update();
        program.data.Refresh();
    }
    first.select(QStringLiteral("Alien"));
    first.field("Director").type(QStringLiteral("Scott"));
    first.data.recordset().Update();
    second.data.Refresh();
    second.select(QStringLiteral("Movie 4"));
    second.data.recordset().Delete();
    first.data.Refresh();
    QCOMPARE(first.data.recordset().rows().size(), size_t(20));
    QCOMPARE(second.data.recordset().rows().size(), size_t(20));
    QCOMPARE(count(path), 20);
    QCOMPARE(count(path, QStringLiteral("Title = 'Alien' AND Director = 'Scott'")), 1);
}

QTEST_GUILESS_MAIN(TestTwoProgramsReliability)
#include "test_two_programs_reliability.moc"

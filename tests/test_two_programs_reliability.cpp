// Two programs on one catalog: a write that meets another program's lock waits briefly, then
// says so and keeps what was pending; once the lock is gone nothing has been lost.
#include "StoreError.h"
#include "TestSupport.h"

#include <QElapsedTimer>

class TestTwoProgramsReliability : public QObject
{
    Q_OBJECT
private slots:
    void lockedWriteWaitsThenKeepsThePendingRow_data()
    {
        QTest::addColumn<int>("pendingMode");
        QTest::addColumn<QString>("director"); // typed, and kept while the write waits
        QTest::addColumn<QString>("stored");   // the catalog once the write went through
        QTest::newRow("add") << 2 << "Lynch" << "Alien=,Brazil=,Casablanca=,Dune=Lynch,Theirs=";
        QTest::newRow("edit") << 1 << "Gilliam" << "Alien=,Brazil=Gilliam,Casablanca=,Theirs=";
        QTest::newRow("delete") << 0 << "" << "Alien=,Casablanca=,Theirs=";
    }
    void lockedWriteWaitsThenKeepsThePendingRow()
    {
        QFETCH(int, pendingMode);
        QFETCH(QString, director);
        QFETCH(QString, stored);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("movies.mdb"));
        createCatalog(path, titled({"Alien", "Brazil", "Casablanca"}));
        BoundCatalog program(path);
        program.select(QStringLiteral("Brazil"));
        if (pendingMode == 2) {
            program.rs().AddNew();
            program.field("Title").type(QStringLiteral("Dune"));
        }
        program.field("Director").type(director);
        QCOMPARE(program.rs().EditMode(), pendingMode);
        const auto write = [&] { pendingMode ? program.rs().Update() : program.rs().Delete(); };

        auto lock = std::make_unique<OtherProgram>(path, "BEGIN IMMEDIATE; INSERT INTO Movies (Title) VALUES ('Theirs')");
        QElapsedTimer timer;
        timer.start();
        try {
            write();
            QFAIL("the write went through another program's lock");
        } catch (const StoreError &error) {
            QCOMPARE(error.kind(), StoreError::Kind::Busy);
            QVERIFY2(error.message().contains(QLatin1String("in use by another program")),
                     qPrintable(error.message()));
        }
        QVERIFY2(timer.elapsed() >= 1800 && timer.elapsed() < 6000,
                 qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(program.rs().EditMode(), pendingMode);
        QCOMPARE(program.field("Director").text(), director);

        lock.reset();
        write();
        QCOMPARE(program.rs().EditMode(), 0);
        QCOMPARE(scalar(path, "PRAGMA integrity_check"), QVariant("ok"));
        QCOMPARE(scalar(path, "SELECT group_concat(Title || '=' || ifnull(Director, ''), ',') FROM "
                              "(SELECT * FROM Movies ORDER BY Title)"),
                 QVariant(stored));
    }
};

QTEST_GUILESS_MAIN(TestTwoProgramsReliability)
#include "test_two_programs_reliability.moc"

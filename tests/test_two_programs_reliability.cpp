// Two programs on one catalog: a write that meets another program's lock waits briefly, then
// says so and keeps what was pending; once the lock is gone nothing has been lost.
#include "StoreError.h"
#include "TestData.h"

#include <QElapsedTimer>

class TestTwoProgramsReliability : public QObject
{
    Q_OBJECT
  private slots:
    void lockedWriteWaitsThenKeepsThePendingRow_data()
    {
        addRows("store/locked_writes.tsv", {"mode", "director", "stored"});
    }
    void lockedWriteWaitsThenKeepsThePendingRow()
    {
        QFETCH(QString, mode);
        QFETCH(QString, director);
        QFETCH(QString, stored);
        const int pendingMode = mode.toInt();
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

        auto lock = std::make_unique<OtherProgram>(
            path, "BEGIN IMMEDIATE; INSERT INTO Movies (Title) VALUES ('Theirs')");
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

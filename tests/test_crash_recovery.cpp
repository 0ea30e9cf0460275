// Killing a writer at random moments never corrupts the catalog or loses a completed write.
#include "Database.h"
#include "StoreError.h"
#include "TestCatalog.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <map>
#include <optional>
#include <random>

namespace {

using Catalog = std::map<QString, QString>; // title -> version (Director and Comments)

Catalog applied(Catalog state, const QStringList &op)
{
    if (op[0] == QLatin1String("add")) {
        state[op[1]] = op[2];
    } else if (op[0] == QLatin1String("update")) {
        state.erase(op[1]);
        state[op[2]] = op[3];
    } else {
        state.erase(op[1]);
    }
    return state;
}

// The journal's completed writes applied to `state`; the write begun but not recorded as
// completed, if any, is returned for the caller to allow either way.
std::optional<QStringList> replay(const QByteArray &journal, Catalog &state, int *completed)
{
    std::optional<QStringList> inFlight;
    const QList<QByteArray> lines = journal.split('\n');
    // The last element follows the last line break: a line cut short by the kill, or empty.
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QString line = QString::fromUtf8(lines[i]);
        if (line.startsWith(QLatin1String("begin: "))) {
            inFlight = line.mid(7).split(QLatin1Char(' '));
            continue;
        }
        const QStringList op = line.mid(11).split(QLatin1Char(' '));
        if (!line.startsWith(QLatin1String("committed: ")) || !inFlight || op != *inFlight)
            qFatal("journal out of order: %s", qPrintable(line));
        inFlight.reset();
        ++*completed;
        state = applied(std::move(state), op);
    }
    return inFlight;
}

// Opens the catalog as the program does (recovering an interrupted write), checks it and reads
// every movie; a movie whose Director and Comments differ was half written.
Catalog readBack(const QString &path, QString *problem)
{
    auto db = Database::open(path);
    Statement check(*db, QStringLiteral("PRAGMA integrity_check"));
    if (!check.step() || check.text(0) != QLatin1String("ok"))
        *problem = QStringLiteral("integrity check: ") + check.text(0);
    Catalog movies;
    Statement rows(*db, QStringLiteral("SELECT Title, Director, Comments, Value FROM Movies"));
    while (rows.step()) {
        if (rows.text(1) != rows.text(2) || rows.real(3) != 12.5)
            *problem = QStringLiteral("half-written movie ") + rows.text(0);
        if (movies.count(rows.text(0)))
            *problem = QStringLiteral("duplicate movie ") + rows.text(0);
        movies[rows.text(0)] = rows.text(1);
    }
    return movies;
}

QString describe(const Catalog &catalog)
{
    QStringList parts;
    for (const auto &[title, version] : catalog)
        parts << title + QLatin1Char('=') + version;
    return parts.join(QLatin1Char(','));
}

} // namespace

class TestCrashRecovery : public QObject
{
    Q_OBJECT
private slots:
    void killedWriterLosesNothing_data();
    void killedWriterLosesNothing();
};

void TestCrashRecovery::killedWriterLosesNothing_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("kills");
    QTest::addColumn<int>("maxDelayMs");
    QTest::newRow("early kills, empty catalog") << 11u << 60 << 40;
    QTest::newRow("kills across many writes") << 4242u << 100 << 250;
    QTest::newRow("late kills, grown catalog") << 90210u << 50 << 600;
}

void TestCrashRecovery::killedWriterLosesNothing()
{
    QFETCH(quint32, seed);
    QFETCH(int, kills);
    QFETCH(int, maxDelayMs);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("movies.mdb"));
    TestCatalog::create(path, {});
    std::mt19937 random(seed);
    Catalog expected;
    int completed = 0;
    int survived = 0;
    int interrupted = 0; // kills that fell between the start and the end of a write
    for (int round = 0; round < kills; ++round) {
        const QString journalPath = dir.filePath(QStringLiteral("journal-%1").arg(round));
        QProcess writer;
        writer.start(QStringLiteral(CRASH_WRITER_PATH),
                     {path, journalPath, QString::number(round), QString::number(random())});
        QVERIFY2(writer.waitForStarted(), qPrintable(writer.errorString()));
        QVERIFY2(writer.waitForReadyRead(10000), writer.readAllStandardError().constData());
        QThread::msleep(random() % unsigned(maxDelayMs + 1));
        const bool ranUntilKilled = writer.state() == QProcess::Running;
        ::kill(pid_t(writer.processId()), SIGKILL);
        QVERIFY(writer.waitForFinished(5000));
        QVERIFY2(ranUntilKilled || writer.exitStatus() == QProcess::CrashExit,
                 writer.readAllStandardError().constData());

        QFile journalFile(journalPath);
        const QByteArray journal = journalFile.open(QIODevice::ReadOnly) ? journalFile.readAll()
                                                                         : QByteArray();
        const auto inFlight = replay(journal, expected, &completed);
        QString problem;
        const Catalog actual = readBack(path, &problem);
        QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("round %1: %2").arg(round).arg(problem)));
        const bool matches = actual == expected || (inFlight && actual == applied(expected, *inFlight));
        QVERIFY2(matches, qPrintable(QStringLiteral("round %1: catalog %2, expected %3, in flight %4")
                                         .arg(round)
                                         .arg(describe(actual), describe(expected),
                                              inFlight ? inFlight->join(' ') : QString())));
        expected = actual;
        ++survived;
        if (inFlight)
            ++interrupted;
    }
    qInfo("%d kills survived (%d in the middle of a write), %d writes completed, %zu movies in "
          "the catalog, 0 lost",
          survived, interrupted, completed, expected.size());
    QVERIFY(completed > 0);
    QVERIFY(interrupted > kills / 2);
}

QTEST_GUILESS_MAIN(TestCrashRecovery)
#include "test_crash_recovery.moc"
